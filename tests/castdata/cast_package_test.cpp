#include "cast_package.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cast_picture_fixture.h"
#include "error.h"
#include "package_fixture.h"
#include "temporary_folder.h"
#include "sjis.h"
#include "whole_file.h"

namespace {

using castdata::CastPackage;
using castdata::PackageReading;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

CastPackage SomeCast(std::string name) {
  return CastPackage{std::move(name), gamefixture::MakeCastPicture(9), std::vector<std::uint8_t>(186, 0x11),
                     Bytes("[Data]\r\nName=ゼロ\r\n")};
}

TEST(CastPackageWriter, LaysOutTheFieldsAsTheGameDoes) {
  struct Case {
    std::string name;       // UTF-8
    std::uint32_t n;        // characters
  };
  for (const Case& c : {Case{"ABC", 3}, Case{"機体機体機体機体", 8}, Case{"aアイウエ", 5}}) {
    const CastPackage cast = SomeCast(c.name);
    gamefixture::PackageFields expected;
    expected.nameField = *sjis::FromUtf8(c.name);  // the fixture keeps the first 8 bytes, zero-filled
    expected.nameLength = c.n;
    expected.picture = cast.picture;
    expected.castData = cast.castData;
    expected.castProfile = cast.castProfile;
    EXPECT_EQ(castdata::WriteCastPackage(cast), gamefixture::PackageBytes(expected)) << c.name;
  }
}

TEST(CastPackageWriter, WrittenPackageReadsBackIntoTheSameParts) {
  struct Case {
    std::string written;
    std::string readBack;
  };
  // "ソ" ends in the byte of "\"; a name of 9 bytes travels cut to whole characters.
  for (const Case& c : {Case{"ABC", "ABC"}, Case{"ソフト", "ソフト"}, Case{"aアイウエ", "aアイウ"}}) {
    const CastPackage cast = SomeCast(c.written);
    const PackageReading reading = castdata::ReadCastPackage(castdata::WriteCastPackage(cast));
    ASSERT_EQ(reading.status, PackageReading::Status::kRead) << c.written << ": " << reading.problem;
    CastPackage expected = cast;
    expected.castName = c.readBack;
    EXPECT_EQ(reading.package, expected) << c.written;
  }
}

TEST(CastPackageWriter, RefusesWhatThePackageCannotCarry) {
  std::vector<CastPackage> refused(6, SomeCast("ABC"));
  refused[0].picture.pop_back();
  refused[1].castData.clear();
  refused[2].castProfile.clear();
  refused[3].castName = "a/b";
  refused[4].castName = "\xF0\x9F\x98\x80";  // no Shift-JIS form
  refused[5].castProfile.resize(castdata::kLongestPackageWritten);
  for (const CastPackage& cast : refused) {
    EXPECT_THROW(castdata::WriteCastPackage(cast), castdata::Error) << cast.castName;
  }
}

TEST(CastPackageWriter, BuildsThePackageOfACastInAGameFolder) {
  gamefixture::TemporaryFolder game;
  std::filesystem::create_directory(game.path() / "cast");
  const CastPackage cast = SomeCast("ABC");
  ASSERT_TRUE(wholefile::Replace(game.path() / "cast/ABC.bmp", cast.picture));
  ASSERT_TRUE(wholefile::Replace(game.path() / "cast/ABC.dat", cast.castData));
  try {
    castdata::BuildCastPackage(game.path(), "ABC");
    ADD_FAILURE() << "a cast without its profile file was packed";
  } catch (const castdata::Error& error) {
    EXPECT_NE(std::string(error.what()).find("cast/ABC.cst"), std::string::npos) << error.what();
  }
  ASSERT_TRUE(wholefile::Replace(game.path() / "cast/ABC.cst", cast.castProfile));
  EXPECT_EQ(castdata::BuildCastPackage(game.path(), "ABC"), castdata::WriteCastPackage(cast));
}

TEST(CastPackageReader, TakesTheLow16BitsOfEachLength) {
  gamefixture::PackageFields fields;
  fields.nameLength = 0x10003;
  fields.dataLength = 0x70000 + 186;
  fields.profileLength = 0xFFFF0000 + static_cast<std::uint32_t>(fields.castProfile.size());
  const PackageReading reading = castdata::ReadCastPackage(gamefixture::PackageBytes(fields));
  ASSERT_EQ(reading.status, PackageReading::Status::kRead) << reading.problem;
  EXPECT_EQ(reading.package.castName, "ABC");
  EXPECT_EQ(reading.package.castData, fields.castData);
  EXPECT_EQ(reading.package.castProfile, fields.castProfile);
}

}  // namespace
