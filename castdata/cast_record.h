// CastRecord: the 47 signed 16-bit fields of a cast data file, one per slot,
// in slot order (cast_data_file.h gives the file's layout). Check-box fields
// hold 0 (clear) or 1 (ticked). A record made by default has every field 0
// but constantTen, which is 10 as in every file a save writes.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace castdata {

inline constexpr std::size_t kCastSlotCount = 47;

struct CastRecord {
  std::array<std::int16_t, 6> weaponIndex{};  // slots 0-5: list index in weapon slot k's list
  std::array<std::int16_t, 4> paramValue{};   // 6-9: derived value of parameter i
  std::int16_t keepDistance = 0;              // 10: 20..1000
  std::int16_t constantTen = 10;              // 11: always 10 when written
  std::array<std::int16_t, 5> weaponShare{};  // 12-16: usage rates 0-3, defence rate 4
  std::array<std::int16_t, 9> movePattern{};  // 17-25: movement pattern weights
  std::array<std::int16_t, 4> paramPoints{};  // 26-29: points given to parameter i
  std::int16_t ownerNumber = 0;               // 30: 0 counts as the reading player's own
  std::int16_t hideData = 0;                  // 31
  std::int16_t advanceOnEnemyOverheat = 0;    // 32
  std::int16_t retreatOnOwnOverheat = 0;      // 33
  std::int16_t specialOnEnemyOverheat = 0;    // 34
  std::int16_t wins = 0;                      // 35
  std::int16_t losses = 0;                    // 36
  std::int16_t recordCheck = 0;               // 37: ComputeRecordCheck(wins, losses)
  std::int16_t level = 0;                     // 38
  std::int16_t weaponStopPercent = 0;         // 39
  std::int16_t serial = 0;                    // 40: 0 means none drawn yet
  std::int16_t defendAfterHits = 0;           // 41
  std::int16_t dodgeSideways = 0;             // 42
  std::int16_t defendDamageThreshold = 0;     // 43
  std::int16_t specialAfterThreeCharges = 0;  // 44
  std::int16_t defendSuddenAttacks = 0;       // 45
  std::int16_t endMark = 0;                   // 46: always 0 when written; never read

  bool operator==(const CastRecord&) const = default;
};

// Calls `visit` with each of the record's 47 fields in slot order: the one
// place that ties the fields to their slots.
template <typename Record, typename Visit>
  requires std::same_as<std::remove_const_t<Record>, CastRecord>
void ForEachSlot(Record& record, Visit&& visit) {
  for (auto& value : record.weaponIndex) visit(value);
  for (auto& value : record.paramValue) visit(value);
  visit(record.keepDistance);
  visit(record.constantTen);
  for (auto& value : record.weaponShare) visit(value);
  for (auto& value : record.movePattern) visit(value);
  for (auto& value : record.paramPoints) visit(value);
  visit(record.ownerNumber);
  visit(record.hideData);
  visit(record.advanceOnEnemyOverheat);
  visit(record.retreatOnOwnOverheat);
  visit(record.specialOnEnemyOverheat);
  visit(record.wins);
  visit(record.losses);
  visit(record.recordCheck);
  visit(record.level);
  visit(record.weaponStopPercent);
  visit(record.serial);
  visit(record.defendAfterHits);
  visit(record.dodgeSideways);
  visit(record.defendDamageThreshold);
  visit(record.specialAfterThreeCharges);
  visit(record.defendSuddenAttacks);
  visit(record.endMark);
}

}  // namespace castdata
