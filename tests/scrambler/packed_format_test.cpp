// The in-memory transform against the bit-by-bit model of the packed format.

#include "packed_format.h"

#include <gtest/gtest.h>

#include "scrambler_test_support.h"

namespace {

using scrambler_test::Bytes;
using scrambler_test::ModelPack;
using scrambler_test::ModelUnpack;
using scrambler_test::SampleBytes;

// Every length up to a few vector blocks (so that each length of the tail
// after the last block occurs, at both parities), and some large odd and even.
std::vector<std::size_t> Sizes() {
  std::vector<std::size_t> sizes;
  for (std::size_t n = 0; n <= 140; ++n) sizes.push_back(n);
  for (std::size_t n : {4095u, 4096u, 65537u, 1u << 20}) sizes.push_back(n);
  return sizes;
}

TEST(PackedFormat, PackRotatesEachByteByTheBaseOrOneMoreAndWritesTheHeader) {
  for (int base = 1; base <= 5; ++base) {
    for (std::size_t size : Sizes()) {
      const Bytes plain = SampleBytes(size, static_cast<unsigned>(size));
      EXPECT_EQ(scrambler::Pack(plain, base), ModelPack(plain, base))
          << "base " << base << ", " << size << " bytes";
    }
  }
}

TEST(PackedFormat, UnpackGivesBackWhatPackTookForEveryBase) {
  for (int base = 1; base <= 5; ++base) {
    for (std::size_t size : Sizes()) {
      const Bytes plain = SampleBytes(size, static_cast<unsigned>(size));
      EXPECT_EQ(scrambler::Unpack(scrambler::Pack(plain, base)), plain)
          << "base " << base << ", " << size << " bytes";
    }
  }
}

// The library's way: the file read behind four bytes of room, packed there
// and unpacked where it lies, no byte moved and no second buffer.
TEST(PackedFormat, TheBufferTransformsGiveWhatTheCopyingOnesGive) {
  for (int base = 1; base <= 5; ++base) {
    for (std::size_t size : Sizes()) {
      const Bytes plain = SampleBytes(size, static_cast<unsigned>(size));
      Bytes buffer(scrambler::kHeaderSize);
      buffer.insert(buffer.end(), plain.begin(), plain.end());

      scrambler::PackBuffer(buffer, base);
      EXPECT_EQ(buffer, scrambler::Pack(plain, base)) << "base " << base << ", " << size << " bytes";
      const std::span<std::uint8_t> unpacked = scrambler::UnpackBuffer(buffer);
      EXPECT_EQ(unpacked.data(), buffer.data() + scrambler::kHeaderSize);
      EXPECT_EQ(Bytes(unpacked.begin(), unpacked.end()), plain) << "base " << base << ", " << size << " bytes";
    }
  }
}

// Byte 2 outside 3..10 (which no packer writes) still gives rotations of 0..7.
TEST(PackedFormat, UnpackTakesTheRotationFromByte2Modulo8) {
  for (int byte2 = 0; byte2 <= 255; ++byte2) {
    Bytes packed = {0x83, 0x16, static_cast<std::uint8_t>(byte2), 0x3D};
    const Bytes payload = SampleBytes(37, static_cast<unsigned>(byte2));
    packed.insert(packed.end(), payload.begin(), payload.end());
    EXPECT_EQ(scrambler::Unpack(packed), ModelUnpack(packed)) << "byte 2 = " << byte2;
  }
}

TEST(PackedFormat, RecognisesAPackedBufferByBytes0And1And3Alone) {
  struct Case {
    Bytes bytes;
    bool packed;
  };
  const Case cases[] = {
      {{}, false},
      {{0x83}, false},
      {{0x83, 0x16, 0x04}, false},
      {{0x83, 0x16, 0x04, 0x3D}, true},
      {{0x83, 0x16, 0x00, 0x3D, 0x61}, true},
      {{0x83, 0x16, 0xFF, 0x3D}, true},
      {{0x84, 0x16, 0x04, 0x3D}, false},
      {{0x83, 0x17, 0x04, 0x3D}, false},
      {{0x83, 0x16, 0x04, 0x3E}, false},
      {{0x61, 0x83, 0x16, 0x04, 0x3D}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scrambler::IsPacked(c.bytes), c.packed) << ::testing::PrintToString(c.bytes);
  }
}

}  // namespace
