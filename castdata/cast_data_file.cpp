#include "cast_data_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cast_file_path.h"
#include "error.h"
#include "whole_file.h"

namespace castdata {
namespace {

constexpr std::size_t kSlotSize = 4;
constexpr std::size_t kSlotsRead = kCastSlotCount - 1;  // endMark is never read

// The value whose low byte is at `offset`; a byte beyond the end reads as 0.
std::int16_t ReadInt16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  const auto byteAt = [&](std::size_t at) -> std::uint16_t { return at < bytes.size() ? bytes[at] : 0; };
  return static_cast<std::int16_t>(byteAt(offset) | byteAt(offset + 1) << 8);
}

void WriteInt16At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<std::uint8_t>(bits & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

// The file's present bytes, none when it does not exist yet.
std::vector<std::uint8_t> BytesToOverlay(const std::filesystem::path& path) {
  std::string reason;
  std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(path, &reason);
  if (bytes) return *bytes;
  std::error_code ignored;
  if (std::filesystem::symlink_status(path, ignored).type() == std::filesystem::file_type::not_found) {
    return {};
  }
  throw Error(CannotWrite(path, reason));
}

}  // namespace

CastRecord ReadCastData(std::string_view name, const std::filesystem::path& gameFolder) {
  const std::filesystem::path path = CastFilePath(name, ".dat", gameFolder);
  std::string reason;
  const std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(path, &reason);
  if (!bytes) throw Error(CannotRead(path, reason));
  CastRecord record;
  std::size_t slot = 0;
  ForEachSlot(record, [&](std::int16_t& value) {
    value = slot < kSlotsRead ? ReadInt16At(*bytes, slot * kSlotSize) : 0;
    ++slot;
  });
  return record;
}

void WriteCastData(std::string_view name, const CastRecord& record,
                   const std::filesystem::path& gameFolder) {
  const std::filesystem::path path = CastFilePath(name, ".dat", gameFolder);
  std::vector<std::uint8_t> bytes = BytesToOverlay(path);
  if (bytes.size() < kFirstSaveLength) bytes.resize(kFirstSaveLength, 0);
  std::size_t slot = 0;
  ForEachSlot(record, [&](std::int16_t value) { WriteInt16At(bytes, slot++ * kSlotSize, value); });
  std::string reason;
  if (!wholefile::Replace(path, bytes, &reason)) throw Error(CannotWrite(path, reason));
}

}  // namespace castdata
