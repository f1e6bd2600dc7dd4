#include "orvdll.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "packed_format.h"
#include "rotation_base.h"
#include "whole_file.h"

// Both functions leave the file byte for byte as it was whenever they return
// 0: the rewrite goes through a synced temporary file that is renamed over the
// original, so a full disk or a lack of memory never damages a game file.
// Each call holds the file in one buffer, transforms it there and writes that
// buffer back.

namespace {

// The bytes of the regular file at `path` (through a symbolic link, of the
// file it points to). A folder, a pipe or a device is not read at all: reading
// a pipe could wait for ever, and the rename would put a plain file in its
// place. The buffer has room for the four header bytes that packing adds, so
// packing never needs a second one.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const char* path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return wholefile::Read(path, nullptr, scrambler::kHeaderSize);
}

}  // namespace

ORVDLL_EXPORT std::int32_t FilePack(const char* path) {
  const int base = scrambler::DrawRotationBase();
  if (path == nullptr) return 0;
  try {
    auto bytes = ReadRegularFile(path);
    if (!bytes || scrambler::IsPacked(*bytes)) return 0;
    scrambler::PackInPlace(*bytes, base);
    return wholefile::Replace(path, *bytes) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ORVDLL_EXPORT std::int32_t FileUnpack(const char* path) {
  if (path == nullptr) return 0;
  try {
    auto bytes = ReadRegularFile(path);
    if (!bytes || !scrambler::IsPacked(*bytes)) return 0;
    scrambler::UnpackInPlace(*bytes);
    return wholefile::Replace(path, *bytes) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
