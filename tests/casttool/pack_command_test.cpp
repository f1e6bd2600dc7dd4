// pack and unpack: the scrambling library on each file, one line per file.
#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

using gamefixture::ReadBytes;
using gamefixture::WriteBytes;

class PackCommand : public CastToolGame {};

const std::string kPlain = "abc";

// "abc" packed with rotation base 1, the first one a fresh thread draws.
const std::string kPacked = "\x83\x16\x04\x3D\xB0\x98\xB1";

TEST_F(PackCommand, EachFileOneLineAndTheStatusOfWhatHappened) {
  struct Case {
    std::string command;
    std::string before;
    std::string line;
    int exitStatus;
    std::string after;
  } cases[] = {
      {"pack", kPlain, "x.bin: packed", 0, kPacked},
      {"pack", kPacked, "x.bin: left untouched", 1, kPacked},
      {"unpack", kPacked, "x.bin: unpacked", 0, kPlain},
      {"unpack", kPlain, "x.bin: left untouched", 1, kPlain},
      {"pack", "", "x.bin: packed", 0, std::string("\x83\x16\x04\x3D", 4)},
  };
  for (const Case& c : cases) {
    WriteBytes(game() / "x.bin", c.before);
    const ProgramResult result = Run({c.command, "x.bin"});
    EXPECT_EQ(result.out, c.line + "\n") << c.command;
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.line;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadBytes(game() / "x.bin"), c.after) << c.line;
  }
}

TEST_F(PackCommand, AFileThatCannotBeReadIsReportedAndTheOthersStillDone) {
  WriteBytes(game() / "a.bin", kPlain);
  WriteBytes(game() / "b.bin", kPacked);
  std::filesystem::create_directory(game() / "folder");
  const ProgramResult result = Run({"pack", "a.bin", "missing.bin", "b.bin", "folder"});
  EXPECT_EQ(result.exitStatus, 2) << "the worst of the four";
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{"a.bin: packed", "b.bin: left untouched"}));
  const std::vector<std::string> errors = Lines(result.err);
  ASSERT_EQ(errors.size(), 2u) << result.err;
  EXPECT_NE(errors[0].find("missing.bin"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("ファイルが見つかりません"), std::string::npos) << errors[0];
  EXPECT_NE(errors[1].find("folder"), std::string::npos) << errors[1];
  EXPECT_FALSE(std::filesystem::exists(game() / "missing.bin")) << "nothing is created";
}

TEST_F(PackCommand, UnpackThenPackGivesTheGameFileBack) {
  const std::filesystem::path progress = game() / "DAT/USER.DAT";
  const std::string plain = gamefixture::AsText(gamefixture::ProgressFileBytes(GameWeapons(), kPlayer));
  ASSERT_EQ(Run({"unpack", "DAT/USER.DAT"}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(progress), plain);
  ASSERT_EQ(Run({"pack", "DAT/USER.DAT"}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(progress).substr(0, 4), std::string("\x83\x16\x04\x3D", 4));
  ASSERT_EQ(Run({"unpack", "DAT/USER.DAT"}).exitStatus, 0);
  EXPECT_EQ(ReadBytes(progress), plain);
}

}  // namespace
}  // namespace casttooltest
