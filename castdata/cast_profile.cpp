#include "cast_profile.h"

#include <optional>
#include <utility>

#include "cast_file_path.h"
#include "error.h"
#include "profile_file.h"

namespace castdata {
namespace {

constexpr std::string_view kSection = "Data";

// The profile file at `path` with the six keys set.
profile::ProfileFile WithCastKeys(const std::filesystem::path& path, const CastProfile& profile) {
  std::string reason;
  std::optional<profile::ProfileFile> file = profile::ProfileFile::Load(path, &reason);
  if (!file) throw Error(CannotWrite(path, reason));
  for (const auto& [key, text] : kCastProfileKeys) {
    if (!file->SetValue(kSection, key, profile.*text, &reason)) throw Error(CannotWrite(path, reason));
  }
  return *std::move(file);
}

}  // namespace

CastProfile ReadCastProfile(std::string_view name, const platform::GameFolder& game) {
  const std::filesystem::path path = CastFilePath(name, ".cst", game);
  std::string reason;
  const std::optional<profile::ProfileFile> file = profile::ProfileFile::Load(path, &reason);
  if (!file) throw Error(CannotRead(path, reason));
  CastProfile result;
  for (const auto& [key, text] : kCastProfileKeys) result.*text = file->Value(kSection, key);
  return result;
}

std::string CastUnitName(std::string bytes) {
  constexpr std::string_view kUnitNameKey = kCastProfileKeys[0].first;  // "Name"
  return profile::ProfileFile::FromBytes(std::move(bytes)).Value(kSection, kUnitNameKey);
}

void WriteCastProfile(std::string_view name, const CastProfile& profile,
                      const platform::GameFolder& game) {
  const CastFolderLock lock(game);
  const std::filesystem::path path = CastFilePath(name, ".cst", game);
  std::string reason;
  if (!WithCastKeys(path, profile).Save(path, &reason)) throw Error(CannotWrite(path, reason));
}

std::vector<std::uint8_t> CastProfileContents(std::string_view name, const CastProfile& profile,
                                              const platform::GameFolder& game) {
  const std::string bytes = WithCastKeys(CastFilePath(name, ".cst", game), profile).Bytes();
  return {bytes.begin(), bytes.end()};
}

}  // namespace castdata
