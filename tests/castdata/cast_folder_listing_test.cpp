#include "cast_folder_listing.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fixture_files.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using castdata::CastFileKind;
using castdata::CastFolderListing;
using gamefixture::WriteBytes;

class CastFolderListingTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(cast_); }

  gamefixture::TemporaryFolder game_;
  fs::path cast_ = game_.path() / "cast";
};

// Each cast's data file, read through the listing: what is there, cut at the
// limit, and a failure with a reason for what cannot be read; a pipe is never
// waited for.
TEST_F(CastFolderListingTest, ReadsEachCastsFileOrSaysWhyNot) {
  struct Case {
    std::string name;
    std::string data;  // "FOLDER", "PIPE", "NONE" or the bytes of NAME.dat
    bool read;
    std::string bytes;   // what is read, at most 4 bytes
    std::string reason;  // when it is not read
  } cases[] = {
      {"short", "ab", true, "ab", ""},
      {"long", "abcdefgh", true, "abcd", ""},
      {"empty", "", true, "", ""},
      {"folder", "FOLDER", false, "", "Is a directory"},
      {"pipe", "PIPE", false, "", "通常のファイルではありません"},
      {"none", "NONE", false, "", "No such file or directory"},
  };
  for (const Case& c : cases) {
    WriteBytes(cast_ / (c.name + ".cst"), "[Data]\r\n");
    const fs::path data = cast_ / (c.name + ".dat");
    if (c.data == "FOLDER") {
      fs::create_directory(data);
    } else if (c.data == "PIPE") {
      ASSERT_EQ(::mkfifo(data.c_str(), 0644), 0);
    } else if (c.data != "NONE") {
      WriteBytes(data, c.data);
    }
  }
  const CastFolderListing listing(game_.path());
  ASSERT_EQ(listing.CastCount(), std::size(cases));
  for (std::size_t i = 0; i < listing.CastCount(); ++i) {
    const std::string name(listing.CastName(i));
    const Case& c = *std::find_if(std::begin(cases), std::end(cases), [&](const Case& k) { return k.name == name; });
    std::string bytes = "left over";
    std::string reason;
    EXPECT_EQ(listing.ReadCastFile(i, CastFileKind::kData, 4, bytes, &reason), c.read) << name;
    EXPECT_EQ(bytes, c.bytes) << name;
    EXPECT_EQ(reason, c.reason) << name;
    EXPECT_EQ(listing.FilePath(i, CastFileKind::kData), cast_ / (name + ".dat")) << name;
  }
}

// A symbolic link counts by what it names: a link to a profile file makes a
// cast, a dangling one does not.
TEST_F(CastFolderListingTest, ALinkToAProfileFileMakesACast) {
  WriteBytes(game_.path() / "elsewhere.cst", "[Data]\r\nName=x\r\n");
  fs::create_symlink(game_.path() / "elsewhere.cst", cast_ / "linked.cst");
  fs::create_symlink(game_.path() / "missing.cst", cast_ / "dangling.cst");
  const CastFolderListing listing(game_.path());
  ASSERT_EQ(listing.CastCount(), 1u);
  EXPECT_EQ(listing.CastName(0), "linked");
  std::string bytes;
  ASSERT_TRUE(listing.ReadCastFile(0, CastFileKind::kProfile, SIZE_MAX, bytes));
  EXPECT_EQ(bytes, "[Data]\r\nName=x\r\n");
  EXPECT_EQ(listing.FileName(0, CastFileKind::kPicture), "");
  EXPECT_EQ(listing.FilePath(0, CastFileKind::kPicture), cast_ / "linked.bmp");
}

}  // namespace
