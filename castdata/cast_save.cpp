#include "cast_save.h"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cast_data_file.h"
#include "cast_file_path.h"
#include "error.h"
#include "whole_file.h"

namespace castdata {
namespace {

// Puts the data file back as it was before the save: its old bytes, or no
// file when there was none. The reason when that fails too.
std::optional<std::string> PutBack(const std::filesystem::path& path,
                                   const std::optional<std::vector<std::uint8_t>>& oldBytes) {
  std::string reason;
  if (oldBytes) {
    if (!wholefile::Replace(path, *oldBytes, &reason)) return reason;
    return std::nullopt;
  }
  std::error_code error;
  if (!std::filesystem::remove(path, error) && error) return error.message();
  return std::nullopt;
}

}  // namespace

void WriteCastFiles(std::string_view name, const CastRecord& record, const CastProfile& profile,
                    const platform::GameFolder& game) {
  const std::filesystem::path dataPath = CastFilePath(name, ".dat", game);
  const std::filesystem::path profilePath = CastFilePath(name, ".cst", game);
  const CastFolderLock lock(game);
  // The old data file, read once: the base of the new contents and what the
  // data file is put back to when the profile file cannot follow it.
  const std::optional<std::vector<std::uint8_t>> oldData = ReadPresentCastData(name, game);
  const std::vector<std::uint8_t> data = CastDataContents(oldData.value_or(std::vector<std::uint8_t>{}), record);
  const std::vector<std::uint8_t> text = CastProfileContents(name, profile, game);

  std::string reason;
  wholefile::StagedFile stagedData;
  wholefile::StagedFile stagedProfile;
  if (!stagedData.Stage(dataPath, data, &reason)) throw Error(CannotWrite(dataPath, reason));
  if (!stagedProfile.Stage(profilePath, text, &reason)) throw Error(CannotWrite(profilePath, reason));
  if (!stagedData.Commit(&reason)) throw Error(CannotWrite(dataPath, reason));
  if (!stagedProfile.Commit(&reason)) {
    std::string message = CannotWrite(profilePath, reason);
    if (const std::optional<std::string> notPutBack = PutBack(dataPath, oldData)) {
      message += "\n「" + dataPath.generic_string() + "」を元に戻せませんでした: " + *notPutBack;
    }
    throw Error(message);
  }
}

}  // namespace castdata
