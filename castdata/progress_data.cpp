#include "progress_data.h"

#include "little_endian.h"

namespace castdata {
namespace {

constexpr std::size_t kFirstSlotOffset = 4;
constexpr std::size_t kSlotSize = 4;
constexpr std::size_t kPlayerNumberOffset = 800;

}  // namespace

ProgressData ReadProgressData(std::span<const std::uint8_t> plainBytes) {
  ProgressData progress;
  for (int w = 0; w < kWeaponsPerCategory; ++w) {
    for (int c = 0; c < kWeaponCategoryCount; ++c) {
      const std::size_t slot = static_cast<std::size_t>(kWeaponCategoryCount * w + c);
      progress.availability[c][w] = Int16At(plainBytes, kFirstSlotOffset + kSlotSize * slot);
    }
  }
  progress.playerNumber = Int16At(plainBytes, kPlayerNumberOffset);
  return progress;
}

}  // namespace castdata
