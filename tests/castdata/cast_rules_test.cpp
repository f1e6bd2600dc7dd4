#include "cast_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using castdata::CastSerialSource;
using castdata::WinsAndLosses;

TEST(CastRules, RecordCheck) {
  struct Case {
    std::int16_t wins, losses, check;
  } cases[] = {
      {0, 0, 11}, {3, 2, 11}, {10, 1, 18},
      {0, -3, -6},           // -6: the remainder takes the sign of the dividend
      {32767, 32767, 6},     // 622606 mod 22: no 16-bit overflow on the way
      {-32768, -32768, -3},  // -622559
  };
  for (const Case& c : cases) {
    EXPECT_EQ(castdata::ComputeRecordCheck(c.wins, c.losses), c.check) << c.wins << "/" << c.losses;
  }
}

TEST(CastRules, AMismatchingRecordCheckLoadsAsNoWinsAndNoLosses) {
  EXPECT_EQ(castdata::RecordOnLoad(10, 1, 18), (WinsAndLosses{10, 1}));
  EXPECT_EQ(castdata::RecordOnLoad(10, 1, 11), (WinsAndLosses{0, 0}));
  EXPECT_EQ(castdata::RecordOnLoad(0, 0, 0), (WinsAndLosses{0, 0}));
}

TEST(CastRules, Ownership) {
  constexpr std::int16_t player = 7;
  EXPECT_EQ(castdata::OwnerOnLoad(0, player), player);  // stored 0: the reader's own
  EXPECT_EQ(castdata::OwnerOnLoad(9, player), 9);

  struct Case {
    std::int16_t castOwner;
    bool shopMode;
    bool maySave;
    std::int16_t written;
  } cases[] = {
      {player, false, true, player},
      {9, false, false, 9},
      {9, true, true, player},  // shop mode saves another player's cast as the player's
      {0, false, false, player},
      {0, true, true, player},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(castdata::IsOwnCast(c.castOwner, player), c.castOwner == player) << c.castOwner;
    EXPECT_EQ(castdata::MaySaveCast(c.castOwner, player, c.shopMode), c.maySave) << c.castOwner;
    EXPECT_EQ(castdata::OwnerToSave(c.castOwner, player, c.shopMode), c.written) << c.castOwner;
  }
  // Before any load the cast owner number is 0: a player numbered 0 may save.
  EXPECT_TRUE(castdata::MaySaveCast(0, 0, false));
}

TEST(CastRules, HiddenDataOnlyForAnotherPlayersCastThatAsksForIt) {
  EXPECT_TRUE(castdata::EntersHiddenDataMode(9, 7, 1));
  EXPECT_FALSE(castdata::EntersHiddenDataMode(7, 7, 1));
  EXPECT_FALSE(castdata::EntersHiddenDataMode(9, 7, 0));
  EXPECT_FALSE(castdata::EntersHiddenDataMode(9, 7, 2));
}

TEST(CastRules, SerialsAreTheUniformNumberTimes30000Rounded) {
  std::vector<double> draws = {0.0, 0.5, 0.99999, 0.00005, 0.25, 1.7};
  std::size_t next = 0;
  CastSerialSource source([&] { return draws.at(next++); });
  EXPECT_EQ(source.Draw(), 0);
  EXPECT_EQ(source.Draw(), 15000);
  EXPECT_EQ(source.Draw(), 30000);  // 29999.7
  EXPECT_EQ(source.Draw(), 2);      // 1.5, to even
  EXPECT_EQ(source.Draw(), 7500);
  EXPECT_EQ(source.Draw(), 30000);  // a stray source still gives a serial in range
}

TEST(CastRules, ALoadDrawsASerialOnlyForAStoredZero) {
  int calls = 0;
  CastSerialSource source([&] {
    ++calls;
    return 0.1;
  });
  EXPECT_EQ(source.OnLoad(1234), 1234);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(source.OnLoad(0), 3000);
  EXPECT_EQ(calls, 1);
}

TEST(CastRules, TheDefaultSourceDrawsSerialsInRange) {
  CastSerialSource source;
  bool varied = false;
  const std::int16_t first = source.Draw();
  for (int i = 0; i < 200; ++i) {
    const std::int16_t serial = source.Draw();
    ASSERT_GE(serial, 0);
    ASSERT_LE(serial, 30000);
    varied = varied || serial != first;
  }
  EXPECT_TRUE(varied);
}

}  // namespace
