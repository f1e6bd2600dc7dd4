// The paths of byte_rotation.h, one function each, all of one shape: rotate
// the `size` bytes at `in` right into `out` (the same bytes, or bytes that do
// not overlap them), byte i by `evenAmount` when i is even and by `oddAmount`
// when it is odd (each 0..7). Each vector path rotates whole steps of its
// width; the AVX-512 ones do the bytes before the first and after the last
// whole step under byte masks, the others leave the end to the scalar path.
//
// The x86 paths are compiled for their instruction sets by function target
// attributes, so the library itself still runs on any x86-64 processor; only
// ProcessorSupports decides which of them may run.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scrambler::rotation {

using Path = void (*)(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                      unsigned oddAmount);

void RotateScalar(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                  unsigned oddAmount);
void RotateSse2(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                unsigned oddAmount);

#if defined(__x86_64__)
void RotateAvx2(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                unsigned oddAmount);
void RotateGfniAvx2(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                    unsigned oddAmount);
void RotateAvx512bw(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                    unsigned oddAmount);
void RotateGfniAvx512(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                      unsigned oddAmount);
#endif

// The masks that the shifting paths need for 16-bit lanes, each lane a pair
// of bytes: an even position and the odd one after it. A byte b rotated right
// by a is (b >> a) | (b << (8 - a)); shifting the whole lane instead spills
// bits into the neighbouring byte, so each shifted lane is masked down to the
// bits that land inside its own byte:
//
//   low byte, amount a:   (lane >> a) & lowRight  |  (lane << (8 - a)) & lowLeft
//     lowRight = 0xFF >> a                 the byte's bits moved down by a
//     lowLeft  = (0xFF << (8 - a)) & 0xFF  its lowest a bits, wrapped round to the top
//   high byte, amount b:  the same with b, both masks moved up by 8 bits.
//
// On a little-endian processor (every x86) the even byte is the low one.
struct PairMasks {
  unsigned low;  // the amounts of the low and the high byte of a lane
  unsigned high;
  std::uint16_t lowRight;
  std::uint16_t lowLeft;
  std::uint16_t highRight;
  std::uint16_t highLeft;
};

constexpr PairMasks MasksFor(unsigned lowAmount, unsigned highAmount) {
  return {lowAmount,
          highAmount,
          static_cast<std::uint16_t>(0xFF >> lowAmount),
          static_cast<std::uint16_t>((0xFF << (8 - lowAmount)) & 0xFF),
          static_cast<std::uint16_t>((0xFF >> highAmount) << 8),
          static_cast<std::uint16_t>(((0xFF << (8 - highAmount)) & 0xFF) << 8)};
}

// The 8x8 bit matrix with which GFNI's affine transform (gf2p8affineqb)
// rotates every byte right by `amount`. The transform makes bit i of a byte
// the parity of the byte ANDed with byte 7 - i of the matrix; rotating right
// by a moves bit (i + a) mod 8 to bit i, so byte 7 - i of the matrix holds that
// one bit alone. Amount 0 gives the identity, 0x0102040810204080.
constexpr std::uint64_t RotationMatrix(unsigned amount) {
  std::uint64_t matrix = 0;
  for (unsigned bit = 0; bit < 8; ++bit) {
    matrix |= std::uint64_t{1u << ((bit + amount) & 7)} << (8 * (7 - bit));
  }
  return matrix;
}

}  // namespace scrambler::rotation
