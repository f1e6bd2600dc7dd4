#include "cast_save.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "cast_data_file.h"
#include "cast_profile.h"
#include "error.h"
#include "file_size_limit.h"
#include "fixture_files.h"
#include "folder_snapshot.h"
#include "immutable_file.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using castdata::CastProfile;
using castdata::CastRecord;
using castdata::WriteCastFiles;
using gamefixture::ImmutableFile;
using gamefixture::ReadBytes;
using gamefixture::WriteBytes;
using ::testing::HasSubstr;

CastRecord SomeRecord() {
  CastRecord record;
  record.weaponIndex = {12, 1, 2, 0, 0, 0};
  record.level = 20;
  record.ownerNumber = 1207;
  return record;
}

const CastProfile kProfile{"疾風", "一行目", "", "三行目", "作者", "a@example.jp"};

class CastSave : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(game_.path() / "cast"); }
  fs::path File(const char* name) const { return game_.path() / "cast" / name; }

  gamefixture::TemporaryFolder game_;
};

TEST_F(CastSave, WritesWhatTheTwoSingleWritersWrite) {
  WriteBytes(File("A.dat"), std::string(200, '\x11'));
  WriteBytes(File("A.cst"), "[Other]\r\nKey=kept\r\n");
  gamefixture::TemporaryFolder single;
  fs::copy(game_.path() / "cast", single.path() / "cast");

  WriteCastFiles("A", SomeRecord(), kProfile, game_.path());
  castdata::WriteCastData("A", SomeRecord(), single.path());
  castdata::WriteCastProfile("A", kProfile, single.path());
  EXPECT_EQ(gamefixture::SnapshotFolder(game_.path()), gamefixture::SnapshotFolder(single.path()));
}

TEST_F(CastSave, AFailureBeforeTheRenamesWritesNothing) {
  struct Case {
    const char* what;
    void (*arrange)(const fs::path& cast);
    CastProfile profile;
    const char* namedFile;
    const char* reason;
  };
  const Case cases[] = {
      {"no cast folder", [](const fs::path& cast) { fs::remove_all(cast); }, kProfile, "cast/A.dat",
       "No such file or directory"},
      {"a profile text without a Shift-JIS form",
       [](const fs::path& cast) { WriteBytes(cast / "A.dat", "old data"); },
       {"N", "", "", "", "", "\xF0\x9F\x98\x80"}, "cast/A.cst", "EMail"},
      {"a folder where the profile file goes",
       [](const fs::path& cast) {
         WriteBytes(cast / "A.dat", "old data");
         fs::create_directory(cast / "A.cst");
       },
       kProfile, "cast/A.cst", ""},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder game;
    fs::create_directory(game.path() / "cast");
    c.arrange(game.path() / "cast");
    const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game.path());
    try {
      WriteCastFiles("A", SomeRecord(), c.profile, game.path());
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const castdata::Error& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.namedFile)) << c.what;
      EXPECT_THAT(error.what(), HasSubstr(c.reason)) << c.what;
    }
    EXPECT_EQ(gamefixture::SnapshotFolder(game.path()), before) << c.what;
  }
}

TEST_F(CastSave, AProfileThatCannotBePutInPlacePutsTheDataFileBack) {
  for (const bool dataFileExisted : {true, false}) {
    gamefixture::TemporaryFolder game;
    const fs::path cast = game.path() / "cast";
    if (dataFileExisted) WriteBytes(cast / "A.dat", std::string(190, '\x22'));
    WriteBytes(cast / "A.cst", "[Data]\r\nName=old\r\n");
    const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game.path());
    {
      const ImmutableFile locked(cast / "A.cst");
      if (!locked.Settable()) GTEST_SKIP() << "this file system or process cannot make a file immutable";
      try {
        WriteCastFiles("A", SomeRecord(), kProfile, game.path());
        ADD_FAILURE() << "wrote over an immutable profile file";
      } catch (const castdata::Error& error) {
        EXPECT_THAT(error.what(), HasSubstr("cast/A.cst"));
        EXPECT_THAT(error.what(), HasSubstr("Operation not permitted"));
        EXPECT_THAT(error.what(), ::testing::Not(HasSubstr("元に戻せません")));
      }
    }
    EXPECT_EQ(gamefixture::SnapshotFolder(game.path()), before) << "data file existed: " << dataFileExisted;
  }
}

TEST_F(CastSave, ADataFileThatCannotBePutInPlaceLeavesTheProfileAlone) {
  WriteBytes(File("A.dat"), std::string(186, '\x33'));
  WriteBytes(File("A.cst"), "[Data]\r\nName=old\r\n");
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game_.path());
  {
    const ImmutableFile locked(File("A.dat"));
    if (!locked.Settable()) GTEST_SKIP() << "this file system or process cannot make a file immutable";
    EXPECT_THROW(WriteCastFiles("A", SomeRecord(), kProfile, game_.path()), castdata::Error);
  }
  EXPECT_EQ(gamefixture::SnapshotFolder(game_.path()), before);
}

// Links in cast/ are the player's own arrangement (casts kept elsewhere): a
// save writes the files they point to and leaves the links.
TEST_F(CastSave, ASaveWritesThroughThePlayersLinks) {
  const fs::path elsewhere = game_.path() / "kept";
  fs::create_directory(elsewhere);
  WriteBytes(elsewhere / "A.dat", std::string(186, '\x11'));
  WriteBytes(elsewhere / "A.cst", "[Data]\r\nName=old\r\n");
  fs::create_symlink("../kept/A.dat", File("A.dat"));
  fs::create_symlink(elsewhere / "A.cst", File("A.cst"));

  WriteCastFiles("A", SomeRecord(), kProfile, game_.path());

  EXPECT_TRUE(fs::is_symlink(File("A.dat")));
  EXPECT_TRUE(fs::is_symlink(File("A.cst")));
  EXPECT_EQ(castdata::ReadCastProfile("A", game_.path()), kProfile);
  EXPECT_NE(ReadBytes(elsewhere / "A.cst"), "[Data]\r\nName=old\r\n");
  EXPECT_NE(ReadBytes(elsewhere / "A.dat"), std::string(186, '\x11'));
  EXPECT_EQ(castdata::ReadCastData("A", game_.path()), SomeRecord());
}

TEST_F(CastSave, AFullDiskNamesTheFileAndLeavesBothOldFilesAndNoTemporaryFile) {
  CastProfile longProfile = kProfile;
  longProfile.Comm1 = longProfile.Comm2 = longProfile.Comm3 = std::string(100, 'a');
  // The new data file has 200 bytes (the old file's length) or 186 (a new
  // cast's), the new profile file more than 300. The last row shows that the
  // limit lets through what fits, so the others fail for the size alone.
  struct Case {
    const char* what;
    std::size_t limit;
    const char* namedFile;  // nullptr: the save goes through
  };
  const Case cases[] = {
      {"nothing may be written", 0, "cast/A.dat"},
      {"the data file is cut short", 100, "cast/A.dat"},
      {"the data file fits, the profile file does not", 300, "cast/A.cst"},
      {"both fit", 4096, nullptr},
  };
  for (const bool castExisted : {true, false}) {
    for (const Case& c : cases) {
      const std::string what = std::string(c.what) + (castExisted ? ", over a cast" : ", a new cast");
      gamefixture::TemporaryFolder game;
      const fs::path cast = game.path() / "cast";
      fs::create_directory(cast);
      if (castExisted) {
        WriteBytes(cast / "A.dat", std::string(200, '\x11'));
        WriteBytes(cast / "A.cst", "[Data]\r\nName=old\r\n");
      }
      const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game.path());
      const std::string message = gamefixture::RunWithFileSizeLimit(c.limit, [&] {
        try {
          WriteCastFiles("A", SomeRecord(), longProfile, game.path());
          return std::string("saved");
        } catch (const castdata::Error& error) {
          return std::string(error.what());
        }
      });
      if (c.namedFile == nullptr) {
        EXPECT_EQ(message, "saved") << what;
        continue;
      }
      EXPECT_THAT(message, HasSubstr(c.namedFile)) << what;
      EXPECT_THAT(message, HasSubstr("File too large")) << what;
      EXPECT_EQ(gamefixture::SnapshotFolder(game.path()), before) << what;
    }
  }
}

}  // namespace
