#include "weapon_list_items.h"

#include <string_view>

namespace castdata {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000 in UTF-8

std::string_view WithoutTrailingSpaces(std::string_view text) {
  for (;;) {
    if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return text;
    }
  }
}

std::string NamedText(const WeaponEntry& weapon) {
  const std::string_view name = WithoutTrailingSpaces(weapon.name);
  std::string text = std::to_string(weapon.number);
  if (!name.empty()) text.append(" ").append(name);
  return text;
}

}  // namespace

std::vector<ListItem> WeaponSlotItems(const WeaponCatalogue& catalogue, int category) {
  std::vector<ListItem> items;
  for (const WeaponEntry& weapon : catalogue.categories.at(static_cast<std::size_t>(category))) {
    if (weapon.usable) {
      items.push_back({NamedText(weapon), kUsableItemData});
    } else {
      items.push_back({std::to_string(weapon.number) + " -------", kUnusableMark});
    }
  }
  return items;
}

std::vector<ListItem> ShopItems(const WeaponCatalogue& catalogue) {
  std::vector<ListItem> items;
  for (const auto& list : catalogue.categories) {
    for (const WeaponEntry& weapon : list) {
      items.push_back({NamedText(weapon), ShopItemCode(weapon.category, weapon.number)});
    }
  }
  return items;
}

int ShopItemCode(int category, int weaponNumber) { return (category + 1) * 100 + weaponNumber; }

}  // namespace castdata
