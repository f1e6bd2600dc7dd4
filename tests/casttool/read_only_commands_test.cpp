// Every command that only reads leaves every byte of the game folder as it
// was, the packed game files included.
#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class ReadOnlyCommands : public CastToolGame {};

TEST_F(ReadOnlyCommands, LeaveTheGameFolderAsItWas) {
  Write(ValidCast("ABC"));
  FixtureCast noPicture = ValidCast("NOPIC");
  noPicture.picture.reset();
  Write(noPicture);
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\nName=x\r\n");
  gamefixture::WriteBytes(game() / "waiting.ec", "a package the editor would import");
  const std::vector<std::string> commands[] = {
      {"weapons"}, {"weapons", "--json"}, {"weapons", "--shop"}, {"weapons", "--shop", "--json"},
      {"list"}, {"list", "--json"},
      {"show", "ABC"}, {"show", "NOPIC", "--json"}, {"show", "NODATA"},
      {"check", "ABC"}, {"check", "NOPIC", "--shop"}, {"check", "NODATA"},
  };
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
  for (const auto& command : commands) {
    const ProgramResult result = Run(command);
    EXPECT_NE(result.out + result.err, "") << testing::PrintToString(command);
    EXPECT_TRUE(gamefixture::SnapshotFolder(game()) == before) << testing::PrintToString(command);
  }
}

}  // namespace
}  // namespace casttooltest
