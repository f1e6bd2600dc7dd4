// The small game folder the casttool tests run the tool in, and the way they
// run it: the real executable, with -C naming the folder.
//
// Weapons (player number 7):
//
// | Slot | Listed weapons (numbers)   | Usable outside shop mode | Usable in shop mode |
// |------|----------------------------|--------------------------|---------------------|
// | 0    | 1-11 (12 ends the list)    | 10                       | 10, 11              |
// | 1    | 1-2 (3 ends the list)      | 1                        | 1, 2                |
// | 2-5  | 1 (2 ends the list)        | 1                        | 1                   |
//
// Weapons 1-9 of slot 0 are not available; weapon 11 of slot 0 is barred by
// the slot-0 rule, weapon 2 of slot 1 by its usage value 2046.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cast_files_fixture.h"
#include "folder_snapshot.h"
#include "game_file_writer.h"
#include "program_run.h"
#include "progress_file_fixture.h"
#include "temporary_folder.h"
#include "weapon_catalogue_fixture.h"

namespace casttooltest {

using gamefixture::FixtureCast;
using gamefixture::FixtureWeapon;
using gamefixture::ProgramResult;
using Json = nlohmann::ordered_json;

inline constexpr std::int16_t kPlayer = 7;

inline std::vector<FixtureWeapon> GameWeapons() {
  std::vector<FixtureWeapon> weapons = {
      FixtureWeapon(0, 10, "ビームライフル"),
      FixtureWeapon(0, 11, "ミサイル"),
      FixtureWeapon(0, 12).WithListEnd(100),
      FixtureWeapon(1, 1, "ブレード"),
      FixtureWeapon(1, 2, "ハンマー").WithUsage(2046),
      FixtureWeapon(1, 3).WithListEnd(100),
  };
  for (int category = 2; category < 6; ++category) {
    weapons.push_back(FixtureWeapon(category, 1, "武器" + std::to_string(category)));
    weapons.push_back(FixtureWeapon(category, 2).WithListEnd(100));
  }
  return weapons;
}

// A cast that passes every check outside shop mode: usable weapons, 25 points
// for each parameter with their derived values, shares within their budgets,
// a matching record check and a picture of 5174 bytes.
inline FixtureCast ValidCast(const std::string& name = "ABC") {
  FixtureCast cast;
  cast.name = name;
  castdata::CastRecord& r = cast.record;
  r.weaponIndex = {9, 0, 0, 0, 0, 0};
  r.paramValue = {25, 3, 725, 2700};
  r.keepDistance = 200;
  r.weaponShare = {25, 25, 25, 25, 50};
  r.movePattern = {50, 30, 20, 0, 0, 0, 0, 0, 0};
  r.paramPoints = {25, 25, 25, 25};
  r.ownerNumber = kPlayer;
  r.wins = 3;
  r.losses = 2;
  r.recordCheck = 11;
  r.level = 20;
  r.weaponStopPercent = 80;
  r.serial = 1234;
  r.defendAfterHits = 4;
  r.defendDamageThreshold = 500;
  cast.profile = {"紅蓮", "一行目", "", "三行目", "作者", "maker@example.com"};
  return cast;
}

inline ProgramResult RunCastTool(const std::vector<std::string>& arguments) {
  return gamefixture::RunProgram(CASTTOOL_PATH, arguments);
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// Each test its own game folder with the version file, the two packed game
// files, "cast/def.bmp" and the casts the test writes.
class CastToolGame : public testing::Test {
 protected:
  CastToolGame() {
    gamefixture::WriteVersionFile(game());
    gamefixture::WriteProgressFile(game(), GameWeapons(), kPlayer);
    gamefixture::WriteWeaponCatalogue(game(), GameWeapons());
    gamefixture::WriteDefaultPicture(game());
  }

  const std::filesystem::path& game() const { return game_.path(); }

  void Write(const FixtureCast& cast) const { gamefixture::WriteCast(game(), cast); }

  // casttool -C GAME arguments...
  ProgramResult Run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"-C", game().string()});
    return RunCastTool(arguments);
  }

  // The command's standard output as JSON; fails the test when it is not.
  static Json Parsed(const ProgramResult& result) {
    Json value = Json::parse(result.out, nullptr, false);
    EXPECT_FALSE(value.is_discarded()) << result.out;
    return value;
  }

 private:
  gamefixture::TemporaryFolder game_;
};

// The keys of a JSON object, in any order.
inline std::vector<std::string> Keys(const Json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  std::sort(keys.begin(), keys.end());
  return keys;
}

}  // namespace casttooltest
