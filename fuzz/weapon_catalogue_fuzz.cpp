// The weapon catalogue's reader on any plain bytes, in shop mode and outside
// it. A reading either ends with castdata::Error naming the file, or yields
// six lists; in both cases each list holds at most 32 weapons of its own
// category, numbered from 1 in list order, with names of well-formed UTF-8 of
// at most 32 characters, and only a weapon the player may use is usable.
// Shop mode changes which weapons are usable, never what is listed.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "error.h"
#include "fuzz_check.h"
#include "weapon_catalogue.h"

namespace {

constexpr std::string_view kFileName = "DAT/Orv_bwpn.DAT";

struct Reading {
  castdata::ProgressData progress;
  castdata::WeaponCatalogue catalogue;
  bool failed = false;
};

Reading Read(std::span<const std::uint8_t> input, bool shopMode) {
  Reading reading;
  for (auto& category : reading.progress.availability) category.fill(1);
  try {
    castdata::ReadWeaponCatalogue(input, kFileName, shopMode, reading.progress, reading.catalogue);
  } catch (const castdata::Error& error) {
    FUZZ_CHECK(std::string_view(error.what()).find(kFileName) != std::string_view::npos);
    reading.failed = true;
  }
  return reading;
}

bool IsAllowedInSlotZero(int number) { return number == 10 || (number >= 13 && number <= 16); }

void CheckLists(const Reading& reading, bool shopMode) {
  for (int c = 0; c < castdata::kWeaponCategoryCount; ++c) {
    const std::vector<castdata::WeaponEntry>& list = reading.catalogue.categories[c];
    FUZZ_CHECK(list.size() <= castdata::kWeaponsPerCategory);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const castdata::WeaponEntry& entry = list[i];
      FUZZ_CHECK(entry.category == c);
      FUZZ_CHECK(entry.number == static_cast<int>(i) + 1);
      FUZZ_CHECK(fuzzcheck::IsUtf8(entry.name));
      FUZZ_CHECK(fuzzcheck::CharacterCount(entry.name) <= 32);
      FUZZ_CHECK(entry.name.find('\0') == std::string::npos);
      const bool available = reading.progress.availability[c][i] == 1;
      FUZZ_CHECK(!entry.usable || available);
      if (shopMode) FUZZ_CHECK(entry.usable == available);
      if (!shopMode && entry.usable) FUZZ_CHECK(c != 0 || IsAllowedInSlotZero(entry.number));
    }
  }
}

std::vector<std::string> ListedNames(const castdata::WeaponCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const auto& list : catalogue.categories) {
    for (const auto& entry : list) names.push_back(entry.name);
    names.emplace_back("\n");  // the end of a category's list
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzzcheck::Bytes(data, size);
  const Reading normal = Read(input, false);
  const Reading shop = Read(input, true);
  CheckLists(normal, false);
  CheckLists(shop, true);
  FUZZ_CHECK(normal.failed == shop.failed);
  FUZZ_CHECK(ListedNames(normal.catalogue) == ListedNames(shop.catalogue));
  // Shop mode leaves the availability as the progress file gave it.
  for (const auto& category : shop.progress.availability) {
    for (const std::int16_t value : category) FUZZ_CHECK(value == 1);
  }
  return 0;
}
