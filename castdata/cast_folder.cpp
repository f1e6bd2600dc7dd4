#include "cast_folder.h"

#include <algorithm>
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
constexpr std::string_view kDataExtension = ".dat";
constexpr std::string_view kPictureExtension = ".bmp";

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Orders names without regard to ASCII letter case; -1, 0 or 1.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char x = FoldAscii(a[i]);
    const char y = FoldAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The name without `extension` when it ends in it in any letter case.
std::optional<std::string_view> StemWith(std::string_view fileName, std::string_view extension) {
  if (fileName.size() < extension.size()) return std::nullopt;
  const std::size_t stemSize = fileName.size() - extension.size();
  if (!platform::SameFileName(fileName.substr(stemSize), extension)) return std::nullopt;
  return fileName.substr(0, stemSize);
}

// A file of the cast folder that belongs to a cast: its stem and its name.
struct CastFolderEntry {
  std::string stem;
  std::string fileName;
};

// The file of `entries` (sorted by SortByStem) that the game folder
// resolves `name` + `extension` to: that exact spelling, else the first in
// byte order of those equal to it without case; nullopt when none is.
std::optional<std::string> FileFor(const std::vector<CastFolderEntry>& entries, const std::string& name,
                                   std::string_view extension) {
  auto entry = std::lower_bound(entries.begin(), entries.end(), name,
                                [](const CastFolderEntry& listed, const std::string& wanted) {
                                  return CompareIgnoringCase(listed.stem, wanted) < 0;
                                });
  const std::string exact = name + std::string(extension);
  std::optional<std::string> first;
  for (; entry != entries.end() && CompareIgnoringCase(entry->stem, name) == 0; ++entry) {
    if (entry->fileName == exact) return exact;
    if (!first) first = entry->fileName;
  }
  return first;
}

void SortByStem(std::vector<CastFolderEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const CastFolderEntry& a, const CastFolderEntry& b) {
    const int order = CompareIgnoringCase(a.stem, b.stem);
    return order != 0 ? order < 0 : a.fileName < b.fileName;
  });
}

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
  const fs::path folder = game.Resolve(kCastFolder);
  std::error_code error;
  fs::directory_iterator listing(folder, error);
  if (error == std::errc::no_such_file_or_directory) return {};
  // The iterator never yields "." and "..".
  std::vector<CastFolderEntry> profiles;
  std::vector<CastFolderEntry> dataFiles;
  std::vector<CastFolderEntry> pictures;
  for (; !error && listing != fs::directory_iterator(); listing.increment(error)) {
    std::string fileName = listing->path().filename().string();
    if (const auto stem = StemWith(fileName, kProfileExtension)) {
      std::error_code ignored;
      if (listing->is_regular_file(ignored) && !CastNameProblem(*stem)) {
        profiles.push_back({std::string(*stem), std::move(fileName)});
      }
    } else if (const auto dataStem = StemWith(fileName, kDataExtension)) {
      dataFiles.push_back({std::string(*dataStem), std::move(fileName)});
    } else if (const auto pictureStem = StemWith(fileName, kPictureExtension)) {
      pictures.push_back({std::string(*pictureStem), std::move(fileName)});
    }
  }
  if (error) throw Error(CannotRead(folder, error.message()));
  SortByStem(profiles);
  SortByStem(dataFiles);
  SortByStem(pictures);

  const auto pathOf = [&folder](const std::vector<CastFolderEntry>& entries, const std::string& name,
                                std::string_view extension) {
    const std::optional<std::string> file = FileFor(entries, name, extension);
    return folder / file.value_or(name + std::string(extension));
  };
  std::vector<ListedCast> casts;
  for (const CastFolderEntry& profile : profiles) {
    // Spellings of one cast follow each other, the first in byte order first.
    if (!casts.empty() && CompareIgnoringCase(casts.back().name, profile.stem) == 0) continue;
    casts.push_back({profile.stem, pathOf(profiles, profile.stem, kProfileExtension),
                     pathOf(dataFiles, profile.stem, kDataExtension),
                     pathOf(pictures, profile.stem, kPictureExtension)});
  }
  return casts;
}

std::vector<std::string> ListCasts(const platform::GameFolder& game) {
  std::vector<std::string> names;
  for (ListedCast& cast : ListCastFiles(game)) names.push_back(std::move(cast.name));
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
