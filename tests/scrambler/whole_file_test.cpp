// The one safe whole-file rewrite: what the replaced file keeps, and what a
// replacement that does not happen leaves behind.

#include "whole_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "scrambler_test_support.h"

namespace {

using scrambler_test::Bytes;
using scrambler_test::ReadFile;
using scrambler_test::TempFolder;
using scrambler_test::WriteFile;

const Bytes kOld = {'o', 'l', 'd'};
const Bytes kNew = {'n', 'e', 'w', '!'};

struct stat StatusOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

TEST(WholeFile, ReplaceKeepsTheOldFilesPermissionsAndOwner) {
  const TempFolder folder;
  const auto path = folder / "USER.DAT";
  WriteFile(path, kOld);
  ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
  ASSERT_EQ(::chown(path.c_str(), 1234, 2345), 0) << "the tests run as root";

  ASSERT_TRUE(wholefile::Replace(path, kNew));
  EXPECT_EQ(ReadFile(path), kNew);
  const struct stat status = StatusOf(path);
  EXPECT_EQ(status.st_mode & 07777, 0604u);
  EXPECT_EQ(status.st_uid, 1234u);
  EXPECT_EQ(status.st_gid, 2345u);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT"}));
}

TEST(WholeFile, ReplaceCreatesAMissingFileWithTheUsualPermissions) {
  const TempFolder folder;
  const auto path = folder / "new.cst";
  const mode_t previous = ::umask(027);
  const bool replaced = wholefile::Replace(path, kNew);
  ::umask(previous);

  ASSERT_TRUE(replaced);
  EXPECT_EQ(ReadFile(path), kNew);
  EXPECT_EQ(StatusOf(path).st_mode & 07777, 0640u);
}

TEST(WholeFile, ReplaceThroughASymbolicLinkRewritesTheFileItPointsTo) {
  const TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  const auto file = folder / "real" / "USER.DAT";
  WriteFile(file, kOld);
  const auto link = folder / "USER.DAT";
  std::filesystem::create_symlink("real/USER.DAT", link);

  ASSERT_TRUE(wholefile::Replace(link, kNew));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(file), kNew);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT", "real"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "real"),
                          std::filesystem::directory_iterator()),
            1);
}

// Asked to replace links, a replacement puts a plain file where the link was
// and leaves whatever the link pointed to as it was, for a link to a file, to
// a file beside it, to a folder and to nothing.
TEST(WholeFile, ReplacingLinksPutsAFileInTheLinksPlaceAndLeavesItsTarget) {
  const struct {
    const char* what;
    const char* linkTarget;  // relative to the folder of the link
  } cases[] = {
      {"a file in another folder", "../outside/victim"},
      {"a file beside the link", "neighbour"},
      {"a folder", "../outside"},
      {"nothing", "../outside/missing"},
  };
  for (const auto& c : cases) {
    const TempFolder folder;
    std::filesystem::create_directories(folder / "outside");
    std::filesystem::create_directories(folder / "cast");
    WriteFile(folder / "outside" / "victim", kOld);
    WriteFile(folder / "cast" / "neighbour", kOld);
    ASSERT_EQ(::chmod((folder / "outside" / "victim").c_str(), 0600), 0);
    const auto link = folder / "cast" / "X.dat";
    std::filesystem::create_symlink(c.linkTarget, link);

    const mode_t previous = ::umask(022);
    const bool replaced = wholefile::Replace(link, kNew, nullptr, wholefile::Links::kReplace);
    ::umask(previous);
    ASSERT_TRUE(replaced) << c.what;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << c.what;
    EXPECT_EQ(ReadFile(link), kNew) << c.what;
    EXPECT_EQ(StatusOf(link).st_mode & 07777, 0644u) << c.what << ": the permissions of a new file";
    EXPECT_EQ(ReadFile(folder / "outside" / "victim"), kOld) << c.what;
    EXPECT_EQ(ReadFile(folder / "cast" / "neighbour"), kOld) << c.what;
    EXPECT_FALSE(std::filesystem::exists(folder / "outside" / "missing")) << c.what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "outside"),
                            std::filesystem::directory_iterator()),
              1)
        << c.what;
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"cast", "outside"})) << c.what;
  }
}

// The temporary name adds to the file's own; a name at the file system's
// limit of 255 bytes must still be replaceable.
TEST(WholeFile, ReplaceWorksForTheLongestFileName) {
  const TempFolder folder;
  const std::string name(255, 'n');
  WriteFile(folder / name, kOld);

  ASSERT_TRUE(wholefile::Replace(folder / name, kNew));
  EXPECT_EQ(ReadFile(folder / name), kNew);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{name}));
}

TEST(WholeFile, ReplaceInAMissingFolderFailsWithItsReason) {
  const TempFolder folder;
  std::string reason;
  EXPECT_FALSE(wholefile::Replace(folder / "DAT" / "USER.DAT", kNew, &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(folder.Names().empty());
}

TEST(WholeFile, AStagedFileReplacesOnlyWhenCommitted) {
  const TempFolder folder;
  const auto path = folder / "USER.DAT";
  WriteFile(path, kOld);
  {
    wholefile::StagedFile staged;
    ASSERT_TRUE(staged.Stage(path, kNew));
    EXPECT_EQ(ReadFile(path), kOld);
  }
  EXPECT_EQ(ReadFile(path), kOld);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT"}));

  wholefile::StagedFile staged;
  ASSERT_TRUE(staged.Stage(path, kNew));
  ASSERT_TRUE(staged.Commit());
  EXPECT_EQ(ReadFile(path), kNew);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT"}));
}

// A rewrite replaces a name: another hard link to the old file keeps the old
// contents (the file is not written in place).
TEST(WholeFile, ReplaceOfAHardLinkedNameLeavesTheOtherNameWithTheOldContents) {
  const TempFolder folder;
  const auto path = folder / "USER.DAT";
  WriteFile(path, kOld);
  std::filesystem::create_hard_link(path, folder / "backup");

  ASSERT_TRUE(wholefile::Replace(path, kNew));
  EXPECT_EQ(ReadFile(path), kNew);
  EXPECT_EQ(ReadFile(folder / "backup"), kOld);
  EXPECT_EQ(StatusOf(path).st_nlink, 1u);
}

// Sets the time `path` (not what a link points to) was last written to `age` ago.
void MakeOld(const std::filesystem::path& path, std::chrono::seconds age) {
  const timespec times[2] = {{::time(nullptr) - age.count(), 0}, {::time(nullptr) - age.count(), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A file locked as a writer locks its temporary file, until the object goes.
class LockedFile {
 public:
  explicit LockedFile(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDONLY)) {
    EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0) << path;
  }
  ~LockedFile() { ::close(fd_); }

 private:
  int fd_;
};

// A write of USER.DAT in a folder where crashed writes left temporary files
// and where other files look like them.
TEST(WholeFile, ReplaceRemovesTheOldUnlockedLeftoversOfTheSameFileAlone) {
  enum Kind { kFile, kFolder, kLink };
  struct Case {
    const char* what;
    const char* name;
    Kind kind;
    std::chrono::seconds age;
    bool locked;
    bool removed;
  };
  using std::chrono::seconds;
  const Case cases[] = {
      {"a leftover of the file, two minutes old", ".USER.DAT.a1B2c3", kFile, seconds(120), false, true},
      {"a leftover of the file, just over a minute old", ".USER.DAT.Zz9900", kFile, seconds(61), false, true},
      {"a fresh leftover", ".USER.DAT.fresh0", kFile, seconds(0), false, false},
      {"a leftover half a minute old", ".USER.DAT.half30", kFile, seconds(30), false, false},
      {"an old temporary file that its writer holds locked", ".USER.DAT.locked", kFile, seconds(120), true,
       false},
      {"an old temporary file of another file", ".Orv_bwpn.DAT.a1B2c3", kFile, seconds(120), false, false},
      {"an old temporary file of a file whose name begins alike", ".USER.DATA.a1B2c3", kFile, seconds(120),
       false, false},
      {"five letters after the name", ".USER.DAT.a1B2c", kFile, seconds(120), false, false},
      {"seven letters after the name", ".USER.DAT.a1B2c3d", kFile, seconds(120), false, false},
      {"other signs than letters and digits", ".USER.DAT.a1-2_3", kFile, seconds(120), false, false},
      {"no leading dot", "USER.DAT.a1B2c3", kFile, seconds(120), false, false},
      {"a folder named as a leftover", ".USER.DAT.folder", kFolder, seconds(120), false, false},
      {"a symbolic link named as a leftover", ".USER.DAT.link00", kLink, seconds(120), false, false},
  };
  const TempFolder folder;
  WriteFile(folder / "USER.DAT", kOld);
  WriteFile(folder / "linked", kOld);
  MakeOld(folder / "linked", seconds(120));
  std::vector<std::unique_ptr<LockedFile>> locks;
  for (const Case& c : cases) {
    const auto path = folder / c.name;
    switch (c.kind) {
      case kFile:
        WriteFile(path, kOld);
        break;
      case kFolder:
        std::filesystem::create_directory(path);
        break;
      case kLink:
        std::filesystem::create_symlink("linked", path);
        break;
    }
    if (c.locked) locks.push_back(std::make_unique<LockedFile>(path));
    MakeOld(path, c.age);
  }

  ASSERT_TRUE(wholefile::Replace(folder / "USER.DAT", kNew));
  for (const Case& c : cases) {
    EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(folder / c.name)), !c.removed) << c.what;
  }
  EXPECT_EQ(ReadFile(folder / "linked"), kOld);
  EXPECT_EQ(ReadFile(folder / "USER.DAT"), kNew);
}

// A writer killed while it writes leaves its temporary file, and its lock goes
// with it: the next write keeps the file while it is fresh and removes it once
// it is a minute old.
TEST(WholeFile, TheLeftoverOfAKilledWriteGoesWithAWriteAMinuteLater) {
  const TempFolder folder;
  const auto path = folder / "USER.DAT";
  WriteFile(path, kOld);
  const int killed = scrambler_test::ExitCodeInChild([&] {
    wholefile::StagedFile staged;
    if (!staged.Stage(path, kNew)) return 1;
    ::kill(::getpid(), SIGKILL);
    return 2;
  });
  ASSERT_EQ(killed, -1) << "the writer was not killed";
  std::set<std::string> leftovers = folder.Names();
  leftovers.erase("USER.DAT");
  ASSERT_EQ(leftovers.size(), 1u);
  const auto leftover = folder / *leftovers.begin();

  ASSERT_TRUE(wholefile::Replace(path, kNew));
  EXPECT_TRUE(std::filesystem::exists(leftover)) << "a fresh leftover was removed";
  MakeOld(leftover, std::chrono::seconds(61));
  ASSERT_TRUE(wholefile::Replace(path, kOld));
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT"}));
  EXPECT_EQ(ReadFile(path), kOld);
}

// The writer's own lock keeps its temporary file while it is staged, however
// long it waits for the commit.
TEST(WholeFile, AStagedFileIsNoLeftoverHoweverOld) {
  const TempFolder folder;
  const auto path = folder / "USER.DAT";
  WriteFile(path, kOld);
  wholefile::StagedFile staged;
  ASSERT_TRUE(staged.Stage(path, kNew));
  std::set<std::string> names = folder.Names();
  names.erase("USER.DAT");
  ASSERT_EQ(names.size(), 1u);
  MakeOld(folder / *names.begin(), std::chrono::seconds(600));

  ASSERT_TRUE(wholefile::Replace(path, Bytes{'o', 't', 'h', 'e', 'r'}));
  EXPECT_TRUE(std::filesystem::exists(folder / *names.begin()));
  ASSERT_TRUE(staged.Commit());
  EXPECT_EQ(ReadFile(path), kNew);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"USER.DAT"}));
}

}  // namespace
