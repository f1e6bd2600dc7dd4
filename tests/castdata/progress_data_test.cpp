#include "progress_data.h"

#include <gtest/gtest.h>

#include <vector>

#include "progress_file_fixture.h"

namespace {

using gamefixture::FixtureWeapon;

TEST(ProgressData, ReadsEachSlotWeaponMajorAndThePlayerNumber) {
  const std::vector<FixtureWeapon> weapons = {
      FixtureWeapon(0, 1).WithAvailability(1),  FixtureWeapon(5, 1).WithAvailability(2),
      FixtureWeapon(1, 2).WithAvailability(-1), FixtureWeapon(5, 32).WithAvailability(7),
  };
  const castdata::ProgressData progress =
      castdata::ReadProgressData(gamefixture::ProgressFileBytes(weapons, -1234));
  EXPECT_EQ(progress.availability[0][0], 1);
  EXPECT_EQ(progress.availability[5][0], 2);
  EXPECT_EQ(progress.availability[1][1], -1);
  EXPECT_EQ(progress.availability[5][31], 7);
  EXPECT_EQ(progress.availability[0][1], 0);
  EXPECT_EQ(progress.playerNumber, -1234);
}

TEST(ProgressData, BytesThatAreNotReadChangeNothing) {
  const std::vector<FixtureWeapon> weapons = {FixtureWeapon(2, 5), FixtureWeapon(4, 32)};
  const std::vector<std::uint8_t> clean = gamefixture::ProgressFileBytes(weapons, 42);
  std::vector<std::uint8_t> noisy = clean;
  auto scribble = [&noisy](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) noisy[i] = static_cast<std::uint8_t>(0xA5 ^ i);
  };
  scribble(0, 4);
  scribble(772, 800);  // the slots of weapon index 32 and the 4 bytes after them
  for (std::size_t slot = 0; slot < 6 * 32; ++slot) scribble(4 + 4 * slot + 2, 4 + 4 * slot + 4);
  noisy.resize(900, 0x5A);  // and whatever follows the player number

  const auto expected = castdata::ReadProgressData(clean);
  const auto actual = castdata::ReadProgressData(noisy);
  EXPECT_EQ(actual.availability, expected.availability);
  EXPECT_EQ(actual.playerNumber, 42);
}

TEST(ProgressData, AShortFileReadsZerosWhereItEnds) {
  std::vector<std::uint8_t> bytes =
      gamefixture::ProgressFileBytes({FixtureWeapon(0, 1), FixtureWeapon(5, 32)}, 0x0102);
  bytes.resize(801);  // the player number's high byte is missing
  EXPECT_EQ(castdata::ReadProgressData(bytes).playerNumber, 0x02);
  EXPECT_EQ(castdata::ReadProgressData(bytes).availability[5][31], 1);
  bytes.resize(8);  // only the first two slots are left
  const auto progress = castdata::ReadProgressData(bytes);
  EXPECT_EQ(progress.availability[0][0], 1);
  EXPECT_EQ(progress.availability[5][31], 0);
  EXPECT_EQ(progress.playerNumber, 0);
}

}  // namespace
