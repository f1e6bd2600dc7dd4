// check: the save's checks on a cast's files, with the game's weapon lists.
#include <gtest/gtest.h>

#include <functional>

#include "casttool_game.h"

namespace casttooltest {
namespace {

class CheckCommand : public CastToolGame {};

TEST_F(CheckCommand, EachProblemOnItsOwnLine) {
  struct Case {
    std::string what;
    std::function<void(FixtureCast&)> change;
    bool shop;
    std::vector<std::string> problems;  // the lines, each after "GAME/"
  } cases[] = {
      {"a valid cast", [](FixtureCast&) {}, false, {}},
      {"a valid cast in shop mode", [](FixtureCast&) {}, true, {}},
      {"no unit name", [](FixtureCast& c) { c.profile.Name = ""; }, false, {"cast/ABC.cst: Name: no unit name"}},
      {"blanks around a value are not part of it", [](FixtureCast& c) { c.profile.Name = "  "; }, false,
       {"cast/ABC.cst: Name: no unit name"}},
      {"no weapon", [](FixtureCast& c) { c.record.weaponIndex[2] = -1; }, false,
       {"cast/ABC.dat: weaponIndex[2]: no weapon selected (-1)"}},
      {"weapons beyond the lists",
       [](FixtureCast& c) {
         c.record.weaponIndex[1] = 2;
         c.record.weaponIndex[3] = -2;
       },
       false,
       {"cast/ABC.dat: weaponIndex[1]: 2 is not in the list of weapon slot 1 (0-1)",
        "cast/ABC.dat: weaponIndex[3]: -2 is not in the list of weapon slot 3 (0-0)"}},
      {"unusable weapons outside shop mode",
       [](FixtureCast& c) {
         c.record.weaponIndex[0] = 10;
         c.record.weaponIndex[1] = 1;
       },
       false,
       {"cast/ABC.dat: weaponIndex[0]: weapon 11 is unusable", "cast/ABC.dat: weaponIndex[1]: weapon 2 is unusable"}},
      {"the same weapons in shop mode",
       [](FixtureCast& c) {
         c.record.weaponIndex[0] = 10;
         c.record.weaponIndex[1] = 1;
       },
       true, {}},
      {"an unavailable weapon in shop mode", [](FixtureCast& c) { c.record.weaponIndex[0] = 0; }, true,
       {"cast/ABC.dat: weaponIndex[0]: weapon 1 is unusable"}},
      {"derived values that do not match",
       [](FixtureCast& c) {
         c.record.paramValue[0] = 0;
         c.record.paramValue[3] = 2760;
       },
       false,
       {"cast/ABC.dat: paramValue[0]: 0, but paramPoints[0] 25 gives 25",
        "cast/ABC.dat: paramValue[3]: 2760, but paramPoints[3] 25 gives 2700"}},
      {"a pool above 100 outside shop mode",
       [](FixtureCast& c) {
         c.record.paramPoints = {40, 40, 40, 0};
         c.record.paramValue = {20, 4, 980, 1200};
       },
       false, {"cast/ABC.dat: paramPoints: total 120 is above 100"}},
      {"a pool above 100 in shop mode",
       [](FixtureCast& c) {
         c.record.paramPoints = {100, 100, 100, 100};
         c.record.paramValue = {13, 9, 2000, 7200};
       },
       true, {}},
      {"points outside the slider",
       [](FixtureCast& c) { c.record.paramPoints[0] = -5; }, false,
       {"cast/ABC.dat: paramPoints[0]: -5 is outside the slider's range 0-100"}},
      {"weapon shares above 100",
       [](FixtureCast& c) { c.record.weaponShare = {25, 25, 25, 26, 100}; }, false,
       {"cast/ABC.dat: weaponShare[0-3]: total 101 is above 100"}},
      {"the defence rate is outside the weapon-share budget",
       [](FixtureCast& c) { c.record.weaponShare = {25, 25, 25, 25, 100}; }, true, {}},
      {"movement shares above 100",
       [](FixtureCast& c) { c.record.movePattern = {50, 30, 20, 0, 0, 0, 0, 0, 1}; }, true,
       {"cast/ABC.dat: movePattern: total 101 is above 100"}},
      {"shares that only add up with a negative one",
       [](FixtureCast& c) { c.record.movePattern = {150, -50, 0, 0, 0, 0, 0, 0, 0}; }, false,
       {"cast/ABC.dat: movePattern[0]: 150 is outside the slider's range 0-100",
        "cast/ABC.dat: movePattern[1]: -50 is outside the slider's range 0-100"}},
      {"a distance outside the slider", [](FixtureCast& c) { c.record.keepDistance = 0; }, false,
       {"cast/ABC.dat: keepDistance: 0 is outside the slider's range 20-1000"}},
      {"a record check that does not match", [](FixtureCast& c) { c.record.recordCheck = 18; }, false,
       {"cast/ABC.dat: recordCheck: 18, but wins 3 and losses 2 give 11"}},
      {"a picture of another size", [](FixtureCast& c) { c.picture->pop_back(); }, false,
       {"cast/ABC.bmp: picture: 5173 bytes, not 5174"}},
      {"no picture", [](FixtureCast& c) { c.picture.reset(); }, false, {"cast/ABC.bmp: picture: missing"}},
  };
  for (const Case& c : cases) {
    FixtureCast cast = ValidCast();
    c.change(cast);
    std::filesystem::remove(game() / "cast/ABC.bmp");
    Write(cast);
    std::vector<std::string> arguments = {"check", "ABC"};
    if (c.shop) arguments.push_back("--shop");
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.err, "") << c.what;
    if (c.problems.empty()) {
      EXPECT_EQ(result.exitStatus, 0) << c.what;
      EXPECT_EQ(result.out, "ABC: no problems\n") << c.what;
      continue;
    }
    EXPECT_EQ(result.exitStatus, 1) << c.what;
    std::vector<std::string> expected;
    for (const std::string& problem : c.problems) expected.push_back(game().generic_string() + "/" + problem);
    EXPECT_EQ(Lines(result.out), expected) << c.what;
  }
}

TEST_F(CheckCommand, ProblemsComeInTheOrderOfTheSave) {
  FixtureCast cast = ValidCast();
  cast.profile.Name = "";
  cast.record.weaponIndex = {-1, -1, -1, -1, -1, -1};
  cast.record.recordCheck = 0;
  cast.picture.reset();
  Write(cast);
  const ProgramResult result = Run({"check", "ABC"});
  EXPECT_EQ(result.exitStatus, 1);
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 9u) << result.out;
  EXPECT_NE(lines[0].find("Name"), std::string::npos);
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_NE(lines[1 + slot].find("weaponIndex[" + std::to_string(slot) + "]"), std::string::npos);
  }
  EXPECT_NE(lines[7].find("recordCheck"), std::string::npos);
  EXPECT_NE(lines[8].find("picture"), std::string::npos);
}

TEST_F(CheckCommand, JsonNamesTheFileTheFieldAndTheProblemOfEach) {
  Write(ValidCast());
  const ProgramResult passing = Run({"check", "ABC", "--json"});
  EXPECT_EQ(passing.exitStatus, 0) << passing.err;
  EXPECT_EQ(Parsed(passing), (Json{{"name", "ABC"}, {"problems", Json::array()}}));

  FixtureCast cast = ValidCast();
  cast.profile.Name = "";
  cast.record.keepDistance = 0;
  Write(cast);
  const ProgramResult failing = Run({"check", "ABC", "--json"});
  EXPECT_EQ(failing.exitStatus, 1);
  EXPECT_EQ(failing.err, "");
  const std::string folder = game().generic_string() + "/cast/";
  EXPECT_EQ(Parsed(failing),
            (Json{{"name", "ABC"},
                  {"problems",
                   {{{"file", folder + "ABC.cst"}, {"field", "Name"}, {"text", "no unit name"}},
                    {{"file", folder + "ABC.dat"},
                     {"field", "keepDistance"},
                     {"text", "0 is outside the slider's range 20-1000"}}}}}));

  const ProgramResult missing = Run({"check", "NONE", "--json"});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_EQ(missing.out, "") << "no JSON for a cast that cannot be read";
}

TEST_F(CheckCommand, ACastOrGameFileThatCannotBeReadIsAFailure) {
  struct Case {
    std::string name;
    std::string removed;
    std::string named;
  } cases[] = {
      {"NONE", "", "cast/NONE.cst"},
      {"ABC", "cast/ABC.dat", "cast/ABC.dat"},
      {"ABC", "DAT/Orv_bwpn.DAT", "DAT/Orv_bwpn.DAT"},
  };
  for (const Case& c : cases) {
    Write(ValidCast());
    if (!c.removed.empty()) std::filesystem::remove(game() / c.removed);
    const ProgramResult result = Run({"check", c.name});
    EXPECT_EQ(result.exitStatus, 2) << c.named;
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace casttooltest
