// The progress file's reader on any plain bytes: every availability value and
// the player number are the little-endian 16-bit numbers at their offsets,
// and a file that ends early reads as if it went on with zero bytes.
#include <cstdint>

#include "fuzz_check.h"
#include "progress_data.h"

namespace {

// The signed 16-bit number at `offset`, zero past the end.
std::int16_t Expected(std::span<const std::uint8_t> bytes, std::size_t offset) {
  const unsigned low = offset < bytes.size() ? bytes[offset] : 0;
  const unsigned high = offset + 1 < bytes.size() ? bytes[offset + 1] : 0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzzcheck::Bytes(data, size);
  const castdata::ProgressData progress = castdata::ReadProgressData(input);
  for (std::size_t w = 0; w < castdata::kWeaponsPerCategory; ++w) {
    for (std::size_t c = 0; c < castdata::kWeaponCategoryCount; ++c) {
      FUZZ_CHECK(progress.availability[c][w] == Expected(input, 4 + 4 * (6 * w + c)));
    }
  }
  FUZZ_CHECK(progress.playerNumber == Expected(input, 800));
  return 0;
}
