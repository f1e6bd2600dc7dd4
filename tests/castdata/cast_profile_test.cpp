#include "cast_profile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "error.h"
#include "fixture_files.h"
#include "temporary_folder.h"
#include "sjis.h"

namespace {

namespace fs = std::filesystem;
using castdata::CastProfile;
using castdata::ReadCastProfile;
using castdata::WriteCastProfile;
using gamefixture::ReadBytes;
using gamefixture::WriteBytes;
using ::testing::HasSubstr;

class CastProfileFile : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(game_.path() / "cast"); }
  fs::path ProfileFile(const std::string& name) const { return game_.path() / "cast" / (name + ".cst"); }

  gamefixture::TemporaryFolder game_;
};

TEST_F(CastProfileFile, FirstSaveWritesTheSixKeysInOrderInShiftJis) {
  const CastProfile profile{"ゼンター", "一行目", "", "三行目", "作者", "a@example.jp"};
  WriteCastProfile("A", profile, game_.path());
  EXPECT_EQ(ReadBytes(ProfileFile("A")),
            *sjis::FromUtf8("[Data]\r\nName=ゼンター\r\nComm1=一行目\r\nComm2=\r\nComm3=三行目\r\n"
                            "Maker=作者\r\nEMail=a@example.jp\r\n"));
  EXPECT_EQ(ReadCastProfile("A", game_.path()), profile);  // the empty comment reads as empty
}

TEST_F(CastProfileFile, ASaveReplacesValuesWhereTheyStand) {
  WriteBytes(ProfileFile("A"),
             "[Data]\r\nEMail=old@x\r\nName=old\r\n[Game]\r\nwins=3\r\n");
  WriteCastProfile("A", {"N", "c1", "c2", "c3", "M", "new@x"}, game_.path());
  EXPECT_EQ(ReadBytes(ProfileFile("A")),
            "[Data]\r\nEMail=new@x\r\nName=N\r\nComm1=c1\r\nComm2=c2\r\nComm3=c3\r\nMaker=M\r\n"
            "[Game]\r\nwins=3\r\n");
}

TEST_F(CastProfileFile, AMissingProfileOrKeyReadsAsEmpty) {
  EXPECT_EQ(ReadCastProfile("none", game_.path()), CastProfile());
  WriteBytes(ProfileFile("A"), "[Data]\r\nName=only\r\n");
  CastProfile onlyName;
  onlyName.Name = "only";
  EXPECT_EQ(ReadCastProfile("A", game_.path()), onlyName);
}

TEST_F(CastProfileFile, TextWithoutAShiftJisFormIsRefusedAndNothingIsWritten) {
  WriteBytes(ProfileFile("A"), "[Data]\r\nName=old\r\n");
  try {
    WriteCastProfile("A", {"new", "", "", "", "", "\xF0\x9F\x98\x80"}, game_.path());
    FAIL() << "wrote an emoji";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/A.cst"));
    EXPECT_THAT(error.what(), HasSubstr("EMail"));
  }
  EXPECT_EQ(ReadBytes(ProfileFile("A")), "[Data]\r\nName=old\r\n");  // not even Name
}

TEST_F(CastProfileFile, AFailedWriteNamesTheFileAndTheReason) {
  gamefixture::TemporaryFolder bare;  // no cast folder
  try {
    WriteCastProfile("A", {"N", "", "", "", "", ""}, bare.path());
    FAIL() << "wrote without a cast folder";
  } catch (const castdata::Error& error) {
    EXPECT_THAT(error.what(), HasSubstr("cast/A.cst"));
    EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
  }
  EXPECT_FALSE(fs::exists(bare.path() / "cast"));

  fs::create_directory(ProfileFile("D"));  // a folder where the file should be
  EXPECT_THROW(ReadCastProfile("D", game_.path()), castdata::Error);
  EXPECT_THROW(WriteCastProfile("D", {"N", "", "", "", "", ""}, game_.path()), castdata::Error);
}

}  // namespace
