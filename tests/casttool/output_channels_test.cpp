// Where the tool writes: results to standard output, every error and refusal
// to standard error as one line starting "casttool: ", and a standard output
// that cannot be written is a failure, never a silent success.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"
#include "package_fixture.h"
#include "redirected_run.h"

namespace casttooltest {
namespace {

class OutputChannels : public CastToolGame {
 protected:
  OutputChannels() {
    Write(ValidCast("ABC"));
    gamefixture::WriteBytes(game() / "x.bin", "abc");
  }

  // casttool -C GAME arguments..., its standard output `standardOutput`.
  ProgramResult RunInto(int standardOutput, std::vector<std::string> arguments, bool ignoreSigpipe = false) const {
    arguments.insert(arguments.begin(), {"-C", game().string()});
    return RunWithStandardOutput(standardOutput, arguments, ignoreSigpipe);
  }
};

TEST_F(OutputChannels, ErrorsAndRefusalsGoToStandardErrorOneLineEach) {
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\nName=x\r\n");
  gamefixture::PackageFields broken;
  broken.cutTo = 100;
  gamefixture::WritePackageFile(game() / "broken.ec", broken);
  gamefixture::WriteBytes(game() / "plain.ec", "no package");
  std::filesystem::create_directory(game() / "folder");
  struct Case {
    std::vector<std::string> arguments;
    int exitStatus;
    std::size_t errorLines;
    bool results;  // whether standard output carries results
  } cases[] = {
      {{"show", "NONE"}, 2, 1, false},
      {{"show", "NONE", "--json"}, 2, 1, false},
      {{"check", "NONE", "--json"}, 2, 1, false},
      {{"export", "NONE", "out.ec"}, 2, 1, false},
      {{"export", "ABC", "cast/ABC.cst", "--force"}, 1, 1, false},
      {{"import", "missing.ec", "broken.ec", "plain.ec"}, 2, 3, false},
      {{"pack", "missing.bin", "folder"}, 2, 2, false},
      {{"list"}, 1, 1, true},  // NODATA cannot be read
      {{"list", "--json"}, 1, 1, true},
      {{"nonsense"}, 2, 1, false},
      {{"show"}, 2, 1, false},
  };
  for (const Case& c : cases) {
    const std::string shown = testing::PrintToString(c.arguments);
    const ProgramResult result = Run(c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << shown << result.err;
    EXPECT_EQ(!result.out.empty(), c.results) << shown << result.out;
    const std::vector<std::string> errors = Lines(result.err);
    EXPECT_EQ(errors.size(), c.errorLines) << shown << result.err;
    for (const std::string& line : errors) EXPECT_EQ(line.rfind("casttool: ", 0), 0u) << shown << line;
  }
}

// A full disk behind standard output: whatever the command, the run says so
// and ends with status 1.
TEST_F(OutputChannels, AStandardOutputThatCannotBeWrittenIsAFailure) {
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  const std::vector<std::string> commands[] = {
      {"list"}, {"list", "--json"}, {"show", "ABC"}, {"show", "ABC", "--json"}, {"weapons", "--json"},
      {"check", "ABC"}, {"check", "ABC", "--json"}, {"export", "ABC", "-"}, {"pack", "x.bin"},
      {"help"}, {"--help"}, {"--version"},
  };
  for (const auto& command : commands) {
    const ProgramResult result = RunInto(full, command);
    EXPECT_EQ(result.exitStatus, 1) << testing::PrintToString(command);
    EXPECT_EQ(result.err, "casttool: 標準出力に書き込めません: No space left on device\n")
        << testing::PrintToString(command);
  }
  ::close(full);
}

// A reader that went away, with SIGPIPE ignored: the write fails with EPIPE,
// which is no success either.
TEST_F(OutputChannels, APipeWithoutAReaderIsAFailure) {
  int ends[2];
  ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
  ::close(ends[0]);
  const ProgramResult result = RunInto(ends[1], {"list"}, true);
  ::close(ends[1]);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "casttool: 標準出力に書き込めません: Broken pipe\n");
}

}  // namespace
}  // namespace casttooltest
