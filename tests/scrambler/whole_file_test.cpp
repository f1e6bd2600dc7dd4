// The one safe whole-file rewrite: what the replaced file keeps, and what a
// replacement that does not happen leaves behind.

#include "whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace
