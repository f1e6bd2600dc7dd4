#include "packed_format.h"

#include "byte_rotation.h"

namespace scrambler {
namespace {

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
  RotatePairsRight(plain, packed.data() + kHeaderSize, amounts.even, amounts.odd);
  return packed;
}

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> packed) {
  const std::span<const std::uint8_t> payload = packed.subspan(kHeaderSize);
  const RotationAmounts amounts = UnpackingAmounts(packed[2]);
  std::vector<std::uint8_t> plain(payload.size());
  RotatePairsRight(payload, plain.data(), amounts.even, amounts.odd);
  return plain;
}

void PackBuffer(std::span<std::uint8_t> buffer, int rotationBase) {
  WriteHeader(buffer.data(), rotationBase);
  const RotationAmounts amounts = PackingAmounts(rotationBase);
  const std::span<std::uint8_t> plain = buffer.subspan(kHeaderSize);
  RotatePairsRight(plain, plain.data(), amounts.even, amounts.odd);
}

std::span<std::uint8_t> UnpackBuffer(std::span<std::uint8_t> buffer) {
  const RotationAmounts amounts = UnpackingAmounts(buffer[2]);
  const std::span<std::uint8_t> payload = buffer.subspan(kHeaderSize);
  RotatePairsRight(payload, payload.data(), amounts.even, amounts.odd);
  return payload;
}

}  // namespace scrambler
