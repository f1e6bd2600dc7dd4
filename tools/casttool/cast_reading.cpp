#include "cast_reading.h"

#include <system_error>

#include "cast_data_file.h"
#include "cast_file_path.h"
#include "cast_folder.h"
#include "error.h"
#include "file_access.h"
#include "messages.h"

namespace casttool {
namespace {

std::optional<std::uintmax_t> PictureBytes(const std::filesystem::path& picture) {
  std::error_code error;
  if (std::filesystem::status(picture, error).type() == std::filesystem::file_type::not_found) {
    return std::nullopt;
  }
  if (const auto problem = UnreadableFileError(picture)) throw castdata::Error(*problem);
  const std::uintmax_t bytes = std::filesystem::file_size(picture, error);
  if (error) throw castdata::Error(castdata::CannotRead(picture, error.message()));
  return bytes;
}

}  // namespace

CastFiles ReadCastFiles(const platform::GameFolder& game, std::string_view name) {
  CastFiles cast;
  cast.name = std::string(name);
  cast.profileFile = castdata::CastFilePath(name, ".cst", game);
  cast.dataFile = castdata::CastFilePath(name, ".dat", game);
  cast.pictureFile = castdata::CastFilePath(name, ".bmp", game);
  if (!castdata::CastExists(name, game)) {
    throw castdata::Error(castdata::CannotRead(
        cast.profileFile, UnreadableReason(cast.profileFile).value_or(messages::kFileNotFound)));
  }
  // Opening a pipe to read it would wait for a writer.
  if (const auto problem = UnreadableFileError(cast.dataFile)) throw castdata::Error(*problem);
  cast.record = castdata::ReadCastData(name, game);
  cast.profile = castdata::ReadCastProfile(name, game);
  cast.pictureBytes = PictureBytes(cast.pictureFile);
  return cast;
}

}  // namespace casttool
