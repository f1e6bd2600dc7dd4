// The progress file "DAT/USER.DAT": which weapons the player may use, and the
// player's own number.
//
// It is stored as a packed file; this is its plain form, as far as it is read
// (offsets count bytes from 0, numbers are little-endian):
//
// | Offset                 | Size | Content                                         |
// |------------------------|------|-------------------------------------------------|
// | 0                      | 4    | not read                                        |
// | 4 + 4 × (6 × w + c)    | 4    | availability slot of weapon index w (0..32) of  |
// |                        |      | weapon category c (0..5): bytes 0-1 the         |
// |                        |      | availability value, signed 16-bit; bytes 2-3    |
// |                        |      | not read                                        |
// | 796                    | 4    | not read                                        |
// | 800                    | 2    | the player number, signed 16-bit                |
//
// The slots are in weapon-major order: the six categories of weapon index 0,
// then the six of index 1, and so on. Only weapon indexes 0..31 are read
// (offsets 4..771); the six slots of index 32 (772..795) are skipped. The last
// byte read is at 801; a shorter file reads as if padded with zero bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace castdata {

inline constexpr int kWeaponCategoryCount = 6;
inline constexpr int kWeaponsPerCategory = 32;

// What the editor keeps of the progress file.
struct ProgressData {
  // availability[c][w] for weapon category c (0..5) and weapon index w
  // (0..31): 1 means the player may use the weapon, any other value that the
  // player may not. Reading the weapon catalogue clears it further (see
  // ReadWeaponCatalogue).
  std::array<std::array<std::int16_t, kWeaponsPerCategory>, kWeaponCategoryCount> availability{};
  // The player's identity: a cast whose owner number equals it is an own cast.
  std::int16_t playerNumber = 0;
};

// Reads the plain bytes of a progress file.
ProgressData ReadProgressData(std::span<const std::uint8_t> plainBytes);

}  // namespace castdata
