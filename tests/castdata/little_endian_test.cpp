#include "little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(ByteReader, ReadsSignedLittleEndianAndZerosPastTheEnd) {
  const std::vector<std::uint8_t> bytes = {0x34, 0x12, 0xFF, 0xFF, 0x7F};
  EXPECT_EQ(castdata::Int16At(bytes, 0), 0x1234);
  EXPECT_EQ(castdata::Int16At(bytes, 2), -1);
  EXPECT_EQ(castdata::Int16At(bytes, 4), 0x7F);  // straddles the end
  EXPECT_EQ(castdata::Int16At(bytes, 5), 0);
  EXPECT_EQ(castdata::Int16At(bytes, SIZE_MAX), 0);
}

TEST(ByteReader, ReadsUnsigned32BitAndZerosPastTheEnd) {
  const std::vector<std::uint8_t> bytes = {0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(castdata::Uint32At(bytes, 0), 0x12345678U);
  EXPECT_EQ(castdata::Uint32At(bytes, 3), 0xFFFFFF12U);
  EXPECT_EQ(castdata::Uint32At(bytes, 4), 0x00FFFFFFU);  // straddles the end
  EXPECT_EQ(castdata::Uint32At(bytes, 7), 0U);
  EXPECT_EQ(castdata::Uint32At(bytes, SIZE_MAX - 1), 0U);
}

TEST(ByteReader, BytesPastTheEndReadAsZero) {
  const std::vector<std::uint8_t> bytes = {'a', 'b', 'c'};
  EXPECT_EQ(castdata::BytesAt(bytes, 1, 4), std::string("bc\0\0", 4));
  EXPECT_EQ(castdata::BytesAt(bytes, 7, 2), std::string(2, '\0'));
}

}  // namespace
