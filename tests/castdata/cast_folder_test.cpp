#include "cast_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cast_data_file.h"
#include "cast_picture_fixture.h"
#include "cast_profile.h"
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

  EXPECT_THAT(ListCasts(game_.path()), UnorderedElementsAre("A", "nodat"));
  for (const std::string& name : ListCasts(game_.path())) EXPECT_TRUE(CastExists(name, game_.path()));
  EXPECT_FALSE(CastExists("Upper", game_.path()));
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
