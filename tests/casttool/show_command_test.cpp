// show: one cast, every field by its name.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class ShowCommand : public CastToolGame {};

// The record fields in slot order, as `show --json` names them.
const std::vector<std::pair<std::string, std::size_t>> kRecordFields = {
    {"weaponIndex", 6}, {"paramValue", 4}, {"keepDistance", 1}, {"constantTen", 1}, {"weaponShare", 5},
    {"movePattern", 9}, {"paramPoints", 4}, {"ownerNumber", 1}, {"hideData", 1},
    {"advanceOnEnemyOverheat", 1}, {"retreatOnOwnOverheat", 1}, {"specialOnEnemyOverheat", 1},
    {"wins", 1}, {"losses", 1}, {"recordCheck", 1}, {"level", 1}, {"weaponStopPercent", 1},
    {"serial", 1}, {"defendAfterHits", 1}, {"dodgeSideways", 1}, {"defendDamageThreshold", 1},
    {"specialAfterThreeCharges", 1}, {"defendSuddenAttacks", 1}, {"endMark", 1},
};

// A cast whose slot s holds 100 + s (slot 46, endMark, is never read), but
// for hideData (slot 31): another player's cast whose maker asked to hide its
// data.
FixtureCast HiddenCastWithEverySlotDistinct() {
  FixtureCast cast = ValidCast("HIDDEN");
  std::int16_t value = 100;
  castdata::ForEachSlot(cast.record, [&](std::int16_t& field) { field = value++; });
  cast.record.hideData = 1;
  return cast;
}

TEST_F(ShowCommand, JsonHoldsEveryFieldInSlotOrderAlsoOfAHiddenCast) {
  const FixtureCast cast = HiddenCastWithEverySlotDistinct();
  Write(cast);
  const ProgramResult result = Run({"show", "HIDDEN", "--json"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const Json shown = Parsed(result);
  EXPECT_EQ(Keys(shown), (std::vector<std::string>{"name", "pictureBytes", "pictureProblem", "pictureUploadable",
                                                   "profile", "record"}));
  EXPECT_EQ(shown["name"], "HIDDEN");
  EXPECT_EQ(shown["pictureBytes"], 5174);
  EXPECT_EQ(shown["profile"], (Json{{"Name", "紅蓮"}, {"Comm1", "一行目"}, {"Comm2", ""}, {"Comm3", "三行目"},
                                    {"Maker", "作者"}, {"EMail", "maker@example.com"}}));

  const Json& record = shown["record"];
  ASSERT_EQ(record.size(), kRecordFields.size());
  std::vector<int> values;
  std::size_t field = 0;
  for (const auto& [key, value] : record.items()) {
    EXPECT_EQ(key, kRecordFields[field].first) << "field " << field;
    if (kRecordFields[field].second == 1) {
      EXPECT_TRUE(value.is_number()) << key;
      values.push_back(value.get<int>());
    } else {
      EXPECT_EQ(value.size(), kRecordFields[field].second) << key;
      for (const Json& element : value) values.push_back(element.get<int>());
    }
    ++field;
  }
  ASSERT_EQ(values.size(), castdata::kCastSlotCount);
  constexpr std::size_t kHideDataSlot = 31;
  for (std::size_t slot = 0; slot + 1 < values.size(); ++slot) {
    EXPECT_EQ(values[slot], slot == kHideDataSlot ? 1 : static_cast<int>(100 + slot)) << "slot " << slot;
  }
  EXPECT_EQ(values.back(), 0) << "endMark is never read";
  EXPECT_EQ(record["hideData"], 1);
}

TEST_F(ShowCommand, PictureBytesAsTheFileHasThem) {
  struct Case {
    std::optional<std::vector<std::uint8_t>> picture;
    Json bytes;
  } cases[] = {
      {gamefixture::MakeCastPicture(), 5174},
      {std::vector<std::uint8_t>(100, 1), 100},
      {std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    FixtureCast cast = ValidCast();
    cast.picture = c.picture;
    std::filesystem::remove(game() / "cast/ABC.bmp");
    Write(cast);
    const ProgramResult result = Run({"show", "ABC", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(Parsed(result)["pictureBytes"], c.bytes);
    EXPECT_EQ(std::filesystem::exists(game() / "cast/ABC.bmp"), c.picture.has_value())
        << "show never makes a picture";
  }
}

TEST_F(ShowCommand, TextIsOneKeyAndValueLinePerField) {
  Write(ValidCast());
  const ProgramResult result = Run({"show", "ABC"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 1u + 6u + kRecordFields.size() + 3u) << result.out;
  EXPECT_EQ(lines[0], "name: ABC");
  EXPECT_EQ(lines[1], "Name: 紅蓮");
  EXPECT_EQ(lines[3], "Comm2: ");
  EXPECT_EQ(lines[7], "weaponIndex: 9 0 0 0 0 0");
  EXPECT_EQ(lines[9], "keepDistance: 200");
  EXPECT_EQ(lines[lines.size() - 3], "pictureBytes: 5174");
  EXPECT_EQ(lines[lines.size() - 2], "pictureUploadable: true");
  EXPECT_EQ(lines.back(), "pictureProblem: none");
}

// Whether the picture is one the upload and the game take: 64 x 64 with 256
// colours in 5174 bytes, and why not.
TEST_F(ShowCommand, PictureUploadableTellsWhetherTheUploadTakesThePicture) {
  std::vector<std::uint8_t> wrongWidth = gamefixture::MakeCastPicture();
  wrongWidth[18] = 32;  // a 5174-byte file, but 32 pixels wide
  struct Case {
    std::optional<std::vector<std::uint8_t>> picture;
    bool uploadable;
    std::string problem;  // a part of the reason
  } cases[] = {
      {gamefixture::MakeCastPicture(), true, ""},
      {std::vector<std::uint8_t>(100, 1), false, "5174"},
      {wrongWidth, false, "32"},
      {std::nullopt, false, "ファイルが見つかりません"},
  };
  for (const Case& c : cases) {
    FixtureCast cast = ValidCast();
    cast.picture = c.picture;
    std::filesystem::remove(game() / "cast/ABC.bmp");
    Write(cast);
    const ProgramResult result = Run({"show", "ABC", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const Json shown = Parsed(result);
    EXPECT_EQ(shown["pictureUploadable"], c.uploadable) << c.problem;
    if (c.uploadable) {
      EXPECT_TRUE(shown["pictureProblem"].is_null()) << shown["pictureProblem"];
    } else {
      EXPECT_NE(shown["pictureProblem"].get<std::string>().find(c.problem), std::string::npos)
          << shown["pictureProblem"];
    }
  }
}

TEST_F(ShowCommand, ACastThatCannotBeReadIsAFailureNamingTheFile) {
  struct Case {
    std::string name;
    std::string file;
  } cases[] = {
      {"NONE", "cast/NONE.cst"},      // no such cast
      {"NODATA", "cast/NODATA.dat"},  // a profile file alone
      {"DATA", "cast/DATA.cst"},      // a data file alone is no cast
      {"../ABC", ""},                 // a name that leaves the cast folder
      {"PIPE", "cast/PIPE.dat"},      // a pipe is never waited for
  };
  Write(ValidCast());
  Write(ValidCast("PIPE"));
  std::filesystem::remove(game() / "cast/PIPE.dat");
  ASSERT_EQ(::mkfifo((game() / "cast/PIPE.dat").c_str(), 0644), 0);
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\n");
  gamefixture::WriteBytes(game() / "cast/DATA.dat", std::string(186, '\0'));
  for (const Case& c : cases) {
    const ProgramResult result = Run({"show", c.name, "--json"});
    EXPECT_EQ(result.exitStatus, 2) << c.name;
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(c.file), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace casttooltest
