#include "cast_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cast_data_file.h"
#include "cast_file_path.h"
#include "cast_picture_fixture.h"
#include "cast_profile.h"
#include "cast_save.h"
#include "error.h"
#include "fixture_files.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using castdata::CastExists;
using castdata::EnsureCastPicture;
using castdata::ListCasts;
using gamefixture::ReadBytes;
using gamefixture::WriteBytes;
using ::testing::HasSubstr;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class CastFolder : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(cast_); }

  gamefixture::TemporaryFolder game_;
  fs::path cast_ = game_.path() / "cast";
};

TEST_F(CastFolder, OnlyProfileFilesMakeCasts) {
  WriteBytes(cast_ / "A.cst", "[Data]\r\n");
  WriteBytes(cast_ / "Upper.CST", "");
  WriteBytes(cast_ / "datonly.dat", "");     // a data file without a profile
  WriteBytes(cast_ / "bmponly.bmp", "");     // a picture without a profile
  WriteBytes(cast_ / "nodat.cst", "");       // a profile without a data file
  WriteBytes(cast_ / "a.cstx", "");
  WriteBytes(cast_ / "b.cs", "");
  WriteBytes(cast_ / ".cst", "");            // would be an empty name
  WriteBytes(cast_ / "back\\slash.cst", "");  // a name every operation refuses
  fs::create_directory(cast_ / "folder.cst");

  EXPECT_THAT(ListCasts(game_.path()), ElementsAre("A", "nodat", "Upper"));
  for (const std::string& name : ListCasts(game_.path())) EXPECT_TRUE(CastExists(name, game_.path()));
  EXPECT_TRUE(CastExists("upper", game_.path()));
  EXPECT_TRUE(CastExists("A", game_.path()));
  EXPECT_TRUE(CastExists("nodat", game_.path()));
  EXPECT_FALSE(CastExists("datonly", game_.path()));
  EXPECT_FALSE(CastExists("bmponly", game_.path()));
  EXPECT_FALSE(CastExists("folder", game_.path()));
  EXPECT_FALSE(CastExists("missing", game_.path()));
  // Listed, but its data file is missing: loading it fails.
  EXPECT_THROW(castdata::ReadCastData("nodat", game_.path()), castdata::Error);
}

TEST_F(CastFolder, NoCastFolderListsNothing) {
  gamefixture::TemporaryFolder bare;
  EXPECT_TRUE(ListCasts(bare.path()).empty());
  EXPECT_FALSE(CastExists("A", bare.path()));
}

TEST_F(CastFolder, AHyphenAndEightJapaneseCharactersMakeNames) {
  gamefixture::WriteDefaultPicture(game_.path());
  for (const std::string name : {"my-cast", "機体機体機体機体"}) {
    castdata::CastRecord record;
    record.level = 33;
    castdata::WriteCastData(name, record, game_.path());
    castdata::CastProfile profile;
    profile.Name = name;
    castdata::WriteCastProfile(name, profile, game_.path());
    EnsureCastPicture(name, game_.path());
    EXPECT_TRUE(CastExists(name, game_.path()));
    EXPECT_EQ(castdata::ReadCastData(name, game_.path()).level, 33);
    EXPECT_EQ(castdata::ReadCastProfile(name, game_.path()).Name, name);
    EXPECT_TRUE(fs::exists(cast_ / (name + ".bmp")));
  }
  EXPECT_THAT(ListCasts(game_.path()), UnorderedElementsAre("my-cast", "機体機体機体機体"));
}

// A folder made on Windows: extensions and names in any letter case, a cast
// in two spellings, and the three files of one cast each spelled its own way.
TEST_F(CastFolder, CastsAreListedOnceInAnyLetterCaseSortedAsAPlayerReadsThem) {
  for (const char* file : {"zeta.cst", "HAYATE.CST", "hayate.cst", "Beta.Cst", "alpha.cst", "ALPHA2.cst",
                           "hayate.DAT", "Hayate.bmp", "HAYATE.BMP", "Beta.dat", "omega.DAT", "機体.cst", "al-pha.cst",
                           "2nd.cst", "10th.cst", "_under.cst", "b.cst", "B2.cst", "x.CST", "x.cst", "x.Dat",
                           "X.dat", "x.dat"}) {
    WriteBytes(cast_ / file, "");
  }
  const std::vector<castdata::ListedCast> casts = castdata::ListCastFiles(game_.path());
  std::vector<std::string> names;
  for (const castdata::ListedCast& cast : casts) names.push_back(cast.name);
  // Digits before "_" before letters (as lower case) before Japanese, byte by
  // byte; a hyphen before letters; a shorter name before a longer one.
  EXPECT_THAT(names, ElementsAre("10th", "2nd", "_under", "al-pha", "alpha", "ALPHA2", "b", "B2", "Beta", "HAYATE",
                                 "x", "zeta", "機体"));
  EXPECT_EQ(ListCasts(game_.path()), names);

  // Each file is the one the cast's name resolves to: the exact spelling,
  // else the first in byte order, and a missing one where a new file would
  // go.
  const auto listed = [&](const std::string& name) {
    return *std::find_if(casts.begin(), casts.end(), [&](const castdata::ListedCast& c) { return c.name == name; });
  };
  const castdata::ListedCast hayate = listed("HAYATE");
  EXPECT_EQ(hayate.profileFile, cast_ / "HAYATE.CST");
  EXPECT_EQ(hayate.dataFile, cast_ / "hayate.DAT");
  EXPECT_EQ(hayate.pictureFile, cast_ / "HAYATE.BMP");
  EXPECT_EQ(listed("Beta").dataFile, cast_ / "Beta.dat");
  EXPECT_EQ(listed("Beta").pictureFile, cast_ / "Beta.bmp");
  EXPECT_EQ(listed("x").profileFile, cast_ / "x.cst");
  EXPECT_EQ(listed("x").dataFile, cast_ / "x.dat");
  for (const castdata::ListedCast& cast : casts) {
    EXPECT_EQ(castdata::CastFilePath(cast.name, ".cst", game_.path()), cast.profileFile) << cast.name;
    EXPECT_EQ(castdata::CastFilePath(cast.name, ".dat", game_.path()), cast.dataFile) << cast.name;
    EXPECT_EQ(castdata::CastFilePath(cast.name, ".bmp", game_.path()), cast.pictureFile) << cast.name;
  }
}

// Saving over a cast whose files are spelled otherwise rewrites those files
// where they are, and a new cast goes into the cast folder as it is spelled.
TEST(CastFolderCase, FilesAreReplacedWhereTheyAreAndNewOnesGoIntoTheFolderThatIsThere) {
  gamefixture::TemporaryFolder game;
  const fs::path folder = game.path() / "Cast";
  fs::create_directory(folder);
  WriteBytes(folder / "def.bmp", gamefixture::AsText(gamefixture::MakeCastPicture(0)));
  WriteBytes(folder / "hayate.DAT", std::string(186, '\0'));
  WriteBytes(folder / "Hayate.CST", "[Data]\r\nName=old\r\n");

  castdata::CastRecord record;
  record.level = 41;
  castdata::CastProfile profile;
  profile.Name = "new";
  castdata::WriteCastFiles("HAYATE", record, profile, game.path());
  castdata::WriteCastFiles("NEW", record, profile, game.path());
  EnsureCastPicture("HAYATE", game.path());

  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(game.path())) {
    files.push_back(fs::relative(entry.path(), game.path()).generic_string());
  }
  EXPECT_THAT(files, UnorderedElementsAre("Cast", "Cast/def.bmp", "Cast/hayate.DAT", "Cast/Hayate.CST",
                                          "Cast/HAYATE.bmp", "Cast/NEW.dat", "Cast/NEW.cst"));
  EXPECT_EQ(castdata::ReadCastData("hayate", game.path()).level, 41);
  EXPECT_EQ(castdata::ReadCastProfile("HaYaTe", game.path()).Name, "new");
}

TEST_F(CastFolder, AMissingPictureIsCopiedFromTheDefaultAndAPresentOneKept) {
  gamefixture::WriteDefaultPicture(game_.path(), 1);
  const std::string own = gamefixture::AsText(gamefixture::MakeCastPicture(2));
  WriteBytes(cast_ / "Own.bmp", own);

  EnsureCastPicture("New", game_.path());
  EnsureCastPicture("Own", game_.path());
  EXPECT_EQ(ReadBytes(cast_ / "New.bmp"), gamefixture::AsText(gamefixture::MakeCastPicture(1)));
  EXPECT_EQ(ReadBytes(cast_ / "Own.bmp"), own);
}

TEST_F(CastFolder, AMissingDefaultPictureFailsNamingIt) {
  try {
    EnsureCastPicture("New", game_.path());
    FAIL() << "made a picture from nothing";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/def.bmp"));
  }
  EXPECT_FALSE(fs::exists(cast_ / "New.bmp"));
}

TEST_F(CastFolder, AWrittenPictureReplacesTheOldOneAndNoPictureIsWritten) {
  WriteBytes(cast_ / "ABC.bmp", "old");
  const std::vector<std::uint8_t> picture = gamefixture::MakeCastPicture(4);
  castdata::WriteCastPicture("ABC", picture, game_.path());
  castdata::WriteCastPicture("New", picture, game_.path());
  EXPECT_EQ(ReadBytes(cast_ / "ABC.bmp"), gamefixture::AsText(picture));
  EXPECT_EQ(ReadBytes(cast_ / "New.bmp"), gamefixture::AsText(picture));

  try {
    castdata::WriteCastPicture("ABC", std::vector<std::uint8_t>(100, 0), game_.path());
    FAIL() << "wrote a picture the upload refuses";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/ABC.bmp"));
    EXPECT_THAT(error.what(), HasSubstr("5174"));
  }
  EXPECT_EQ(ReadBytes(cast_ / "ABC.bmp"), gamefixture::AsText(picture));
}

TEST_F(CastFolder, EveryOperationRefusesANameThatLeavesTheCastFolder) {
  gamefixture::WriteDefaultPicture(game_.path());
  const auto entriesBelow = [&] {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::recursive_directory_iterator(game_.path())) entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
  };
  const std::vector<fs::path> before = entriesBelow();
  for (const std::string& name : {std::string(), std::string("."), std::string(".."), std::string("../A"),
                                 std::string("a/b"), std::string("a\\b"), std::string("a\0b", 3)}) {
    const fs::path folder = game_.path();
    EXPECT_THROW(CastExists(name, folder), castdata::Error);
    EXPECT_THROW(castdata::ReadCastData(name, folder), castdata::Error);
    EXPECT_THROW(castdata::WriteCastData(name, {}, folder), castdata::Error);
    EXPECT_THROW(castdata::ReadCastProfile(name, folder), castdata::Error);
    EXPECT_THROW(castdata::WriteCastProfile(name, {}, folder), castdata::Error);
    EXPECT_THROW(EnsureCastPicture(name, folder), castdata::Error);
    EXPECT_THROW(castdata::WriteCastPicture(name, gamefixture::MakeCastPicture(), folder), castdata::Error);
  }
  EXPECT_EQ(entriesBelow(), before);
}

}  // namespace
