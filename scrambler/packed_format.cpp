#include "packed_format.h"

#include <bit>
#include <cstring>

namespace scrambler {
namespace {

// Rotation right by 0..7 bits of one byte.
std::uint8_t RotateRight(std::uint8_t b, unsigned amount) {
  return static_cast<std::uint8_t>((b >> amount) | (b << ((8 - amount) & 7)));
}

// Sixteen bytes as eight 16-bit lanes, each lane one pair of bytes: an even
// position and the odd one after it (GCC and Clang vector extension; every
// operator below works on all lanes at once and compiles to plain SSE2).
using PairLanes = std::uint16_t __attribute__((vector_size(16)));

// Rotates the bytes of `in` right into `out` (which may be `in` itself):
// those at even positions by `evenAmount`, those at odd positions by
// `oddAmount` (each 0..7).
//
// The processor shifts 16-bit lanes but not single bytes, and every pair has
// the same two amounts, so whole lanes are shifted and masked. A byte b rotated
// right by a is (b >> a) | (b << (8 - a)); shifting the whole lane instead
// spills bits into the neighbouring byte, so each shifted lane is masked down
// to the bits that land inside its own byte:
//
//   low byte, amount a:   (lane >> a) & lowRight  |  (lane << (8 - a)) & lowLeft
//     lowRight = 0xFF >> a                the byte's bits moved down by a
//     lowLeft  = (0xFF << (8 - a)) & 0xFF  its lowest a bits, wrapped round to the top
//   high byte, amount b:  the same with b, both masks moved up by 8 bits.
//
// Which byte of a lane is the even one follows the machine's byte order.
// What does not fill a whole lane vector at the end goes byte by byte.
void RotatePairsRight(const std::uint8_t* in, std::uint8_t* out, std::size_t size,
                      unsigned evenAmount, unsigned oddAmount) {
  constexpr bool kEvenIsLow = std::endian::native == std::endian::little;
  const unsigned low = kEvenIsLow ? evenAmount : oddAmount;
  const unsigned high = kEvenIsLow ? oddAmount : evenAmount;
  const std::uint16_t lowRight = 0xFF >> low;
  const std::uint16_t lowLeft = (0xFF << (8 - low)) & 0xFF;
  const std::uint16_t highRight = static_cast<std::uint16_t>((0xFF >> high) << 8);
  const std::uint16_t highLeft = static_cast<std::uint16_t>(((0xFF << (8 - high)) & 0xFF) << 8);

  std::size_t i = 0;
  for (; i + sizeof(PairLanes) <= size; i += sizeof(PairLanes)) {
    PairLanes lanes;
    std::memcpy(&lanes, in + i, sizeof lanes);
    const PairLanes rotated = ((lanes >> low) & lowRight) | ((lanes << (8 - low)) & lowLeft) |
                              ((lanes >> high) & highRight) | ((lanes << (8 - high)) & highLeft);
    std::memcpy(out + i, &rotated, sizeof rotated);
  }
  for (; i < size; ++i) {
    out[i] = RotateRight(in[i], (i % 2 == 0) ? evenAmount : oddAmount);
  }
}

// The amounts by which the bytes at even and at odd positions are rotated
// right.
struct RotationAmounts {
  unsigned even;
  unsigned odd;
};

RotationAmounts PackingAmounts(int rotationBase) {
  const unsigned even = static_cast<unsigned>(rotationBase) & 7;
  return {even, (even + 1) & 7};
}

// Unpacking rotates left by base + (j mod 2), base = byte 2 - 3 taken modulo
// 8 so that any byte 2 gives amounts in 0..7; a rotation left by a is a
// rotation right by 8 - a.
RotationAmounts UnpackingAmounts(std::uint8_t byte2) {
  const unsigned even = static_cast<unsigned>(byte2 - kBaseOffset) & 7;
  const unsigned odd = (even + 1) & 7;
  return {(8 - even) & 7, (8 - odd) & 7};
}

void WriteHeader(std::uint8_t* out, int rotationBase) {
  out[0] = kMagic0;
  out[1] = kMagic1;
  out[2] = static_cast<std::uint8_t>(rotationBase + kBaseOffset);
  out[3] = kMagic3;
}

}  // namespace

bool IsPacked(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kHeaderSize && bytes[0] == kMagic0 && bytes[1] == kMagic1 &&
         bytes[3] == kMagic3;
}

std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> plain, int rotationBase) {
  std::vector<std::uint8_t> packed(kHeaderSize + plain.size());
  WriteHeader(packed.data(), rotationBase);
  const RotationAmounts amounts = PackingAmounts(rotationBase);
  RotatePairsRight(plain.data(), packed.data() + kHeaderSize, plain.size(), amounts.even,
                   amounts.odd);
  return packed;
}

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> packed) {
  const std::span<const std::uint8_t> payload = packed.subspan(kHeaderSize);
  const RotationAmounts amounts = UnpackingAmounts(packed[2]);
  std::vector<std::uint8_t> plain(payload.size());
  RotatePairsRight(payload.data(), plain.data(), payload.size(), amounts.even, amounts.odd);
  return plain;
}

void PackInPlace(std::vector<std::uint8_t>& bytes, int rotationBase) {
  bytes.insert(bytes.begin(), kHeaderSize, 0);
  WriteHeader(bytes.data(), rotationBase);
  const RotationAmounts amounts = PackingAmounts(rotationBase);
  std::uint8_t* payload = bytes.data() + kHeaderSize;
  RotatePairsRight(payload, payload, bytes.size() - kHeaderSize, amounts.even, amounts.odd);
}

void UnpackInPlace(std::vector<std::uint8_t>& bytes) {
  const RotationAmounts amounts = UnpackingAmounts(bytes[2]);
  std::uint8_t* payload = bytes.data() + kHeaderSize;
  RotatePairsRight(payload, payload, bytes.size() - kHeaderSize, amounts.even, amounts.odd);
  bytes.erase(bytes.begin(), bytes.begin() + kHeaderSize);
}

}  // namespace scrambler
