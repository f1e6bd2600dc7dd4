#include "game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "game_folder_search.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "";
}

struct ResolutionCase {
  const char* label;
  std::vector<const char*> present;  // files made in the game folder
  const char* asked;
  const char* resolved;
};

void PrintTo(const ResolutionCase& c, std::ostream* os) { *os << c.label; }

class GameFolderResolution : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(GameFolderResolution, ResolvesEachComponentAsWindowsWould) {
  const ResolutionCase& c = GetParam();
  gamefixture::TemporaryFolder root;
  for (const char* file : c.present) Touch(root.path() / file);
  const platform::GameFolder game(root.path());
  EXPECT_EQ(game.Resolve(c.asked), root.path() / c.resolved);
  // Nothing is made by asking.
  std::vector<fs::path> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root.path())) entries.push_back(entry.path());
  std::size_t files = 0;
  for (const fs::path& entry : entries) files += fs::is_regular_file(entry) ? 1 : 0;
  EXPECT_EQ(files, c.present.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GameFolderResolution,
    ::testing::Values(
        ResolutionCase{"Exact", {"DAT/USER.DAT"}, "DAT/USER.DAT", "DAT/USER.DAT"},
        ResolutionCase{"OtherCase", {"dat/user.dat"}, "DAT/USER.DAT", "dat/user.dat"},
        ResolutionCase{"MixedCasePerComponent", {"Dat/User.DAT"}, "dat/user.dat", "Dat/User.DAT"},
        ResolutionCase{"ExactWinsOverOtherCase", {"dat/a.bmp", "DAT/a.bmp", "dat/A.BMP"}, "dat/A.BMP", "dat/A.BMP"},
        ResolutionCase{"FirstInByteOrderWithoutAnExact", {"dat/x", "DAT/x", "Dat/x"}, "dAt/x", "DAT/x"},
        ResolutionCase{"MissingFileGoesIntoTheFolderThatIsThere", {"Cast/def.bmp"}, "cast/NEW.dat", "Cast/NEW.dat"},
        ResolutionCase{"MissingFolderKeepsTheRestAsWritten", {"orv.txt"}, "dat/Orv_Up.png", "dat/Orv_Up.png"},
        ResolutionCase{"OnlyAsciiLettersFold", {"cast/機体a.cst"}, "cast/機体A.CST", "cast/機体a.cst"},
        ResolutionCase{"NonAsciiMustMatch", {"cast/ａ.cst"}, "cast/Ａ.cst", "cast/Ａ.cst"}),
    [](const ::testing::TestParamInfo<ResolutionCase>& info) { return std::string(info.param.label); });

TEST(GameFolder, TheWorkingFolderGivesRelativePaths) {
  gamefixture::TemporaryFolder root;
  Touch(root.path() / "Dat/USER.DAT");
  const fs::path previous = fs::current_path();
  fs::current_path(root.path());
  const platform::GameFolder game;
  EXPECT_EQ(game.Resolve("DAT/USER.DAT"), fs::path("Dat/USER.DAT"));
  EXPECT_TRUE(game.HasFile("dat/user.dat"));
  EXPECT_TRUE(game.HasFolder("DAT"));
  EXPECT_FALSE(game.HasFile("DAT"));
  EXPECT_EQ(game.Location(), fs::path("."));
  fs::current_path(previous);
}

// The search takes the first candidate that holds a game, and names every
// folder it looked at, each once.
TEST(GameFolderSearch, TakesTheFirstCandidateThatHoldsAGame) {
  gamefixture::TemporaryFolder a;
  gamefixture::TemporaryFolder b;
  gamefixture::TemporaryFolder c;
  Touch(b.path() / "ORV.TXT");
  Touch(c.path() / "orv.txt");
  const auto holdsGame = [](const platform::GameFolder& game) { return game.HasFile("orv.txt"); };

  const platform::GameFolderSearch found = platform::FindGameFolder({a.path(), a.path(), b.path(), c.path()}, holdsGame);
  ASSERT_TRUE(found.found);
  EXPECT_EQ(*found.found, b.path());
  EXPECT_EQ(found.tried, (std::vector<fs::path>{fs::canonical(a.path()), fs::canonical(b.path())}));

  const platform::GameFolderSearch none = platform::FindGameFolder({a.path(), a.path() / "missing"}, holdsGame);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.tried.size(), 2u);
}

}  // namespace
