// The per-thread generator that chooses a packing's rotation base.

#include "rotation_base.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "scrambler_test_support.h"

namespace {

using scrambler_test::InFreshThread;

// The generator written out in 64-bit arithmetic, apart from the code it checks.
class GeneratorModel {
 public:
  int NextBase() {
    state_ = (state_ * 214013 + 2531011) % (std::uint64_t{1} << 32);
    const std::uint64_t r = (state_ / 65536) % 32768;
    return static_cast<int>(4 * r / 32767 + 1);
  }

 private:
  std::uint64_t state_ = 1;
};

std::vector<int> DrawBases(int count) {
  std::vector<int> bases;
  for (int k = 0; k < count; ++k) bases.push_back(scrambler::DrawRotationBase());
  return bases;
}

TEST(RotationBase, EveryThreadStartsWithTheBases1314) {
  // The second thread starts after the first has drawn: each has its own state.
  for (int thread = 0; thread < 2; ++thread) {
    InFreshThread([] { EXPECT_EQ(DrawBases(4), (std::vector<int>{1, 3, 1, 4})); });
  }
}

TEST(RotationBase, FollowsTheGeneratorAndReachesBase5OnlyWithTheTopValue) {
  InFreshThread([] {
    GeneratorModel model;
    std::array<int, 6> seen{};
    for (int k = 0; k < 100000; ++k) {
      const int base = scrambler::DrawRotationBase();
      ASSERT_EQ(base, model.NextBase()) << "draw " << k;
      ++seen.at(static_cast<std::size_t>(base));
    }
    // r = 32767 alone gives 5, about once in 32768 draws; every other base
    // comes about once in four.
    EXPECT_GE(seen[5], 1);
    EXPECT_LE(seen[5], 10);
    for (int base = 1; base <= 4; ++base) EXPECT_GT(seen[base], 20000) << "base " << base;
  });
}

}  // namespace
