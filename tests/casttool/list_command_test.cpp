// list: the casts in ListCasts order with their unit name, owner, level,
// record and hidden-data flag.
#include <gtest/gtest.h>

#include "cast_folder.h"
#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class ListCommand : public CastToolGame {};

const std::vector<std::string> kEntryKeys = {"Name", "hideData", "level", "losses", "name", "ownerNumber", "wins"};

TEST_F(ListCommand, JsonEntriesInListCastsOrder) {
  struct Cast {
    std::string name;
    std::string unitName;
    std::int16_t owner, level, wins, losses, recordCheck, hideData;
    std::int16_t shownWins, shownLosses;
  } casts[] = {
      {"ABC", "紅蓮", 7, 20, 3, 2, 11, 0, 3, 2},
      {"他人", "蒼天", 9, 35, 10, 1, 18, 1, 10, 1},
      {"BAD-REC", "x", 0, 1, 10, 1, 11, 0, 0, 0},  // a mismatching record check shows as the editor shows it
  };
  for (const Cast& c : casts) {
    FixtureCast cast = ValidCast(c.name);
    cast.profile.Name = c.unitName;
    cast.record.ownerNumber = c.owner;
    cast.record.level = c.level;
    cast.record.wins = c.wins;
    cast.record.losses = c.losses;
    cast.record.recordCheck = c.recordCheck;
    cast.record.hideData = c.hideData;
    Write(cast);
  }
  gamefixture::WriteBytes(game() / "cast/NOPROF.dat", "only a data file: no cast");

  const ProgramResult result = Run({"list", "--json"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const Json entries = Parsed(result);
  ASSERT_TRUE(entries.is_array());
  const std::vector<std::string> order = castdata::ListCasts(game());
  ASSERT_EQ(entries.size(), order.size());
  ASSERT_EQ(order.size(), 3u);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Json& entry = entries[i];
    EXPECT_EQ(Keys(entry), kEntryKeys);
    EXPECT_EQ(entry["name"], order[i]);
    for (const Cast& c : casts) {
      if (c.name != order[i]) continue;
      EXPECT_EQ(entry["Name"], c.unitName);
      EXPECT_EQ(entry["ownerNumber"], c.owner);
      EXPECT_EQ(entry["level"], c.level);
      EXPECT_EQ(entry["wins"], c.shownWins) << c.name;
      EXPECT_EQ(entry["losses"], c.shownLosses) << c.name;
      EXPECT_EQ(entry["hideData"], c.hideData);
    }
  }
}

TEST_F(ListCommand, ACastThatCannotBeReadIsListedWithItsError) {
  Write(ValidCast("GOOD"));
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\nName=x\r\n");  // a profile file alone
  const ProgramResult result = Run({"list", "--json"});
  EXPECT_EQ(result.exitStatus, 1);
  const Json entries = Parsed(result);
  ASSERT_EQ(entries.size(), 2u);
  for (const Json& entry : entries) {
    if (entry["name"] == "GOOD") {
      EXPECT_EQ(Keys(entry), kEntryKeys);
      continue;
    }
    EXPECT_EQ(Keys(entry), (std::vector<std::string>{"Name", "error", "name"}));
    EXPECT_NE(entry["error"].get<std::string>().find("NODATA.dat"), std::string::npos) << entry.dump();
  }
  ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
  EXPECT_NE(result.err.find("NODATA.dat"), std::string::npos);
}

TEST_F(ListCommand, TextIsAHeaderAndOneTabSeparatedLinePerCast) {
  Write(ValidCast("ABC"));
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\nName=x\r\n");
  const ProgramResult result = Run({"list"});
  std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 3u) << result.out;
  EXPECT_EQ(lines[0], "name\tName\townerNumber\tlevel\twins\tlosses\thideData");
  std::sort(lines.begin() + 1, lines.end());
  EXPECT_EQ(lines[1], "ABC\t紅蓮\t7\t20\t3\t2\t0");
  EXPECT_EQ(lines[2].rfind("NODATA\tx\terror: ", 0), 0u) << lines[2];
}

TEST_F(ListCommand, NoCastsListsNothing) {
  std::filesystem::remove_all(game() / "cast");
  const ProgramResult result = Run({"list", "--json"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(Parsed(result), Json::array());
}

TEST_F(ListCommand, ANameThatIsNotUtf8StillGivesJson) {
  FixtureCast cast = ValidCast(std::string("\x8B\x8D", 2));  // a Shift-JIS file name
  Write(cast);
  const ProgramResult result = Run({"list", "--json"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const Json entries = Parsed(result);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]["name"], "\xEF\xBF\xBD\xEF\xBF\xBD") << "each stray byte replaced by U+FFFD";
}

}  // namespace
}  // namespace casttooltest
