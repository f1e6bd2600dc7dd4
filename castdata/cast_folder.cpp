#include "cast_folder.h"

#include <optional>
#include <system_error>

#include "cast_file_path.h"
#include "cast_name.h"
#include "cast_picture_format.h"
#include "error.h"
#include "whole_file.h"

namespace castdata {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProfileExtension = ".cst";

bool EndsWithProfileExtension(std::string_view fileName) {
  return fileName.size() >= kProfileExtension.size() &&
         fileName.substr(fileName.size() - kProfileExtension.size()) == kProfileExtension;
}

}  // namespace

bool CastExists(std::string_view name, const fs::path& gameFolder) {
  const fs::path path = CastFilePath(name, kProfileExtension, gameFolder);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return false;
  if (error) throw Error(CannotRead(path, error.message()));
  return fs::is_regular_file(status);
}

std::vector<std::string> ListCasts(const fs::path& gameFolder) {
  const fs::path folder = gameFolder / "cast";
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error == std::errc::no_such_file_or_directory) return {};
  // The iterator never yields "." and "..".
  std::vector<std::string> names;
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string fileName = entries->path().filename().string();
    std::error_code ignored;
    if (!EndsWithProfileExtension(fileName) || !entries->is_regular_file(ignored)) continue;
    std::string name = fileName.substr(0, fileName.size() - kProfileExtension.size());
    if (!CastNameProblem(name)) names.push_back(std::move(name));
  }
  if (error) throw Error(CannotRead(folder, error.message()));
  return names;
}

bool DefaultPictureExists(const fs::path& gameFolder) {
  std::error_code ignored;
  return fs::is_regular_file(gameFolder / kDefaultPicture, ignored);
}

void EnsureCastPicture(std::string_view name, const fs::path& gameFolder) {
  const fs::path picture = CastFilePath(name, ".bmp", gameFolder);
  std::error_code ignored;
  if (fs::symlink_status(picture, ignored).type() != fs::file_type::not_found) return;
  const fs::path defaultPicture = gameFolder / kDefaultPicture;
  std::string reason;
  const std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(defaultPicture, &reason);
  if (!bytes) throw Error(CannotRead(defaultPicture, reason));
  if (!wholefile::Replace(picture, *bytes, &reason)) throw Error(CannotWrite(picture, reason));
}

void WriteCastPicture(std::string_view name, std::span<const std::uint8_t> picture,
                      const fs::path& gameFolder) {
  const fs::path path = CastFilePath(name, ".bmp", gameFolder);
  if (const std::optional<std::string> problem = CastPictureProblem(picture)) {
    throw Error(CannotWrite(path, *problem));
  }
  std::string reason;
  if (!wholefile::Replace(path, picture, &reason)) throw Error(CannotWrite(path, reason));
}

}  // namespace castdata
