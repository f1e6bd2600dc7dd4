#include "weapon_catalogue.h"

#include <string>

#include "little_endian.h"
#include "error.h"
#include "sjis.h"

namespace castdata {
namespace {

constexpr int kNameAreaOffset = 4;
constexpr int kNameAreaSize = 32;
constexpr int kListEndOffset = 3;   // after the name length n
constexpr int kUsageOffset = 27;    // after n
constexpr int kRecordOverhead = 39;  // record size = n + 39
constexpr int kLastPosition = 32767;

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The first `count` characters of UTF-8 `text`, cut before a NUL.
std::string FirstCharacters(const std::string& text, int count) {
  std::size_t end = 0;
  for (int taken = 0; taken < count && end < text.size() && text[end] != '\0'; ++taken) {
    ++end;
    while (end < text.size() && IsContinuationByte(text[end])) ++end;
  }
  return text.substr(0, end);
}

// Outside shop mode, slot 0 may carry only these weapons of category 0.
bool IsAllowedInSlotZero(int number) { return number == 10 || (number >= 13 && number <= 16); }

bool IsUsable(int category, int number, std::int16_t availability, std::int16_t usage,
              bool shopMode) {
  if (availability != 1) return false;
  if (shopMode) return true;
  return usage == kUsableUsageValue && (category != 0 || IsAllowedInSlotZero(number));
}

// Reads the records one by one, keeping the running position as the signed
// 16-bit, 1-based position it is in the game's own reader.
class CatalogueReader {
 public:
  CatalogueReader(std::span<const std::uint8_t> bytes, std::string_view fileName)
      : bytes_(bytes), fileName_(fileName) {}

  // `position` plus `distance`, or an error when it would pass 32,767.
  int Advance(int position, int distance, int category, int number) const {
    const int result = position + distance;
    if (result > kLastPosition) {
      throw Fault(category, number, "で読み込み位置が" + std::to_string(kLastPosition) + "を超えます");
    }
    return result;
  }

  std::int16_t Int16AtPosition(int position) const {
    return Int16At(bytes_, static_cast<std::size_t>(position - 1));
  }

  std::string NameAt(int position, int nameLength) const {
    const std::string area =
        BytesAt(bytes_, static_cast<std::size_t>(position - 1), kNameAreaSize);
    return FirstCharacters(sjis::ToUtf8(area), nameLength);
  }

  void RefuseNegativeLength(int nameLength, int category, int number) const {
    if (nameLength >= 0) return;
    throw Fault(category, number, "の名前の長さが負の値(" + std::to_string(nameLength) + ")です");
  }

 private:
  Error Fault(int category, int number, const std::string& what) const {
    return Error("「" + fileName_ + "」を読み込めません: 武器カテゴリ" + std::to_string(category) +
                 "の武器番号" + std::to_string(number) + what);
  }

  std::span<const std::uint8_t> bytes_;
  std::string fileName_;
};

}  // namespace

void ReadWeaponCatalogue(std::span<const std::uint8_t> plainBytes, std::string_view fileName,
                         bool shopMode, ProgressData& progress, WeaponCatalogue& catalogue) {
  catalogue = WeaponCatalogue{};
  const CatalogueReader reader(plainBytes, fileName);
  int position = 1;
  for (int c = 0; c < kWeaponCategoryCount; ++c) {
    bool listEnded = false;
    for (int w = 0; w < kWeaponsPerCategory; ++w) {
      const int number = w + 1;
      const int nameLength = reader.Int16AtPosition(position);
      const int namePosition = reader.Advance(position, kNameAreaOffset, c, number);
      reader.RefuseNegativeLength(nameLength, c, number);
      std::string name = reader.NameAt(namePosition, nameLength);

      const int listEndPosition = reader.Advance(position, nameLength + kListEndOffset, c, number);
      if (reader.Int16AtPosition(listEndPosition) == kListEndValue) listEnded = true;

      const int usagePosition = reader.Advance(position, nameLength + kUsageOffset, c, number);
      const std::int16_t usage = reader.Int16AtPosition(usagePosition);
      std::int16_t& availability = progress.availability[c][w];
      if (usage != kUsableUsageValue && !shopMode) availability = 0;

      if (!listEnded) {
        catalogue.categories[c].push_back(WeaponEntry{
            c, number, std::move(name), IsUsable(c, number, availability, usage, shopMode)});
      }
      position = reader.Advance(position, nameLength + kRecordOverhead, c, number);
    }
  }
}

}  // namespace castdata
