#include "command_line.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "check_command.h"
#include "exit_status.h"
#include "export_command.h"
#include "game_folder_choice.h"
#include "import_command.h"
#include "list_command.h"
#include "messages.h"
#include "output.h"
#include "pack_command.h"
#include "picture_command.h"
#include "show_command.h"
#include "weapons_command.h"

namespace casttool {
namespace {

constexpr std::string_view kFolderFlag = "-C";

// A usage error as one line, with the way to the help.
std::string UsageFailure(const CLI::App*, const CLI::Error& error) {
  return std::string(messages::kErrorPrefix) + OneLine(error.what()) + messages::kUsageHint + "\n";
}

// The command word of the command line: the first argument that is neither
// an option of the tool nor the folder after -C. nullopt when there is none.
std::optional<std::string> CommandWord(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") return i + 1 < argc ? std::optional<std::string>(argv[i + 1]) : std::nullopt;
    if (argument == kFolderFlag) {
      ++i;
    } else if (argument.empty() || argument.front() != '-') {
      return std::string(argument);
    }
  }
  return std::nullopt;
}

bool IsCommand(const CLI::App& app, const std::string& word) {
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->check_name(word)) return true;
  }
  return false;
}

// The text --help prints for `command` (the tool itself when it is null).
std::string HelpText(const CLI::App& app, const CLI::App* command) {
  if (command == nullptr) return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
  return command->help(app.get_name());
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Output output(out, err);
  CLI::App app{messages::kToolDescription, "casttool"};
  app.footer(messages::kToolFooter);
  app.failure_message(UsageFailure);
  app.require_subcommand(1);
  app.set_version_flag("--version", "casttool " CASTTOOL_VERSION);
  std::string folder;
  app.add_option(std::string(kFolderFlag), folder, messages::kFolderOption)
      ->type_name("DIR")
      ->check(CLI::Validator(CLI::ExistingDirectory).description(""));

  ExitStatus status = ExitStatus::kSuccess;
  const auto gameFolder = [&] { return ChooseGameFolder(folder); };

  std::string helpCommand;
  CLI::App* help = app.add_subcommand("help", messages::kHelpDescription);
  help->add_option("COMMAND", helpCommand, messages::kHelpCommand);

  std::vector<std::string> packFiles;
  CLI::App* pack = app.add_subcommand("pack", messages::kPackDescription);
  pack->add_option("FILE", packFiles, messages::kPackFiles)->required();
  pack->footer(messages::kPackFooter);
  pack->callback([&] { status = PackFiles(gameFolder(), packFiles, PackDirection::kPack, output); });

  std::vector<std::string> unpackFiles;
  CLI::App* unpack = app.add_subcommand("unpack", messages::kUnpackDescription);
  unpack->add_option("FILE", unpackFiles, messages::kUnpackFiles)->required();
  unpack->footer(messages::kUnpackFooter);
  unpack->callback([&] { status = PackFiles(gameFolder(), unpackFiles, PackDirection::kUnpack, output); });

  bool weaponsShop = false;
  bool weaponsJson = false;
  CLI::App* weapons = app.add_subcommand("weapons", messages::kWeaponsDescription);
  weapons->add_flag("--shop", weaponsShop, messages::kWeaponsShop);
  weapons->add_flag("--json", weaponsJson, messages::kWeaponsJson);
  weapons->footer(messages::kWeaponsFooter);
  weapons->callback([&] { status = ShowWeapons(gameFolder(), weaponsShop, weaponsJson, output); });

  bool listJson = false;
  CLI::App* list = app.add_subcommand("list", messages::kListDescription);
  list->add_flag("--json", listJson, messages::kListJson);
  list->footer(messages::kListFooter);
  list->callback([&] { status = PrintCastList(gameFolder(), listJson, output); });

  std::string showName;
  bool showJson = false;
  CLI::App* show = app.add_subcommand("show", messages::kShowDescription);
  show->add_option("NAME", showName, messages::kCastName)->required();
  show->add_flag("--json", showJson, messages::kShowJson);
  show->footer(messages::kShowFooter);
  show->callback([&] { status = ShowCast(gameFolder(), showName, showJson, output); });

  std::string checkName;
  bool checkShop = false;
  bool checkJson = false;
  CLI::App* check = app.add_subcommand("check", messages::kCheckDescription);
  check->add_option("NAME", checkName, messages::kCastName)->required();
  check->add_flag("--shop", checkShop, messages::kCheckShop);
  check->add_flag("--json", checkJson, messages::kCheckJson);
  check->footer(messages::kCheckFooter);
  check->callback([&] { status = CheckCast(gameFolder(), checkName, checkShop, checkJson, output); });

  std::vector<std::string> importFiles;
  CLI::App* import = app.add_subcommand("import", messages::kImportDescription);
  import->add_option("FILE", importFiles, messages::kImportFiles)->required();
  import->footer(messages::kImportFooter);
  import->callback([&] { status = ImportPackages(gameFolder(), importFiles, output); });

  std::string exportName;
  std::string exportFile;
  bool exportForce = false;
  CLI::App* exportCommand = app.add_subcommand("export", messages::kExportDescription);
  exportCommand->add_option("NAME", exportName, messages::kCastName)->required();
  exportCommand->add_option("OUT", exportFile, messages::kExportFile)->required();
  exportCommand->add_flag("--force", exportForce, messages::kExportForce);
  exportCommand->footer(messages::kExportFooter);
  exportCommand->callback([&] { status = ExportCast(gameFolder(), exportName, exportFile, exportForce, output); });

  AddPictureCommand(app, gameFolder, status, output);

  help->callback([&] {
    if (!helpCommand.empty() && !IsCommand(app, helpCommand)) {
      output.Error(messages::UnknownCommand(helpCommand));
      status = ExitStatus::kFailure;
      return;
    }
    output.Write(HelpText(app, helpCommand.empty() ? nullptr : app.get_subcommand(helpCommand)));
  });

  // CLI11 would take an unknown command for an unexpected argument.
  if (const std::optional<std::string> word = CommandWord(argc, argv); word && !IsCommand(app, *word)) {
    output.Error(messages::UnknownCommand(*word));
    return static_cast<int>(ExitStatus::kFailure);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    std::ostringstream printed;
    const int code = app.exit(error, printed, err);
    output.Write(printed.str());
    if (!output.Finish()) return static_cast<int>(ExitStatus::kProblem);
    return code == 0 ? 0 : static_cast<int>(ExitStatus::kFailure);
  } catch (const std::exception& error) {
    output.Error(error.what());
    output.Finish();
    return static_cast<int>(ExitStatus::kFailure);
  }
  if (!output.Finish()) status = Worse(status, ExitStatus::kProblem);
  return static_cast<int>(status);
}

}  // namespace casttool
