#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "module1.h"

namespace {

namespace fs = std::filesystem;

// Puts a folder first on PATH, with a stand-in `xdg-open` in it that records
// its argument in a file beside itself, and restores PATH afterwards.
class ShellOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "shell_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    const char* path = std::getenv("PATH");
    oldPath_ = path ? path : "";
    ::setenv("PATH", (folder_.string() + ":" + oldPath_).c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", oldPath_.c_str(), 1);
    fs::remove_all(folder_);
  }

  void InstallOpener(fs::perms permissions) const {
    const fs::path opener = folder_ / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.arg\"\n";
    fs::permissions(opener, permissions);
  }

  // The argument the stand-in recorded, waiting a bounded while for it.
  std::string RecordedArgument() const {
    const fs::path record = folder_ / "xdg-open.arg";
    for (int tries = 0; tries < 1000 && !fs::exists(record); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(record, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static bool NoChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
  }

  fs::path folder_;
  std::string oldPath_;
};

TEST_F(ShellOpen, StartsTheOpenerWithThePathAndLeavesNoChild) {
  struct Case {
    std::string path, argument;
  } cases[] = {
      {"dat/up.html", "dat/up.html"},
      {"cast\\機体.bmp", "cast\\機体.bmp"},
      {"a b.html", "a b.html"},
      {"-x.html", "./-x.html"},  // not an option of the opener
  };
  InstallOpener(fs::perms::owner_all);
  for (const Case& c : cases) {
    fs::remove(folder_ / "xdg-open.arg");
    EXPECT_TRUE(Module1::ShellOpen(c.path, 1)) << c.path;
    EXPECT_TRUE(NoChildLeft()) << c.path;
    EXPECT_EQ(RecordedArgument(), c.argument);
  }
}

TEST_F(ShellOpen, AnOpenerThatCannotStartIsReportedAndShowsNothing) {
  ::setenv("PATH", folder_.c_str(), 1);  // no xdg-open anywhere
  EXPECT_FALSE(Module1::ShellOpen("help_tug.html", 1));
  EXPECT_TRUE(NoChildLeft());

  InstallOpener(fs::perms::owner_read | fs::perms::owner_write);  // not executable
  EXPECT_FALSE(Module1::ShellOpen("help_tug.html", 1));
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
