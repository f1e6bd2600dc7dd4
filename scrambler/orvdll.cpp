#include "orvdll.h"

#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "packed_format.h"
#include "rotation_base.h"
#include "whole_file.h"

// Both functions leave the file byte for byte as it was whenever they return
// 0: the rewrite goes through a synced temporary file that is renamed over the
// original, so a full disk or a lack of memory never damages a game file.
// Each call holds the file in one buffer, transforms it there and writes
// from that buffer; no byte is moved within it.

namespace {

// The bytes of the regular file at `path` (through a symbolic link, of the
// file it points to), after `leadingRoom` bytes of room for the caller. A
// folder, a pipe or a device is not read at all: reading a pipe could wait for
// ever, and the rename would put a plain file in its place.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const char* path, std::size_t leadingRoom) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return wholefile::ReadBehindRoom(path, leadingRoom);
}

}  // namespace

// The file is read behind room for the header, so packing writes the header
// into that room and rotates the bytes where they lie.
ORVDLL_EXPORT std::int32_t FilePack(const char* path) {
  const int base = scrambler::DrawRotationBase();
  if (path == nullptr) return 0;
  try {
    auto buffer = ReadRegularFile(path, scrambler::kHeaderSize);
    if (!buffer || scrambler::IsPacked(std::span(*buffer).subspan(scrambler::kHeaderSize))) return 0;
    scrambler::PackBuffer(*buffer, base);
    return wholefile::Replace(path, *buffer) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// Unpacking rotates the payload where it lies and writes it from behind the
// header.
ORVDLL_EXPORT std::int32_t FileUnpack(const char* path) {
  if (path == nullptr) return 0;
  try {
    auto buffer = ReadRegularFile(path, 0);
    if (!buffer || !scrambler::IsPacked(*buffer)) return 0;
    return wholefile::Replace(path, scrambler::UnpackBuffer(*buffer)) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
