// The portable path: GCC's and Clang's vector extension, which compiles to
// SSE2 on every x86-64 processor (and to the 128-bit vectors of others).

#include <bit>
#include <cstring>

#include "byte_rotation_paths.h"

namespace scrambler::rotation {
namespace {

// Sixteen bytes as eight 16-bit lanes, each lane one pair of bytes; every
// operator below works on all lanes at once.
using PairLanes = std::uint16_t __attribute__((vector_size(16)));

}  // namespace

void RotateSse2(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                unsigned oddAmount) {
  constexpr bool kEvenIsLow = std::endian::native == std::endian::little;
  const PairMasks m = kEvenIsLow ? MasksFor(evenAmount, oddAmount) : MasksFor(oddAmount, evenAmount);

  std::size_t i = 0;
  for (; i + sizeof(PairLanes) <= size; i += sizeof(PairLanes)) {
    PairLanes lanes;
    std::memcpy(&lanes, in + i, sizeof lanes);
    const PairLanes rotated = ((lanes >> m.low) & m.lowRight) | ((lanes << (8 - m.low)) & m.lowLeft) |
                              ((lanes >> m.high) & m.highRight) | ((lanes << (8 - m.high)) & m.highLeft);
    std::memcpy(out + i, &rotated, sizeof rotated);
  }
  RotateScalar(in + i, out + i, size - i, evenAmount, oddAmount);
}

}  // namespace scrambler::rotation
