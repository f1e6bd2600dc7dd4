// list: the casts sorted as the editor's list sorts them, with their unit
// name, owner, level, record and hidden-data flag.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "cast_folder.h"
#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class ListCommand : public CastToolGame {};

const std::vector<std::string> kEntryKeys = {"hidden", "level", "losses", "name", "ownerNumber", "unitName", "wins"};

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
      {"ODD", "y", 0, 1, 0, 0, 0, 2, 0, 0},         // only 1 asks to hide the data
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
  ASSERT_EQ(order.size(), 4u);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Json& entry = entries[i];
    EXPECT_EQ(Keys(entry), kEntryKeys);
    EXPECT_EQ(entry["name"], order[i]);
    for (const Cast& c : casts) {
      if (c.name != order[i]) continue;
      EXPECT_EQ(entry["unitName"], c.unitName);
      EXPECT_EQ(entry["ownerNumber"], c.owner);
      EXPECT_EQ(entry["level"], c.level);
      EXPECT_EQ(entry["wins"], c.shownWins) << c.name;
      EXPECT_EQ(entry["losses"], c.shownLosses) << c.name;
      EXPECT_EQ(entry["hidden"], c.hideData == 1) << c.name;
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
    EXPECT_EQ(Keys(entry), (std::vector<std::string>{"error", "name", "unitName"}));
    EXPECT_NE(entry["error"].get<std::string>().find("NODATA.dat"), std::string::npos) << entry.dump();
  }
  ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
  EXPECT_NE(result.err.find("NODATA.dat"), std::string::npos);
}

// A data file that is a folder or a pipe is reported, never waited for.
TEST_F(ListCommand, ADataFileThatIsNoFileIsAnError) {
  Write(ValidCast("FOLDER"));
  Write(ValidCast("PIPE"));
  std::filesystem::remove(game() / "cast/FOLDER.dat");
  std::filesystem::create_directory(game() / "cast/FOLDER.dat");
  std::filesystem::remove(game() / "cast/PIPE.dat");
  ASSERT_EQ(::mkfifo((game() / "cast/PIPE.dat").c_str(), 0644), 0);
  const ProgramResult result = Run({"list"});
  EXPECT_EQ(result.exitStatus, 1);
  const std::string folder = game().generic_string() + "/cast/";
  EXPECT_EQ(Lines(result.err),
            (std::vector<std::string>{"casttool: 「" + folder + "FOLDER.dat」を読み込めません: ファイルではなくフォルダです",
                                      "casttool: 「" + folder + "PIPE.dat」を読み込めません: 読み取りに失敗しました（通常のファイルではありません）"}));
  EXPECT_EQ(Lines(result.out).size(), 3u) << result.out;
}

TEST_F(ListCommand, TextIsAHeaderAndOneTabSeparatedLinePerCast) {
  Write(ValidCast("ABC"));
  gamefixture::WriteBytes(game() / "cast/NODATA.cst", "[Data]\r\nName=x\r\n");
  const ProgramResult result = Run({"list"});
  std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 3u) << result.out;
  EXPECT_EQ(lines[0], "name\tunitName\townerNumber\tlevel\twins\tlosses\thidden");
  EXPECT_EQ(lines[1], "ABC\t紅蓮\t7\t20\t3\t2\tfalse");
  EXPECT_EQ(lines[2].rfind("NODATA\tx\terror: ", 0), 0u) << lines[2];
}

// Sorted as a player reads a list, the same on every machine: by name
// without letter case, ties (one cast in two spellings) by the exact bytes.
TEST_F(ListCommand, CastsAreSortedByNameWithoutLetterCase) {
  for (const std::string name : {"b", "Zeta", "B2", "機体", "a10", "abc", "ABC", "A9", "ab-c", "_x", "1st", "10"}) {
    Write(ValidCast(name));
  }
  const std::vector<std::string> expected = {"10", "1st", "_x", "a10", "A9", "ab-c", "ABC", "b", "B2", "Zeta", "機体"};
  const ProgramResult text = Run({"list"});
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  std::vector<std::string> names;
  for (const std::string& line : Lines(text.out)) names.push_back(line.substr(0, line.find('\t')));
  names.erase(names.begin());  // the header
  EXPECT_EQ(names, expected);

  const Json entries = Parsed(Run({"list", "--json"}));
  names.clear();
  for (const Json& entry : entries) names.push_back(entry["name"]);
  EXPECT_EQ(names, expected);
  EXPECT_EQ(castdata::ListCasts(game()), expected) << "the editor's list";
}

// A field never breaks a line or adds a column: tab, CR, LF and backslash are
// escaped in text; JSON has its own escapes.
TEST_F(ListCommand, TabsAndLineBreaksInFieldsAreEscaped) {
  FixtureCast tab = ValidCast("tab\there");
  tab.profile.Name = "a\rb\\c";
  Write(tab);
  Write(ValidCast("line\nbreak"));
  const ProgramResult text = Run({"list"});
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  EXPECT_EQ(Lines(text.out), (std::vector<std::string>{"name\tunitName\townerNumber\tlevel\twins\tlosses\thidden",
                                                       "line\\nbreak\t紅蓮\t7\t20\t3\t2\tfalse",
                                                       "tab\\there\ta\\rb\\\\c\t7\t20\t3\t2\tfalse"}));
  const Json entries = Parsed(Run({"list", "--json"}));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0]["name"], "line\nbreak");
  EXPECT_EQ(entries[1]["name"], "tab\there");
  EXPECT_EQ(entries[1]["unitName"], "a\rb\\c");
}

TEST_F(ListCommand, NoCastsListsNothing) {
  std::filesystem::remove_all(game() / "cast");
  const ProgramResult result = Run({"list", "--json"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(Parsed(result), Json::array());
  const ProgramResult text = Run({"list"});
  EXPECT_EQ(text.exitStatus, 0);
  EXPECT_EQ(text.out, "name\tunitName\townerNumber\tlevel\twins\tlosses\thidden\n");
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
