// Every way the processor can rotate the bytes against the rule itself, for
// every rotation that packing and unpacking use, every length up to a few
// thousand bytes (each length of the part after the last whole step, at both
// parities), at every misalignment, in place and into another buffer. A path
// this processor cannot run is skipped with its name.

#include "byte_rotation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "scrambler_test_support.h"

namespace scrambler {

// Names the path in the test's messages.
void PrintTo(RotationPath path, std::ostream* out) { *out << RotationPathName(path); }

}  // namespace scrambler

namespace {

using scrambler::RotationPath;
using scrambler_test::Bytes;
using scrambler_test::RotateLeftBitByBit;
using scrambler_test::RotateRightBitByBit;
using scrambler_test::SampleBytes;

constexpr std::size_t kLongest = 4099;
constexpr std::size_t kMisalignments = 64;  // the widest step
constexpr std::uint8_t kUntouched = 0xA5;

// A rotation of the packed format as the amounts for the even and the odd
// bytes, with the rule that gives byte i of its result.
struct Rotation {
  std::string what;
  unsigned even;
  unsigned odd;
  std::function<std::uint8_t(std::uint8_t b, std::size_t i)> rule;
  std::size_t lengthStep;  // 1: every length is checked
};

// Packing with base b rotates byte i right by b + (i mod 2); unpacking with
// byte 2 rotates payload byte j left by byte 2 - 3 + (j mod 2), modulo 8. The
// unpacking amounts repeat with a period of 8 in byte 2: two periods are
// checked at every length, the other values at every 64th.
std::vector<Rotation> Rotations() {
  std::vector<Rotation> rotations;
  for (int base = 1; base <= 5; ++base) {
    rotations.push_back({"pack with base " + std::to_string(base), static_cast<unsigned>(base) & 7,
                         static_cast<unsigned>(base + 1) & 7,
                         [base](std::uint8_t b, std::size_t i) {
                           return RotateRightBitByBit(b, base + static_cast<int>(i % 2));
                         },
                         1});
  }
  for (int byte2 = 0; byte2 <= 255; ++byte2) {
    const int left = ((byte2 - 3) % 8 + 8) % 8;
    rotations.push_back({"unpack with byte 2 = " + std::to_string(byte2), static_cast<unsigned>(8 - left) & 7,
                         static_cast<unsigned>(8 - (left + 1) % 8) & 7,
                         [byte2](std::uint8_t b, std::size_t i) {
                           return RotateLeftBitByBit(b, ((byte2 - 3 + static_cast<int>(i % 2)) % 8 + 8) % 8);
                         },
                         byte2 < 16 ? std::size_t{1} : std::size_t{64}});
  }
  return rotations;
}

class ByteRotationPath : public testing::TestWithParam<RotationPath> {
 protected:
  void SetUp() override {
    if (!scrambler::ProcessorSupports(GetParam())) {
      GTEST_SKIP() << "this processor cannot run the " << scrambler::RotationPathName(GetParam()) << " path";
    }
  }
};

// Bytes with a start aligned to the widest step, so that an offset from it is
// a known misalignment, and untouched bytes before and after.
class AlignedBytes {
 public:
  explicit AlignedBytes(std::size_t size) : storage_(size + 3 * kMisalignments, kUntouched) {}
  std::uint8_t* At(std::size_t misalignment) {
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
    return storage_.data() + (kMisalignments - address % kMisalignments) % kMisalignments + kMisalignments +
           misalignment;
  }

 private:
  std::vector<std::uint8_t> storage_;
};

TEST_P(ByteRotationPath, RotatesLikeTheRuleForEveryLengthRotationAndMisalignment) {
  const Bytes plain = SampleBytes(kLongest, 7);
  for (const Rotation& rotation : Rotations()) {
    Bytes expected(kLongest);
    for (std::size_t i = 0; i < kLongest; ++i) expected[i] = rotation.rule(plain[i], i);

    for (std::size_t size = 0; size <= kLongest; size += rotation.lengthStep) {
      const std::size_t inMisalignment = size % kMisalignments;
      const std::size_t outMisalignment = (size * 7 + 3) % kMisalignments;
      const std::string at = rotation.what + ", " + std::to_string(size) + " bytes";

      AlignedBytes inPlace(kLongest);
      std::uint8_t* bytes = inPlace.At(inMisalignment);
      std::copy_n(plain.begin(), size, bytes);
      scrambler::RotatePairsRightWith(GetParam(), {bytes, size}, bytes, rotation.even, rotation.odd);
      ASSERT_TRUE(std::equal(bytes, bytes + size, expected.begin()))
          << at << " in place, misaligned by " << inMisalignment;
      ASSERT_EQ(bytes[-1], kUntouched) << at << " in place: wrote before the start";
      ASSERT_EQ(bytes[size], kUntouched) << at << " in place: wrote past the end";

      AlignedBytes other(kLongest);
      std::uint8_t* out = other.At(outMisalignment);
      scrambler::RotatePairsRightWith(GetParam(), {plain.data(), size}, out, rotation.even, rotation.odd);
      ASSERT_TRUE(std::equal(out, out + size, expected.begin()))
          << at << " into another buffer, misaligned by " << outMisalignment;
      ASSERT_EQ(out[-1], kUntouched) << at << " into another buffer: wrote before the start";
      ASSERT_EQ(out[size], kUntouched) << at << " into another buffer: wrote past the end";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, ByteRotationPath, testing::ValuesIn(scrambler::kRotationPaths),
                         [](const testing::TestParamInfo<RotationPath>& info) {
                           std::string name = scrambler::RotationPathName(info.param);
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// The library uses the widest path the processor has: on a processor with
// AVX-512 and GFNI, the bit-matrix one.
TEST(ByteRotation, TheChosenPathIsTheWidestThisProcessorSupports) {
  const auto widest = std::find_if(std::begin(scrambler::kRotationPaths), std::end(scrambler::kRotationPaths),
                                   scrambler::ProcessorSupports);
  ASSERT_NE(widest, std::end(scrambler::kRotationPaths));
  EXPECT_EQ(scrambler::ChosenRotationPath(), *widest) << scrambler::RotationPathName(*widest);
}

}  // namespace
