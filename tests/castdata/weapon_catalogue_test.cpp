#include "weapon_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error.h"
#include "progress_file_fixture.h"
#include "weapon_catalogue_fixture.h"

namespace {

using gamefixture::FixtureWeapon;

struct Reading {
  castdata::ProgressData progress;
  castdata::WeaponCatalogue catalogue;
};

// Reads a catalogue made from `weapons`, with the availability the same
// table gives them.
Reading Read(const std::vector<FixtureWeapon>& weapons, bool shopMode) {
  Reading reading;
  reading.progress = castdata::ReadProgressData(gamefixture::ProgressFileBytes(weapons, 1));
  castdata::ReadWeaponCatalogue(gamefixture::WeaponCatalogueBytes(weapons), "Orv_bwpn.DAT",
                                shopMode, reading.progress, reading.catalogue);
  return reading;
}

TEST(WeaponCatalogue, UsableWeapons) {
  struct Case {
    const char* what;
    FixtureWeapon weapon;
    bool usableOutsideShop;
    bool usableInShop;
  };
  const std::vector<Case> cases = {
      {"available", FixtureWeapon(1, 1), true, true},
      {"availability 2", FixtureWeapon(1, 1).WithAvailability(2), false, false},
      {"availability 0", FixtureWeapon(1, 1).WithAvailability(0), false, false},
      {"availability -1", FixtureWeapon(1, 1).WithAvailability(-1), false, false},
      {"category 0, weapon 11", FixtureWeapon(0, 11), false, true},
      {"category 0, weapon 10", FixtureWeapon(0, 10), true, true},
      {"category 0, weapon 13", FixtureWeapon(0, 13), true, true},
      {"category 0, weapon 16", FixtureWeapon(0, 16), true, true},
      {"category 0, weapon 17", FixtureWeapon(0, 17), false, true},
      {"usage 2046 in category 3", FixtureWeapon(3, 1).WithUsage(2046), false, true},
  };
  for (const Case& c : cases) {
    const std::size_t index = static_cast<std::size_t>(c.weapon.number - 1);
    const auto category = static_cast<std::size_t>(c.weapon.category);
    EXPECT_EQ(Read({c.weapon}, false).catalogue.categories[category].at(index).usable,
              c.usableOutsideShop)
        << c.what;
    EXPECT_EQ(Read({c.weapon}, true).catalogue.categories[category].at(index).usable,
              c.usableInShop)
        << c.what << " in shop mode";
  }
}

TEST(WeaponCatalogue, EntriesCarryCategoryNumberAndName) {
  const Reading reading = Read({FixtureWeapon(4, 7, "レーザー砲")}, false);
  const castdata::WeaponEntry& entry = reading.catalogue.categories[4].at(6);
  EXPECT_EQ(entry.category, 4);
  EXPECT_EQ(entry.number, 7);
  EXPECT_EQ(entry.name, "レーザー砲");
}

TEST(WeaponCatalogue, UsageOtherThan2047ClearsAvailabilityOutsideShopModeEvenPastTheListEnd) {
  const std::vector<FixtureWeapon> weapons = {
      FixtureWeapon(3, 1).WithUsage(2046),
      FixtureWeapon(2, 1).WithListEnd(100),
      FixtureWeapon(2, 5).WithUsage(0),
  };
  const Reading outside = Read(weapons, false);
  EXPECT_EQ(outside.progress.availability[3][0], 0);
  EXPECT_EQ(outside.progress.availability[2][4], 0);
  EXPECT_EQ(outside.progress.availability[2][0], 1);

  const Reading inShop = Read(weapons, true);
  EXPECT_EQ(inShop.progress.availability[3][0], 1);
  EXPECT_EQ(inShop.progress.availability[2][4], 1);
}

TEST(WeaponCatalogue, ListEndsBeforeItsFirstEndRecordButEveryRecordIsSteppedOver) {
  const std::vector<FixtureWeapon> weapons = {
      FixtureWeapon(1, 5, "end").WithListEnd(100),
      FixtureWeapon(1, 6, "after the end"),  // the list stays ended
      FixtureWeapon(2, 1, "first").WithListEnd(100),
      FixtureWeapon(2, 2, "long record").WithNameLength(300),
      FixtureWeapon(3, 1, "next category"),
      FixtureWeapon(3, 32, "its last"),
  };
  const Reading reading = Read(weapons, false);
  EXPECT_EQ(reading.catalogue.categories[1].size(), 4u);
  EXPECT_TRUE(reading.catalogue.categories[2].empty());
  ASSERT_EQ(reading.catalogue.categories[3].size(), 32u);
  EXPECT_EQ(reading.catalogue.categories[3][0].name, "next category");
  EXPECT_EQ(reading.catalogue.categories[3][31].name, "its last");
  EXPECT_EQ(reading.catalogue.categories[5].size(), 32u);
}

TEST(WeaponCatalogue, NameIsTheFirstNCharactersOfTheNameArea) {
  const std::string thirtyTwo = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  const std::string sixteenKanji = "機体砲機体砲機体砲機体砲機体砲機";
  // With n = 5 the list-end value lands on the third character: it carries
  // that character's bytes ("う" is 0x82 0xA4), so the characters read on.
  const auto thirdCharacter = static_cast<std::int16_t>(0xA482);
  struct Case {
    FixtureWeapon weapon;
    std::string name;
  };
  const std::vector<Case> cases = {
      {FixtureWeapon(1, 1, "Gun").WithNameLength(0), ""},
      {FixtureWeapon(1, 1, thirtyTwo).WithNameLength(40), thirtyTwo},
      {FixtureWeapon(1, 1, sixteenKanji).WithNameLength(40), sixteenKanji},
      {FixtureWeapon(1, 1, "AB").WithNameLength(12), "AB"},  // a NUL ends it early
      {FixtureWeapon(1, 1, "あいうえおか").WithNameLength(5).WithListEnd(thirdCharacter),
       "あいうえお"},  // characters, not bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read({c.weapon}, false).catalogue.categories[1].at(0).name, c.name) << c.name;
  }
}

TEST(WeaponCatalogue, PositionsMayReach32767ButNotPassIt) {
  // Every default record holds n = 2 (41 bytes); the last one of category 5
  // takes up the rest, so that the position after it is exactly 32,767 with
  // the first length and 32,768 with the second.
  const int before = 191 * 41;
  const auto reaching = static_cast<std::int16_t>(32767 - 1 - before - 39);
  {
    Reading reading = Read({FixtureWeapon(5, 32).WithNameLength(reaching)}, false);
    EXPECT_EQ(reading.catalogue.categories[5].size(), 32u);
  }
  castdata::ProgressData progress;
  castdata::WeaponCatalogue catalogue;
  const auto bytes = gamefixture::WeaponCatalogueBytes(
      {FixtureWeapon(5, 32).WithNameLength(static_cast<std::int16_t>(reaching + 1))});
  EXPECT_THROW(castdata::ReadWeaponCatalogue(bytes, "Orv_bwpn.DAT", false, progress, catalogue),
               castdata::Error);
}

TEST(WeaponCatalogue, OverflowAndNegativeLengthNameTheFileAndKeepWhatWasRead) {
  struct Case {
    const char* what;
    FixtureWeapon weapon;
    std::size_t listedInCategory1;
  };
  const std::vector<Case> cases = {
      {"overflow", FixtureWeapon(1, 3).WithNameLength(32000), 2},
      {"negative name length", FixtureWeapon(1, 3).WithNameLength(-1), 2},
  };
  for (const Case& c : cases) {
    castdata::ProgressData progress;
    castdata::WeaponCatalogue catalogue;
    const auto bytes = gamefixture::WeaponCatalogueBytes(
        {c.weapon, FixtureWeapon(0, 1, "kept").WithUsage(5)});
    progress.availability[0][0] = 1;
    try {
      castdata::ReadWeaponCatalogue(bytes, "DAT/Orv_bwpn.DAT", false, progress, catalogue);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const castdata::Error& error) {
      EXPECT_NE(std::string(error.what()).find("「DAT/Orv_bwpn.DAT」"), std::string::npos)
          << c.what << ": " << error.what();
    }
    EXPECT_EQ(catalogue.categories[0].size(), 32u) << c.what;
    EXPECT_EQ(catalogue.categories[0][0].name, "kept") << c.what;
    EXPECT_EQ(catalogue.categories[1].size(), c.listedInCategory1) << c.what;
    EXPECT_EQ(progress.availability[0][0], 0) << c.what;
  }
}

TEST(WeaponCatalogue, ACatalogueThatEndsEarlyReadsZerosAfterItsEnd) {
  std::vector<std::uint8_t> bytes =
      gamefixture::WeaponCatalogueBytes({FixtureWeapon(0, 10, "last one read")});
  bytes.resize(32 * 41);  // category 0 alone
  castdata::ProgressData progress;
  progress.availability[0][9] = 1;
  progress.availability[1][0] = 1;
  castdata::WeaponCatalogue catalogue;
  castdata::ReadWeaponCatalogue(bytes, "Orv_bwpn.DAT", false, progress, catalogue);
  EXPECT_EQ(catalogue.categories[0][9].name, "last one read");
  ASSERT_EQ(catalogue.categories[1].size(), 32u);
  EXPECT_EQ(catalogue.categories[1][0].name, "");
  EXPECT_FALSE(catalogue.categories[1][0].usable);  // usage value 0
}

}  // namespace
