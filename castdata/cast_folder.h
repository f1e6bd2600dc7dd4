// The casts in the folder "cast" of the game folder, and their pictures.
//
// The profile file cast/NAME.cst is what makes a cast exist: a data file or a
// picture without one is not a cast. Names are matched as the game folder
// matches them (platform/game_folder.h): "HAYATE" finds "cast/hayate.CST".
// The writers here hold the lock of the cast folder (CastFolderLock) and
// fail with castdata::Error, writing nothing, when another program holds it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game_folder.h"

namespace castdata {

// Whether cast/NAME.cst is there as a file. castdata::Error when
// the name is refused, or when the file system cannot say (an unreadable cast
// folder), so that a cast is never taken for a new one by mistake.
bool CastExists(std::string_view name, const platform::GameFolder& game = {});

// One cast as the cast folder lists it: its name and the paths of its three
// files as they are spelled on disk. A data file or a picture that is not
// there has the path a new one would get.
struct ListedCast {
  std::string name;
  std::filesystem::path profileFile;
  std::filesystem::path dataFile;
  std::filesystem::path pictureFile;
};

// The casts of cast/, read with one pass over the folder: the files whose
// names end in ".cst" in any letter case, each cast named without those 4
// characters as the file spells them. Sorted as a player reads a list: by
// name without regard to ASCII letter case, ties by the exact bytes. A profile
// file there in several spellings ("X.cst", "x.CST") is one cast, listed once
// under the spelling first in byte order, which is the one its name resolves
// to. Folders, and names that cast operations would refuse (an empty one from
// ".cst", one with "\"), are not listed (cast_folder_listing.h has the
// rules). No cast folder lists nothing; castdata::Error when the folder is
// there but cannot be read. Every listed name is one that CastExists finds.
std::vector<ListedCast> ListCastFiles(const platform::GameFolder& game = {});

// The names of ListCastFiles, in its order: the cast list of the editor and
// of casttool.
std::vector<std::string> ListCasts(const platform::GameFolder& game = {});

// The default picture, copied for a cast that has none.
inline constexpr std::string_view kDefaultPicture = "cast/def.bmp";

// Whether cast/def.bmp is there as a file.
bool DefaultPictureExists(const platform::GameFolder& game = {});

// When cast/NAME.bmp is missing, copies cast/def.bmp to it; an existing
// picture is never touched. castdata::Error, naming the file
// and the reason, when the name is refused, cast/def.bmp cannot be read, or
// the copy cannot be written.
void EnsureCastPicture(std::string_view name, const platform::GameFolder& game = {});

// Replaces cast/NAME.bmp (or creates it) with `picture` in one
// step. castdata::Error, naming the file and the reason, when the name is
// refused, `picture` is no cast picture (IsCastPicture; nothing is written
// then), or the file cannot be written.
void WriteCastPicture(std::string_view name, std::span<const std::uint8_t> picture,
                      const platform::GameFolder& game = {});

}  // namespace castdata
