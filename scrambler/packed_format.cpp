#include "packed_format.h"

namespace scrambler {
namespace {

std::uint8_t RotateRight(std::uint8_t b, unsigned s) {
  s &= 7;
  return static_cast<std::uint8_t>((b >> s) | (b << ((8 - s) & 7)));
}

std::uint8_t RotateLeft(std::uint8_t b, unsigned s) {
  s &= 7;
  return static_cast<std::uint8_t>((b << s) | (b >> ((8 - s) & 7)));
}

}  // namespace

bool IsPacked(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kHeaderSize && bytes[0] == kMagic0 && bytes[1] == kMagic1 &&
         bytes[3] == kMagic3;
}

std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> plain, int rotationBase) {
  std::vector<std::uint8_t> packed(kHeaderSize + plain.size());
  packed[0] = kMagic0;
  packed[1] = kMagic1;
  packed[2] = static_cast<std::uint8_t>(rotationBase + kBaseOffset);
  packed[3] = kMagic3;
  const unsigned even = static_cast<unsigned>(rotationBase);
  const unsigned odd = even + 1;
  std::uint8_t* out = packed.data() + kHeaderSize;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    out[i] = RotateRight(plain[i], (i % 2 == 0) ? even : odd);
  }
  return packed;
}

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> packed) {
  const std::span<const std::uint8_t> payload = packed.subspan(kHeaderSize);
  const unsigned even = static_cast<unsigned>(packed[2] - kBaseOffset) & 7;
  const unsigned odd = even + 1;
  std::vector<std::uint8_t> plain(payload.size());
  for (std::size_t j = 0; j < payload.size(); ++j) {
    plain[j] = RotateLeft(payload[j], (j % 2 == 0) ? even : odd);
  }
  return plain;
}

}  // namespace scrambler
