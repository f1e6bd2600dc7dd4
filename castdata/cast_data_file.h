// The cast data file, cast/NAME.dat: the cast's fighting setup, owner, record,
// level and serial as 47 slots of 4 bytes. Each value is a signed 16-bit
// little-endian integer in the first two bytes of its slot; the last two bytes
// of a slot are never read and never written. There is no header, magic
// number or version: slot 0 starts at offset 0.
//
// | Slot  | Offset       | Field                      | Meaning                                   |
// |-------|--------------|----------------------------|-------------------------------------------|
// | 0-5   | 0, 4, .., 20 | weaponIndex[k]             | weapon of slot k: index in its list, 0-31 |
// | 6-9   | 24 .. 36     | paramValue[i]              | derived value of parameter i              |
// | 10    | 40           | keepDistance               | kept distance, 20-1000                    |
// | 11    | 44           | constantTen                | always 10; not checked                    |
// | 12-16 | 48 .. 64     | weaponShare[j]             | j 0-3: usage rate; j 4: defence rate      |
// | 17-25 | 68 .. 100    | movePattern[m]             | weight of movement pattern m, 0-100       |
// | 26-29 | 104 .. 116   | paramPoints[i]             | points given to parameter i, 0-100        |
// | 30    | 120          | ownerNumber                | owner's player number; 0: the reader's    |
// | 31    | 124          | hideData                   | 1: hide the data from other players       |
// | 32    | 128          | advanceOnEnemyOverheat     | check box                                 |
// | 33    | 132          | retreatOnOwnOverheat       | check box                                 |
// | 34    | 136          | specialOnEnemyOverheat     | check box                                 |
// | 35    | 140          | wins                       | number of wins                            |
// | 36    | 144          | losses                     | number of losses                          |
// | 37    | 148          | recordCheck                | ComputeRecordCheck(wins, losses)          |
// | 38    | 152          | level                      | level; 20 for a new cast                  |
// | 39    | 156          | weaponStopPercent          | force percentage where weapons stop       |
// | 40    | 160          | serial                     | 0-30000, drawn at random; 0: none yet     |
// | 41    | 164          | defendAfterHits            | hits in a row before defending            |
// | 42    | 168          | dodgeSideways              | check box                                 |
// | 43    | 172          | defendDamageThreshold      | damage from which the unit defends        |
// | 44    | 176          | specialAfterThreeCharges   | check box                                 |
// | 45    | 180          | defendSuddenAttacks        | check box                                 |
// | 46    | 184          | endMark                    | always 0; not read                        |
//
// A file that the first save creates is 186 bytes long (slot 46's second half
// lies beyond its end) and holds zeros in the bytes it does not write. A
// longer file keeps its length and every byte that is not a value. Fields
// beyond the end of a shorter file read as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "cast_record.h"
#include "game_folder.h"

namespace castdata {

// Length of the file the first save of a cast creates.
inline constexpr std::size_t kFirstSaveLength = 4 * (kCastSlotCount - 1) + 2;

// The bytes of a data file that hold the values read: slots 0 to 45. A
// reader may stop there.
inline constexpr std::size_t kCastDataBytesRead = 4 * (kCastSlotCount - 1);

// The record the bytes of a data file hold: slots 0 to 45, endMark 0, and 0
// for the fields beyond the end of a shorter file.
CastRecord CastRecordFromBytes(std::span<const std::uint8_t> bytes);

// Reads slots 0 to 45 of cast/NAME.dat; endMark is 0 in the
// result. castdata::Error, naming the file and the reason, when the file
// cannot be read (a cast with a profile file and no data file) or the name is
// refused.
CastRecord ReadCastData(std::string_view name, const platform::GameFolder& game = {});

// Writes the 47 values into cast/NAME.dat, creating the file when
// it is missing and never making it shorter: the old file is read, the values
// laid over it in memory, and the result written through the safe whole-file
// rewrite. castdata::Error, naming the file and the reason, when the name is
// refused or the file cannot be read or written (a missing cast folder, a full
// disk, the cast folder's lock held by another program); the old file then
// stays as it was.
void WriteCastData(std::string_view name, const CastRecord& record,
                   const platform::GameFolder& game = {});

// The present bytes of cast/NAME.dat, nullopt when there is no
// such file yet. castdata::Error, naming the file and the reason, when the
// name is refused or the file exists and cannot be read.
std::optional<std::vector<std::uint8_t>> ReadPresentCastData(std::string_view name,
                                                             const platform::GameFolder& game = {});

// The contents a save gives a data file whose present bytes are `present`
// (empty for a file that does not exist yet): at least kFirstSaveLength bytes,
// the values laid over the old ones, every other byte kept. For a caller that
// writes the file together with other files.
std::vector<std::uint8_t> CastDataContents(std::vector<std::uint8_t> present, const CastRecord& record);

}  // namespace castdata
