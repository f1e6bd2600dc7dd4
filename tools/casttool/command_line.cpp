#include "command_line.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "check_command.h"
#include "exit_status.h"
#include "game_folder_choice.h"
#include "export_command.h"
#include "import_command.h"
#include "list_command.h"
#include "output.h"
#include "pack_command.h"
#include "picture_command.h"
#include "show_command.h"
#include "weapons_command.h"

namespace casttool {
namespace {

constexpr const char* kFooter =
    "Exit status: 0 success; 1 the command ran and found a problem (a refused package, a cast with\n"
    "problems, a file left untouched); 2 bad usage or a file that cannot be read. Every error goes to\n"
    "standard error as one line naming the file and the reason.";

// A usage error as one line, with the way to the help.
std::string UsageFailure(const CLI::App*, const CLI::Error& error) {
  return "casttool: " + OneLine(error.what()) + " (run with --help for more information)\n";
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Output output(out, err);
  CLI::App app{"casttool: the casts of Orvalis～Zenthar～ from the command line, read and written as the "
               "cast editor reads and writes them.",
               "casttool"};
  app.footer(kFooter);
  app.failure_message(UsageFailure);
  app.require_subcommand(1);
  app.set_version_flag("--version", "casttool " CASTTOOL_VERSION);
  std::string folder;
  app.add_option("-C", folder,
                 "Work in DIR, the game's installation folder, as the editor works in it (default: the "
                 "current folder when it is a game folder, else the folder of casttool itself or the one "
                 "above it). FILE arguments are taken inside DIR too, unless absolute; names inside it "
                 "match in any letter case.")
      ->type_name("DIR")
      ->check(CLI::Validator(CLI::ExistingDirectory).description(""));

  ExitStatus status = ExitStatus::kSuccess;
  const auto gameFolder = [&] { return ChooseGameFolder(folder); };

  std::vector<std::string> packFiles;
  CLI::App* pack = app.add_subcommand("pack", "Pack each FILE with the scrambling library's FilePack.");
  pack->add_option("FILE", packFiles, "The files to pack")->required();
  pack->footer("Prints \"FILE: packed\" or \"FILE: left untouched\" (already packed) for each file.\n"
               "Example: casttool -C ~/orv pack DAT/USER.DAT");
  pack->callback([&] { status = PackFiles(gameFolder(), packFiles, PackDirection::kPack, output); });

  std::vector<std::string> unpackFiles;
  CLI::App* unpack = app.add_subcommand("unpack", "Unpack each FILE with the scrambling library's FileUnpack.");
  unpack->add_option("FILE", unpackFiles, "The files to unpack")->required();
  unpack->footer("Prints \"FILE: unpacked\" or \"FILE: left untouched\" (not packed) for each file.\n"
                 "Example: casttool -C ~/orv unpack DAT/USER.DAT");
  unpack->callback([&] { status = PackFiles(gameFolder(), unpackFiles, PackDirection::kUnpack, output); });

  bool weaponsShop = false;
  bool weaponsJson = false;
  CLI::App* weapons = app.add_subcommand(
      "weapons", "The six weapon-slot lists exactly as the editor fills them, from \"DAT/USER.DAT\" and "
                 "\"DAT/Orv_bwpn.DAT\" unscrambled in memory: the game's files are never written.");
  weapons->add_flag("--shop", weaponsShop, "Shop mode: its weapon rules, and the shop list too");
  weapons->add_flag("--json", weaponsJson,
                    "Print {\"playerNumber\": n, \"slots\": [[{\"number\": k, \"text\": ..., \"usable\": b}, "
                    "...] x 6], \"shop\": [{\"code\": n, \"text\": ...}, ...]}");
  weapons->footer("An unusable weapon stays in its list as \"N -------\", as in the editor.\n"
                  "Example: casttool weapons --shop --json");
  weapons->callback([&] { status = ShowWeapons(gameFolder(), weaponsShop, weaponsJson, output); });

  bool listJson = false;
  CLI::App* list = app.add_subcommand(
      "list", "The casts of the folder \"cast\" in the order the editor lists them: cast name, unit name, "
              "owner number, level, wins, losses, hidden-data flag.");
  list->add_flag("--json", listJson,
                 "Print an array of {\"name\", \"Name\", \"ownerNumber\", \"level\", \"wins\", \"losses\", "
                 "\"hideData\"}");
  list->footer("Wins and losses are those the editor shows (0 and 0 when the record check does not match).\n"
               "A cast whose files cannot be read is listed with \"error\" in place of the numbers, and the\n"
               "exit status is 1.\nExample: casttool -C ~/orv list --json");
  list->callback([&] { status = PrintCastList(gameFolder(), listJson, output); });

  std::string showName;
  bool showJson = false;
  CLI::App* show = app.add_subcommand(
      "show", "One cast: every field of its data file by its name, the six profile texts, the picture's "
              "length in bytes and whether it is a picture the upload takes (64 x 64, 256 colours).");
  show->add_option("NAME", showName, "The cast name (cast/NAME.cst)")->required();
  show->add_flag("--json", showJson,
                 "Print {\"name\", \"profile\": {\"Name\", \"Comm1\", ...}, \"record\": {every field}, "
                 "\"pictureBytes\", \"pictureUploadable\", \"pictureProblem\"}");
  show->footer("Hidden data (hideData 1) is the owner's wish that the editor not show the fighting setup to\n"
               "other players, not a secret the files keep: the editor loads every field, and show prints\n"
               "them all. endMark is never read from the file and shows 0.\nExample: casttool show ABC --json");
  show->callback([&] { status = ShowCast(gameFolder(), showName, showJson, output); });

  std::string checkName;
  bool checkShop = false;
  CLI::App* check = app.add_subcommand(
      "check", "The save's checks applied to the files of cast NAME, with the game's weapon lists; each "
               "problem on its own line, exit status 1 when there is any.");
  check->add_option("NAME", checkName, "The cast name (cast/NAME.cst)")->required();
  check->add_flag("--shop", checkShop, "Shop mode: its weapon rules, and no limit on the parameter pool");
  check->footer("Checks: a unit name; a usable weapon in each slot; every slider value in its slider's range;\n"
                "paramValue matching the derived value of paramPoints; a parameter pool of at most 100\n"
                "(outside shop mode); weapon shares 0-3 and movement shares totalling at most 100; a record\n"
                "check matching wins and losses; a picture of 5174 bytes.\nExample: casttool check ABC");
  check->callback([&] { status = CheckCast(gameFolder(), checkName, checkShop, output); });

  std::vector<std::string> importFiles;
  CLI::App* import = app.add_subcommand(
      "import", "Import each cast package FILE.ec into the folder \"cast\", as the editor's start-up does, "
                "with its messages.");
  import->add_option("FILE", importFiles, "The cast packages (*.ec)")->required();
  import->footer("A package is deleted only when its cast was imported; a refused package stays.\n"
                 "Example: casttool -C ~/orv import ABC.ec");
  import->callback([&] { status = ImportPackages(gameFolder(), importFiles, output); });

  std::string exportName;
  std::string exportFile;
  CLI::App* exportCommand = app.add_subcommand(
      "export", "Write the cast package of cast NAME to OUT.ec, as the upload writes \"dat/upload.ec\".");
  exportCommand->add_option("NAME", exportName, "The cast name (cast/NAME.cst)")->required();
  exportCommand->add_option("OUT", exportFile, "The package file to write")->required();
  exportCommand->footer("A package left at the top of the game folder is imported at the editor's next start\n"
                        "(except upload.ec).\nExample: casttool export ABC ABC.ec");
  exportCommand->callback([&] { status = ExportCast(gameFolder(), exportName, exportFile, output); });

  AddPictureCommand(app, gameFolder, status, output);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error, out, err) == 0 ? 0 : static_cast<int>(ExitStatus::kFailure);
  } catch (const std::exception& error) {
    output.Error(std::string("casttool: ") + error.what());
    return static_cast<int>(ExitStatus::kFailure);
  }
  return static_cast<int>(status);
}

}  // namespace casttool
