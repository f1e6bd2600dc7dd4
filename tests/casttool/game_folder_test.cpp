// The game folder casttool works in: found from anywhere, refused when it is
// none, and read in any letter case exactly as a lower-case folder is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "casttool_game.h"
#include "demo_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

namespace fs = std::filesystem;

ProgramResult RunIn(const fs::path& folder, const fs::path& program, const std::vector<std::string>& arguments) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  ProgramResult result = gamefixture::RunProgram(program, arguments);
  fs::current_path(previous);
  return result;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Renames every entry below `folder` (deepest first) with `spell`.
void Respell(const fs::path& folder, std::string (*spell)(const std::string&)) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) entries.push_back(entry.path());
  std::sort(entries.rbegin(), entries.rend());
  for (const fs::path& entry : entries) {
    const std::string respelled = spell(entry.filename().string());
    if (respelled != entry.filename().string()) fs::rename(entry, entry.parent_path() / respelled);
  }
}

// The lower-case demo: every name in lower case but the casts' own names.
std::string LowerCaseName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return Lower(name);
  return (name.substr(0, dot) == "HAYATE" || name.substr(0, dot) == "RAIDEN" ? name.substr(0, dot)
                                                                             : Lower(name.substr(0, dot))) +
         Lower(name.substr(dot));
}

// As Windows programs leave it: every name in upper case.
std::string UpperCaseName(const std::string& name) {
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

TEST(CastToolGameFolder, AWindowsSpelledFolderWorksInEveryCommandAsALowerCaseOne) {
  gamefixture::TemporaryFolder lower;
  gamefixture::TemporaryFolder windows;
  gamefixture::MakeDemoGame(lower.path());
  gamefixture::MakeDemoGame(windows.path());
  Respell(lower.path(), LowerCaseName);
  Respell(windows.path(), UpperCaseName);
  ASSERT_TRUE(fs::is_regular_file(windows.path() / "CAST/HAYATE.CST"));
  ASSERT_TRUE(fs::is_regular_file(lower.path() / "dat/user.dat"));

  const std::vector<std::string> commands[] = {
      {"weapons"},
      {"weapons", "--shop", "--json"},
      {"list"},
      {"list", "--json"},
      {"show", "HAYATE", "--json"},
      {"show", "raiden"},
      {"check", "HAYATE"},
      {"check", "RAIDEN", "--shop"},
      {"export", "HAYATE", "out.ec"},
      {"import", "sample.ec"},
      {"unpack", "Dat/User.Dat"},
      {"pack", "dat/user.dat"},
      {"list"},
  };
  for (const auto& command : commands) {
    std::vector<std::string> arguments = command;
    arguments.insert(arguments.begin(), {"-C", ""});
    arguments[1] = lower.path().string();
    const ProgramResult fromLower = RunCastTool(arguments);
    arguments[1] = windows.path().string();
    const ProgramResult fromWindows = RunCastTool(arguments);
    EXPECT_EQ(fromWindows.exitStatus, fromLower.exitStatus) << testing::PrintToString(command);
    EXPECT_EQ(Lower(fromWindows.out), Lower(fromLower.out)) << testing::PrintToString(command);
    EXPECT_EQ(Lower(fromWindows.err), Lower(fromLower.err)) << testing::PrintToString(command);
  }
  EXPECT_EQ(gamefixture::ReadBytes(windows.path() / "out.ec"), gamefixture::ReadBytes(lower.path() / "out.ec"));

  // The import wrote the package's cast into the folder that was there, and
  // no second spelling of any folder or file came into being.
  std::vector<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(windows.path())) {
    written.push_back(fs::relative(entry.path(), windows.path()).generic_string());
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{
                         "CAST", "CAST/DEF.BMP", "CAST/HAYATE.BMP", "CAST/HAYATE.CST", "CAST/HAYATE.DAT",
                         "CAST/RAIDEN.BMP", "CAST/RAIDEN.CST", "CAST/RAIDEN.DAT", "CAST/SHIDEN.bmp", "CAST/SHIDEN.cst",
                         "CAST/SHIDEN.dat", "DAT", "DAT/LIBORVDLL.SO", "DAT/ORV_BWPN.DAT", "DAT/ORV_UP.DAT",
                         "DAT/USER.DAT", "HELP_TUG.HTML", "ORV.TXT", "out.ec"}));
}

TEST(CastToolGameFolder, AFolderWithoutAGameIsRefusedNamingIt) {
  gamefixture::TemporaryFolder empty;
  const ProgramResult given = RunCastTool({"-C", empty.path().string(), "list"});
  EXPECT_EQ(given.exitStatus, 2);
  EXPECT_EQ(given.out, "");
  EXPECT_NE(given.err.find(fs::canonical(empty.path()).string()), std::string::npos) << given.err;

  const ProgramResult searched = RunIn(empty.path(), CASTTOOL_PATH, {"list"});
  EXPECT_EQ(searched.exitStatus, 2);
  EXPECT_NE(searched.err.find(fs::canonical(empty.path()).string()), std::string::npos) << searched.err;

  // A cast folder alone is enough to work in.
  fs::create_directory(empty.path() / "Cast");
  EXPECT_EQ(RunCastTool({"-C", empty.path().string(), "list"}).exitStatus, 0);
}

// Installed at the top of the game folder or in its bin/, casttool works on
// that game from any working folder.
TEST(CastToolGameFolder, AnInstalledToolFindsItsGameFromAnywhere) {
  gamefixture::TemporaryFolder game;
  gamefixture::TemporaryFolder elsewhere;
  gamefixture::MakeDemoGame(game.path());
  fs::create_directory(game.path() / "bin");
  for (const fs::path& installed : {game.path() / "casttool", game.path() / "bin/casttool"}) {
    fs::copy_file(CASTTOOL_PATH, installed);
    const ProgramResult result = RunIn(elsewhere.path(), installed, {"list"});
    EXPECT_EQ(result.exitStatus, 0) << installed << result.err;
    EXPECT_NE(result.out.find("HAYATE"), std::string::npos) << installed << result.out;
  }
}

}  // namespace
}  // namespace casttooltest
