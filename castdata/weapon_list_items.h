// The items of the window's weapon lists, made from the weapon catalogue: the
// six weapon-slot lists (one per category) and, in shop mode, the shop list
// with the listed weapons of all six categories. The window only copies these
// texts and data into its combo boxes.
//
// | Weapon                    | Item text                                  | Item data        |
// |---------------------------|--------------------------------------------|------------------|
// | usable, in a slot list    | "N NAME", the name without trailing spaces | 0                |
// |                           | (ASCII and ideographic); "N" alone when    |                  |
// |                           | the name is empty                          |                  |
// | unusable, in a slot list  | "N -------"                                | 1 (unusable mark)|
// | any listed, in shop list  | as for a usable weapon                     | shop item code   |
//
// N is the weapon number in decimal. The shop item code of category c and
// weapon number k is c + 1 followed by k in two digits: (c + 1) × 100 + k,
// so category 0, weapon 5 gives 105 and category 5, weapon 32 gives 632.
#pragma once

#include <string>
#include <vector>

#include "weapon_catalogue.h"

namespace castdata {

inline constexpr int kUsableItemData = 0;
inline constexpr int kUnusableMark = 1;

struct ListItem {
  std::string text;  // UTF-8
  int data = 0;
};

// The items of weapon-slot list `category` (0..5), in weapon-number order.
std::vector<ListItem> WeaponSlotItems(const WeaponCatalogue& catalogue, int category);

// The items of the shop list: every listed weapon, category by category.
std::vector<ListItem> ShopItems(const WeaponCatalogue& catalogue);

// (category + 1) × 100 + weaponNumber.
int ShopItemCode(int category, int weaponNumber);

}  // namespace castdata
