#include "orvdll.h"

#include "packed_format.h"
#include "rotation_base.h"
#include "whole_file.h"

// Both functions leave the file byte for byte as it was whenever they return
// 0: the rewrite goes through a synced temporary file that is renamed over the
// original, so a full disk or a lack of memory never damages a game file.

ORVDLL_EXPORT std::int32_t FilePack(const char* path) {
  const int base = scrambler::DrawRotationBase();
  if (path == nullptr) return 0;
  try {
    const auto plain = wholefile::Read(path);
    if (!plain || scrambler::IsPacked(*plain)) return 0;
    return wholefile::Replace(path, scrambler::Pack(*plain, base)) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ORVDLL_EXPORT std::int32_t FileUnpack(const char* path) {
  if (path == nullptr) return 0;
  try {
    const auto packed = wholefile::Read(path);
    if (!packed || !scrambler::IsPacked(*packed)) return 0;
    return wholefile::Replace(path, scrambler::Unpack(*packed)) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
