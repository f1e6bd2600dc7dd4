#include "weapon_list_items.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using castdata::WeaponEntry;

castdata::WeaponCatalogue CatalogueWith(const std::vector<WeaponEntry>& entries) {
  castdata::WeaponCatalogue catalogue;
  for (const WeaponEntry& entry : entries) {
    catalogue.categories.at(static_cast<std::size_t>(entry.category)).push_back(entry);
  }
  return catalogue;
}

TEST(WeaponListItems, SlotItemTextsAndData) {
  struct Case {
    WeaponEntry weapon;
    const char* text;
    int data;
  };
  const std::vector<Case> cases = {
      {{0, 10, "ビームライフル", true}, "10 ビームライフル", 0},
      {{0, 7, "ビームライフル", false}, "7 -------", 1},
      {{0, 5, "", true}, "5", 0},
      {{0, 5, " \xE3\x80\x80 ", true}, "5", 0},  // spaces alone, ASCII and ideographic
      {{0, 12, "Gun  \xE3\x80\x80", true}, "12 Gun", 0},
      {{0, 12, " A B ", true}, "12  A B", 0},  // only trailing spaces go
  };
  for (const Case& c : cases) {
    const auto items = castdata::WeaponSlotItems(CatalogueWith({c.weapon}), 0);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, c.text);
    EXPECT_EQ(items[0].data, c.data) << c.text;
  }
}

TEST(WeaponListItems, EachSlotListHoldsItsOwnCategory) {
  const auto catalogue = CatalogueWith({{2, 1, "A", true}, {3, 1, "B", true}, {3, 2, "C", false}});
  const auto items = castdata::WeaponSlotItems(catalogue, 3);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].text, "1 B");
  EXPECT_EQ(items[1].text, "2 -------");
}

TEST(WeaponListItems, ShopListHoldsEveryListedWeaponWithItsCode) {
  const auto catalogue = CatalogueWith(
      {{0, 5, "Gun ", false}, {0, 6, "", true}, {5, 32, "最後", true}});
  const auto items = castdata::ShopItems(catalogue);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].text, "5 Gun");  // named even when unusable
  EXPECT_EQ(items[0].data, 105);
  EXPECT_EQ(items[1].text, "6");
  EXPECT_EQ(items[2].text, "32 最後");
  EXPECT_EQ(items[2].data, 632);
}

}  // namespace
