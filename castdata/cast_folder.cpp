#include "cast_folder.h"

#include <optional>
#include <system_error>

#include "cast_file_path.h"
#include "cast_folder_listing.h"
#include "cast_picture_format.h"
#include "error.h"
#include "whole_file.h"

namespace castdata {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProfileExtension = ".cst";
constexpr std::string_view kPictureExtension = ".bmp";

}  // namespace

bool CastExists(std::string_view name, const platform::GameFolder& game) {
  const fs::path path = CastFilePath(name, kProfileExtension, game);
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return false;
  if (error) throw Error(CannotRead(path, error.message()));
  return fs::is_regular_file(status);
}

std::vector<ListedCast> ListCastFiles(const platform::GameFolder& game) {
  const CastFolderListing listing(game);
  std::vector<ListedCast> casts;
  casts.reserve(listing.CastCount());
  for (std::size_t cast = 0; cast < listing.CastCount(); ++cast) {
    casts.push_back({std::string(listing.CastName(cast)), listing.FilePath(cast, CastFileKind::kProfile),
                     listing.FilePath(cast, CastFileKind::kData), listing.FilePath(cast, CastFileKind::kPicture)});
  }
  return casts;
}

std::vector<std::string> ListCasts(const platform::GameFolder& game) {
  const CastFolderListing listing(game);
  std::vector<std::string> names;
  names.reserve(listing.CastCount());
  for (std::size_t cast = 0; cast < listing.CastCount(); ++cast) names.emplace_back(listing.CastName(cast));
  return names;
}

bool DefaultPictureExists(const platform::GameFolder& game) { return game.HasFile(kDefaultPicture); }

void EnsureCastPicture(std::string_view name, const platform::GameFolder& game) {
  std::error_code ignored;
  const auto present = [&] {
    return fs::symlink_status(CastFilePath(name, kPictureExtension, game), ignored).type() != fs::file_type::not_found;
  };
  if (present()) return;
  // Looked for again under the lock: an import may have put a picture there
  // meanwhile, which the copy must not replace.
  const CastFolderLock lock(game);
  if (present()) return;
  const fs::path picture = CastFilePath(name, kPictureExtension, game);
  const fs::path defaultPicture = game.Resolve(kDefaultPicture);
  std::string reason;
  const std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(defaultPicture, &reason);
  if (!bytes) throw Error(CannotRead(defaultPicture, reason));
  if (!wholefile::Replace(picture, *bytes, &reason)) throw Error(CannotWrite(picture, reason));
}

void WriteCastPicture(std::string_view name, std::span<const std::uint8_t> picture,
                      const platform::GameFolder& game) {
  const fs::path path = CastFilePath(name, kPictureExtension, game);
  if (const std::optional<std::string> problem = CastPictureProblem(picture)) {
    throw Error(CannotWrite(path, *problem));
  }
  const CastFolderLock lock(game);
  std::string reason;
  if (!wholefile::Replace(path, picture, &reason)) throw Error(CannotWrite(path, reason));
}

}  // namespace castdata
