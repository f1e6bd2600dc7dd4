#include "cast_data_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cast_file_path.h"
#include "error.h"
#include "little_endian.h"
#include "whole_file.h"

namespace castdata {
namespace {

constexpr std::size_t kSlotSize = 4;
constexpr std::size_t kSlotsRead = kCastSlotCount - 1;  // endMark is never read

}  // namespace

CastRecord CastRecordFromBytes(std::span<const std::uint8_t> bytes) {
  CastRecord record;
  std::size_t slot = 0;
  ForEachSlot(record, [&](std::int16_t& value) {
    value = slot < kSlotsRead ? Int16At(bytes, slot * kSlotSize) : 0;
    ++slot;
  });
  return record;
}

CastRecord ReadCastData(std::string_view name, const platform::GameFolder& game) {
  const std::filesystem::path path = CastFilePath(name, ".dat", game);
  std::string reason;
  const std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(path, &reason);
  if (!bytes) throw Error(CannotRead(path, reason));
  return CastRecordFromBytes(*bytes);
}

std::optional<std::vector<std::uint8_t>> ReadPresentCastData(std::string_view name,
                                                             const platform::GameFolder& game) {
  const std::filesystem::path path = CastFilePath(name, ".dat", game);
  std::string reason;
  std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(path, &reason);
  if (bytes) return bytes;
  std::error_code ignored;
  if (std::filesystem::symlink_status(path, ignored).type() == std::filesystem::file_type::not_found) {
    return std::nullopt;
  }
  throw Error(CannotWrite(path, reason));
}

std::vector<std::uint8_t> CastDataContents(std::vector<std::uint8_t> present, const CastRecord& record) {
  if (present.size() < kFirstSaveLength) present.resize(kFirstSaveLength, 0);
  std::size_t slot = 0;
  ForEachSlot(record, [&](std::int16_t value) { PutInt16(present, slot++ * kSlotSize, value); });
  return present;
}

void WriteCastData(std::string_view name, const CastRecord& record,
                   const platform::GameFolder& game) {
  const CastFolderLock lock(game);
  const std::vector<std::uint8_t> bytes =
      CastDataContents(ReadPresentCastData(name, game).value_or(std::vector<std::uint8_t>{}), record);
  const std::filesystem::path path = CastFilePath(name, ".dat", game);
  std::string reason;
  if (!wholefile::Replace(path, bytes, &reason)) throw Error(CannotWrite(path, reason));
}

}  // namespace castdata
