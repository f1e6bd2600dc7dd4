// The cast package ("ECファイル", "*.ec"): one complete cast in one file, its
// cast picture, cast data file and cast profile file together with its cast
// name. The upload writes one for publishing; other players' packages that
// lie in the game folder are imported at start-up.
//
// Layout, offsets in bytes from the start of the file, numbers little-endian;
// D is the length of the cast data file, C that of the cast profile file:
//
// | Offset   | Size | Content                                                   |
// |----------|------|-----------------------------------------------------------|
// | 0        | 3    | marker "CE1" in ASCII (case matters)                      |
// | 3        | 4    | n: number of characters of the cast name, 32-bit          |
// | 7        | 8    | the cast name in Shift-JIS, left-aligned: its first 8     |
// |          |      | bytes, zero-filled after a shorter name                   |
// | 15       | 5174 | the cast picture, the whole file cast/NAME.bmp            |
// | 5189     | 4    | D, 32-bit                                                 |
// | 5193     | D    | the whole cast data file cast/NAME.dat                    |
// | 5193 + D | 4    | C, 32-bit                                                 |
// | 5197 + D | C    | the whole cast profile file cast/NAME.cst                 |
//
// Bytes beyond 5197 + D + C are ignored. The reader takes only the low 16 bits
// of n, D and C, as signed numbers, and the cast name as the first n whole
// characters of the name field (all of them when n is larger). A name longer
// than 8 bytes travels cut, possibly in the middle of a double-byte character;
// the reader drops such a half character. The game computes positions as
// signed 16-bit numbers, so the writer keeps the whole package below 32768
// bytes.
//
// The cast name inside the package, not the package's file name, decides
// under which name the cast is imported. A package comes from other players
// over the web, so the reader checks everything before anything is written:
// the name must name a file inside "cast/", be valid Shift-JIS, hold no
// control character and not be "def" in any letter case (whose picture is
// cast/def.bmp, the picture every new cast starts from); n, D and C must be
// at least 1; and the file must hold every byte the fields claim.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cast_picture_format.h"
#include "game_folder.h"

namespace castdata {

inline constexpr std::string_view kPackageMarker = "CE1";
inline constexpr std::size_t kPackageNameFieldSize = 8;
inline constexpr std::size_t kPackageNameLengthOffset = 3;
inline constexpr std::size_t kPackageNameOffset = 7;
inline constexpr std::size_t kPackagePictureOffset = 15;
inline constexpr std::size_t kPackageDataLengthOffset = kPackagePictureOffset + kCastPictureSize;  // 5189
// The longest package the reader ever looks at: D and C are at most 32767.
inline constexpr std::size_t kLongestPackageRead = kPackageDataLengthOffset + 4 + 32767 + 4 + 32767;
// The longest package the writer makes.
inline constexpr std::size_t kLongestPackageWritten = 32767;

// The parts of a cast package.
struct CastPackage {
  std::string castName;                    // UTF-8
  std::vector<std::uint8_t> picture;       // cast/NAME.bmp, 5174 bytes
  std::vector<std::uint8_t> castData;      // cast/NAME.dat
  std::vector<std::uint8_t> castProfile;   // cast/NAME.cst

  bool operator==(const CastPackage&) const = default;
};

// What the reader made of a package's bytes.
struct PackageReading {
  enum class Status {
    kRead,          // `package` holds the parts
    kNotAPackage,   // the first three bytes are not "CE1"
    kBroken,        // a "CE1" file whose fields cannot be trusted; see `problem`
  };
  Status status = Status::kNotAPackage;
  CastPackage package;
  std::string problem;  // for kBroken: what is wrong, in Japanese
};

// Splits a package into its parts, checking every field first.
PackageReading ReadCastPackage(std::span<const std::uint8_t> bytes);

// The package bytes for `package`, laid out as in the table above. Throws
// castdata::Error, naming the cast file at fault, when the name cannot name a
// file in "cast/" or has no Shift-JIS form, the picture is not 5174 bytes, the
// data or profile file is empty, or the package would reach 32768 bytes.
std::vector<std::uint8_t> WriteCastPackage(const CastPackage& package);

// Whether the cast name `castName` (UTF-8) travels whole in the package's
// 8-byte name field. A longer one would be imported cut, perhaps in the
// middle of a character, as another cast; every writer of a package for
// publishing refuses it first. A name without a Shift-JIS form fits here:
// WriteCastPackage refuses it with its own reason.
bool CastNameFitsPackage(std::string_view castName);

// The package of the cast `castName` (UTF-8) from cast/NAME.bmp, cast/NAME.dat
// and cast/NAME.cst in `game`. Throws castdata::Error naming the file
// that cannot be read, or as WriteCastPackage does.
std::vector<std::uint8_t> BuildCastPackage(const platform::GameFolder& game,
                                           std::string_view castName);

}  // namespace castdata
