// The tool's command line: help and version, and bad usage.
#include <gtest/gtest.h>

#include "casttool_game.h"

namespace casttooltest {
namespace {

TEST(CastToolCommandLine, HelpOnTheToolAndOnEveryCommand) {
  struct Case {
    std::vector<std::string> arguments;
    std::string usage;
  } cases[] = {
      {{"--help"}, "Usage: casttool [OPTIONS] SUBCOMMAND"},
      {{"help", "--help"}, "Usage: casttool help"},
      {{"pack", "--help"}, "Usage: casttool pack"},
      {{"unpack", "--help"}, "Usage: casttool unpack"},
      {{"weapons", "--help"}, "Usage: casttool weapons"},
      {{"list", "--help"}, "Usage: casttool list"},
      {{"show", "--help"}, "Usage: casttool show"},
      {{"check", "--help"}, "Usage: casttool check"},
      {{"import", "--help"}, "Usage: casttool import"},
      {{"export", "--help"}, "Usage: casttool export"},
  };
  for (const Case& c : cases) {
    const ProgramResult result = RunCastTool(c.arguments);
    EXPECT_EQ(result.exitStatus, 0) << c.usage;
    EXPECT_NE(result.out.find(c.usage), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "") << c.usage;
  }
}

TEST(CastToolCommandLine, HelpCommandPrintsWhatHelpOptionPrints) {
  const std::vector<std::string> commands = {"",     "help",   "pack",  "unpack", "weapons",
                                             "list", "show",   "check", "import", "export"};
  for (const std::string& command : commands) {
    const ProgramResult asked = RunCastTool(command.empty() ? std::vector<std::string>{"help"}
                                                            : std::vector<std::string>{"help", command});
    const ProgramResult option = RunCastTool(command.empty() ? std::vector<std::string>{"--help"}
                                                             : std::vector<std::string>{command, "--help"});
    EXPECT_EQ(asked.exitStatus, 0) << command << asked.err;
    EXPECT_EQ(asked.err, "") << command;
    EXPECT_NE(asked.out, "") << command;
    EXPECT_EQ(asked.out, option.out) << command;
  }
}

TEST(CastToolCommandLine, AnUnknownCommandIsNamed) {
  gamefixture::TemporaryFolder game;
  const std::vector<std::string> cases[] = {
      {"bogus"},
      {"-C", game.path().string(), "bogus", "list"},
      {"help", "bogus"},
      {"--", "bogus"},
  };
  for (const auto& arguments : cases) {
    const ProgramResult result = RunCastTool(arguments);
    EXPECT_EQ(result.exitStatus, 2) << testing::PrintToString(arguments);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "casttool: unknown command 'bogus'\n") << testing::PrintToString(arguments);
  }
}

TEST(CastToolCommandLine, ShowHelpSaysHiddenDataIsNoSecret) {
  const ProgramResult result = RunCastTool({"show", "--help"});
  EXPECT_NE(result.out.find("not a secret the files keep"), std::string::npos) << result.out;
}

TEST(CastToolCommandLine, VersionIsTheProjectVersion) {
  const ProgramResult result = RunCastTool({"--version"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "casttool 1.7\n");
}

TEST(CastToolCommandLine, BadUsageIsExitStatusTwoWithOneErrorLine) {
  const std::vector<std::string> cases[] = {
      {},
      {"bogus"},
      {"--bogus", "list"},
      {"list", "--bogus"},
      {"show"},
      {"show", "A", "B"},
      {"export", "ABC"},
      {"pack"},
      {"import"},
      {"-C", "/no/such/folder/anywhere", "list"},
  };
  for (const auto& arguments : cases) {
    const std::string shown = testing::PrintToString(arguments);
    const ProgramResult result = RunCastTool(arguments);
    EXPECT_EQ(result.exitStatus, 2) << shown;
    EXPECT_EQ(result.out, "") << shown;
    ASSERT_EQ(Lines(result.err).size(), 1u) << shown << result.err;
    EXPECT_EQ(result.err.rfind("casttool: ", 0), 0u) << result.err;
  }
}

}  // namespace
}  // namespace casttooltest
