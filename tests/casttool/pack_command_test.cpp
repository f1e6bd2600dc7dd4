// pack and unpack: the scrambling library on each file, one line per file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "casttool_game.h"
#include "file_size_limit.h"
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
      {"pack", kPacked, "x.bin: already packed", 0, kPacked},
      {"unpack", kPacked, "x.bin: unpacked", 0, kPlain},
      {"unpack", kPlain, "x.bin: already unpacked", 0, kPlain},
      {"unpack", "", "x.bin: already unpacked", 0, ""},
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
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{"a.bin: packed", "b.bin: already packed"}));
  EXPECT_EQ(Lines(result.err), (std::vector<std::string>{"casttool: missing.bin: ファイルが見つかりません",
                                                         "casttool: folder: ファイルではなくフォルダです"}));
  EXPECT_FALSE(std::filesystem::exists(game() / "missing.bin")) << "nothing is created";
}

// A file that is there but cannot be rewritten says why, keeps its bytes, and
// makes the run end with status 1; the files after it are still done.
TEST_F(PackCommand, AFileThatCannotBeRewrittenGivesTheSystemsReason) {
  ASSERT_EQ(::mkfifo((game() / "pipe").c_str(), 0644), 0);
  struct Case {
    std::string command;
    std::string file;
    std::string error;  // the line on standard error
  } cases[] = {
      {"pack", "pipe", "casttool: pipe: 通常のファイルではありません"},
      {"unpack", "pipe", "casttool: pipe: 通常のファイルではありません"},
      {"pack", "/dev/null", "casttool: /dev/null: 通常のファイルではありません"},
  };
  for (const Case& c : cases) {
    const bool pack = c.command == "pack";
    WriteBytes(game() / "after.bin", pack ? kPlain : kPacked);
    const ProgramResult result = Run({c.command, c.file, "after.bin"});
    EXPECT_EQ(result.exitStatus, 1) << c.file;
    EXPECT_EQ(result.err, c.error + "\n");
    EXPECT_EQ(Lines(result.out), (std::vector<std::string>{"after.bin: " + c.command + "ed"}));
    // The refused file drew a rotation base as FilePack does, so the next
    // one is packed with another: its header tells that it was done.
    const std::string after = ReadBytes(game() / "after.bin");
    if (pack) {
      EXPECT_EQ(after.size(), kPlain.size() + 4);
      EXPECT_EQ(after.substr(0, 2), "\x83\x16");
      EXPECT_EQ(after.substr(3, 1), "\x3D");
    } else {
      EXPECT_EQ(after, kPlain);
    }
  }
  EXPECT_TRUE(std::filesystem::is_fifo(game() / "pipe"));
}

// The tests run as root, whom no permission stops; a file size limit stops
// the rewrite as a full disk would.
TEST_F(PackCommand, ARewriteThatFailsLeavesTheFolderAsItWasAndNamesTheReason) {
  WriteBytes(game() / "big.bin", std::string(64, 'p'));
  for (const std::string command : {"pack", "unpack"}) {
    if (command == "unpack") {
      ASSERT_EQ(Run({"pack", "big.bin"}).exitStatus, 0);
    }
    const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
    const std::string report = gamefixture::RunWithFileSizeLimit(16, [&] {
      const ProgramResult result = Run({command, "big.bin"});
      return std::to_string(result.exitStatus) + "|" + result.out + "|" + result.err;
    });
    EXPECT_EQ(report, "1||casttool: big.bin: File too large\n") << command;
    EXPECT_TRUE(gamefixture::SnapshotFolder(game()) == before) << command << ": no byte changed, no file left over";
  }
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
