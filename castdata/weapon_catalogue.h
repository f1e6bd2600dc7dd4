// The weapon catalogue "DAT/Orv_bwpn.DAT": the names of the weapons of the six
// weapon categories and the values that decide which of them a cast may carry.
// Category c supplies the choices of a cast's weapon slot c.
//
// It is stored as a packed file. Its plain form holds 192 records back to
// back from offset 0: the 32 records of category 0 (weapon index 0..31), then
// the 32 of category 1, and so on to category 5. A weapon's number is its
// index plus 1 (1..32). A record occupies n + 39 bytes, n being its first
// field (offsets from the record's start, numbers little-endian):
//
// | Record offset | Size | Field                                                |
// |---------------|------|------------------------------------------------------|
// | 0             | 2    | name length n, signed 16-bit                         |
// | 2             | 2    | not read                                             |
// | 4             | 32   | name area, Shift-JIS: the name is the first n        |
// |               |      | characters (not bytes) of the decoded 32 bytes, cut  |
// |               |      | before a NUL character                               |
// | n + 3         | 2    | list-end value, signed 16-bit                        |
// | n + 27        | 2    | usage value, signed 16-bit                           |
// | n + 39        | -    | start of the next record                             |
//
// The name area is always read as 32 bytes, also where it reaches into the
// fields that follow. Every other byte is not read. Bytes past the end of a
// short file read as 0.
//
// Positions are signed 16-bit values counted from 1, so every record position
// and every position computed from it must stay at or below 32,767; the 192
// records together must stay below that limit.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "progress_data.h"

namespace castdata {

// The list-end value that ends a category's list before its record.
inline constexpr std::int16_t kListEndValue = 100;
// The usage value of a weapon that casts may carry outside shop mode.
inline constexpr std::int16_t kUsableUsageValue = 2047;

// What the editor keeps of a catalogue record.
struct WeaponEntry {
  int category = 0;  // 0..5
  int number = 0;    // weapon index + 1, 1..32
  std::string name;  // UTF-8
  bool usable = false;
};

// For each category, its listed weapons in file order: every record up to but
// not including the category's first record whose list-end value is 100. So
// an entry's position in its list is its weapon number minus 1.
struct WeaponCatalogue {
  std::array<std::vector<WeaponEntry>, kWeaponCategoryCount> categories;
};

// Reads the plain bytes of a weapon catalogue into `catalogue` (emptied
// first), and clears the availability of every weapon whose usage value is
// not 2047 unless shop mode is on.
//
// A listed weapon of category c and number k is usable when its availability
// is 1 and, outside shop mode, also its usage value is 2047 and either c is
// not 0 or k is one of 10, 13, 14, 15, 16. Unusable weapons stay listed, so
// that list positions keep matching weapon numbers.
//
// Throws castdata::Error, naming `fileName`, for a position that passes
// 32,767 or a negative name length. `catalogue` and `progress` then keep what
// was read before the fault, as the window shows the lists filled so far.
void ReadWeaponCatalogue(std::span<const std::uint8_t> plainBytes, std::string_view fileName,
                         bool shopMode, ProgressData& progress, WeaponCatalogue& catalogue);

}  // namespace castdata
