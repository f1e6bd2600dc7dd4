// The packed-file transform on any bytes. FileUnpack's path in memory: a
// buffer that IsPacked accepts is unpacked in place, as the library does with
// a file, and must give the plain form, four bytes shorter, which packs back
// to the very input when its byte 2 is one the packer writes. Packing any
// bytes and unpacking them again gives them back, for every rotation base.
// Both are compared with a plain byte-by-byte rotation, so that a fault in
// the vectorised rotation shows.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "packed_format.h"

namespace {

std::uint8_t RotateRight(std::uint8_t b, unsigned amount) {
  amount &= 7;
  return static_cast<std::uint8_t>((b >> amount) | (b << ((8 - amount) & 7)));
}

// Byte i of `plain` rotated right by base + (i mod 2), after the header.
std::vector<std::uint8_t> ReferencePack(std::span<const std::uint8_t> plain, int base) {
  std::vector<std::uint8_t> packed = {scrambler::kMagic0, scrambler::kMagic1,
                                      static_cast<std::uint8_t>(base + scrambler::kBaseOffset),
                                      scrambler::kMagic3};
  for (std::size_t i = 0; i < plain.size(); ++i) {
    packed.push_back(RotateRight(plain[i], static_cast<unsigned>(base) + i % 2));
  }
  return packed;
}

// Payload byte j rotated left by (byte 2 - 3) + (j mod 2), modulo 8.
std::vector<std::uint8_t> ReferenceUnpack(std::span<const std::uint8_t> packed) {
  const unsigned base = static_cast<unsigned>(packed[2] - scrambler::kBaseOffset);
  std::vector<std::uint8_t> plain;
  for (std::size_t j = 0; j + scrambler::kHeaderSize < packed.size(); ++j) {
    plain.push_back(RotateRight(packed[scrambler::kHeaderSize + j], 8 - ((base + j % 2) & 7)));
  }
  return plain;
}

void CheckUnpacking(std::span<const std::uint8_t> input) {
  const bool packed = scrambler::IsPacked(input);
  FUZZ_CHECK(packed == (input.size() >= 4 && input[0] == 0x83 && input[1] == 0x16 && input[3] == 0x3D));
  if (!packed) return;

  std::vector<std::uint8_t> buffer(input.begin(), input.end());
  const std::span<const std::uint8_t> unpacked = scrambler::UnpackBuffer(buffer);
  const std::vector<std::uint8_t> inPlace(unpacked.begin(), unpacked.end());
  FUZZ_CHECK(inPlace.size() == input.size() - scrambler::kHeaderSize);
  FUZZ_CHECK(inPlace == ReferenceUnpack(input));
  FUZZ_CHECK(scrambler::Unpack(input) == inPlace);

  const int base = input[2] - scrambler::kBaseOffset;
  if (base >= 1 && base <= 5) {
    const std::vector<std::uint8_t> again = scrambler::Pack(inPlace, base);
    FUZZ_CHECK(std::equal(again.begin(), again.end(), input.begin(), input.end()));
  }
}

void CheckRoundTrip(std::span<const std::uint8_t> input) {
  for (int base = 1; base <= 5; ++base) {
    const std::vector<std::uint8_t> packed = scrambler::Pack(input, base);
    FUZZ_CHECK(scrambler::IsPacked(packed));
    FUZZ_CHECK(packed == ReferencePack(input, base));

    std::vector<std::uint8_t> buffer(scrambler::kHeaderSize);
    buffer.insert(buffer.end(), input.begin(), input.end());
    scrambler::PackBuffer(buffer, base);
    FUZZ_CHECK(buffer == packed);

    const std::span<const std::uint8_t> unpacked = scrambler::UnpackBuffer(buffer);
    FUZZ_CHECK(std::equal(unpacked.begin(), unpacked.end(), input.begin(), input.end()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzzcheck::Bytes(data, size);
  CheckUnpacking(input);
  CheckRoundTrip(input);
  return 0;
}
