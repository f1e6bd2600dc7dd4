// The lock of a folder: its lock file while it is held and after, a second
// taker in another thread (as another program), a taker again in the holding
// thread, a lock file left by a killed holder, and lock files that cannot be.
#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "fixture_files.h"
#include "immutable_file.h"
#include "lock_held_elsewhere.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::FolderLock;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(FolderLock, TheHolderNamesItselfInTheLockFileAndRemovesItWhenItLetsGo) {
  gamefixture::TemporaryFolder folder;
  const fs::path lockFile = folder.path() / ".lock";
  {
    const FolderLock lock(folder.path());
    ASSERT_FALSE(lock.Problem()) << *lock.Problem();
    EXPECT_EQ(gamefixture::ReadBytes(lockFile),
              std::string(program_invocation_short_name) + " " + std::to_string(::getpid()) + "\n");
    {
      // The holding thread takes it again at once, and keeps it after.
      const FolderLock again(folder.path(), 0ms);
      EXPECT_FALSE(again.Problem());
    }
    EXPECT_TRUE(fs::exists(lockFile));
  }
  EXPECT_FALSE(fs::exists(lockFile));
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(FolderLock, AnotherTakerIsToldWhoHoldsItAndGetsItOnceLetGo) {
  gamefixture::TemporaryFolder folder;
  {
    const gamefixture::LockHeldElsewhere held(folder.path());
    const FolderLock busy(folder.path(), 0ms);
    ASSERT_TRUE(busy.Problem());
    EXPECT_TRUE(Contains(*busy.Problem(), "別のプログラム" + gamefixture::ThisProgramAsHolder() + "が書き込み中"))
        << *busy.Problem();
    EXPECT_TRUE(Contains(*busy.Problem(), (folder.path() / ".lock").generic_string())) << *busy.Problem();
  }
  const FolderLock free(folder.path(), 0ms);
  EXPECT_FALSE(free.Problem());
}

TEST(FolderLock, ATakerThatWaitsGetsTheLockWhenTheHolderLetsGo) {
  gamefixture::TemporaryFolder folder;
  std::promise<void> release;
  std::promise<void> taken;
  std::thread holder([&] {
    const FolderLock lock(folder.path());
    taken.set_value();
    release.get_future().wait();
  });
  taken.get_future().wait();
  std::future<bool> waiter = std::async(std::launch::async, [&] {
    const FolderLock lock(folder.path(), 60s);
    return !lock.Problem() && fs::exists(folder.path() / ".lock");
  });
  release.set_value();
  holder.join();
  EXPECT_TRUE(waiter.get()) << "the waiter holds a lock file of its own";
  EXPECT_FALSE(fs::exists(folder.path() / ".lock"));
}

TEST(FolderLock, ALockFileLeftByAKilledHolderIsTakenAndRemoved) {
  gamefixture::TemporaryFolder folder;
  gamefixture::WriteBytes(folder.path() / ".lock", "casttool 99999\n");
  {
    const FolderLock lock(folder.path(), 0ms);
    EXPECT_FALSE(lock.Problem());
  }
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(FolderLock, AHolderThatSaysNothingReadableIsAnotherProgram) {
  gamefixture::TemporaryFolder folder;
  for (const char* contents : {"", "garbage", "name 12x\n", "\x01\x02 7\n"}) {
    gamefixture::WriteBytes(folder.path() / ".lock", contents);
    const int fd = ::open((folder.path() / ".lock").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const FolderLock busy(folder.path(), 0ms);
    ::close(fd);
    ASSERT_TRUE(busy.Problem()) << contents;
    EXPECT_TRUE(Contains(*busy.Problem(), "は別のプログラムが書き込み中")) << *busy.Problem();
  }
}

TEST(FolderLock, ALockFileThatCannotBeIsTold) {
  struct Case {
    const char* what;
    void (*arrange)(const fs::path& folder);
    const char* reason;
  };
  const Case cases[] = {
      {"a link in its place",
       [](const fs::path& folder) { fs::create_symlink(folder / "victim", folder / ".lock"); },
       "Too many levels of symbolic links"},
      {"a folder in its place", [](const fs::path& folder) { fs::create_directory(folder / ".lock"); },
       "Is a directory"},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder folder;
    gamefixture::WriteBytes(folder.path() / "victim", "victim");
    c.arrange(folder.path());
    const FolderLock lock(folder.path(), 0ms);
    ASSERT_TRUE(lock.Problem()) << c.what;
    EXPECT_TRUE(Contains(*lock.Problem(), "ロックファイル「" + (folder.path() / ".lock").generic_string() + "」"))
        << *lock.Problem();
    EXPECT_TRUE(Contains(*lock.Problem(), c.reason)) << *lock.Problem();
    EXPECT_EQ(gamefixture::ReadBytes(folder.path() / "victim"), "victim") << c.what;
  }
}

// Where nothing can be made no write can happen either: the taker goes on,
// and the write says why it fails.
TEST(FolderLock, AFolderThatTakesNoFilesNeedsNoLock) {
  gamefixture::TemporaryFolder folder;
  {
    const FolderLock missing(folder.path() / "missing", 0ms);
    EXPECT_FALSE(missing.Problem());
  }
  EXPECT_FALSE(fs::exists(folder.path() / "missing"));
  const gamefixture::ImmutableFile readOnly(folder.path());
  if (!readOnly.Settable()) GTEST_SKIP() << "this file system or process cannot make a folder immutable";
  const FolderLock lock(folder.path(), 0ms);
  EXPECT_FALSE(lock.Problem());
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

}  // namespace
