// The casts in the folder "cast" of the game folder, and their pictures.
//
// The profile file cast/NAME.cst is what makes a cast exist: a data file or a
// picture without one is not a cast. Cast names match their files as the file
// system matches names (with regard to letter case on Linux).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace castdata {

// Whether gameFolder/cast/NAME.cst is there as a file. castdata::Error when
// the name is refused, or when the file system cannot say (an unreadable cast
// folder), so that a cast is never taken for a new one by mistake.
bool CastExists(std::string_view name, const std::filesystem::path& gameFolder = {});

// The names of the files in gameFolder/cast whose names end in ".cst", each
// without its last 4 characters, in the order the directory lists them. Folders, and
// names that cast operations would refuse (an empty one from ".cst", one with
// "\"), are not listed. No cast folder lists nothing; castdata::Error when the
// folder is there but cannot be read. Letter case is left to the file
// system, as every other cast operation leaves it: on a case-sensitive one
// "X.CST" is no profile of the cast "X", so it is not listed either, and every
// listed name is one that CastExists finds.
std::vector<std::string> ListCasts(const std::filesystem::path& gameFolder = {});

// The default picture, copied for a cast that has none.
inline constexpr std::string_view kDefaultPicture = "cast/def.bmp";

// Whether gameFolder/cast/def.bmp is there as a file.
bool DefaultPictureExists(const std::filesystem::path& gameFolder = {});

// When gameFolder/cast/NAME.bmp is missing, copies gameFolder/cast/def.bmp to
// it; an existing picture is never touched. castdata::Error, naming the file
// and the reason, when the name is refused, cast/def.bmp cannot be read, or
// the copy cannot be written.
void EnsureCastPicture(std::string_view name, const std::filesystem::path& gameFolder = {});

// Replaces gameFolder/cast/NAME.bmp (or creates it) with `picture` in one
// step. castdata::Error, naming the file and the reason, when the name is
// refused, `picture` is no cast picture (IsCastPicture; nothing is written
// then), or the file cannot be written.
void WriteCastPicture(std::string_view name, std::span<const std::uint8_t> picture,
                      const std::filesystem::path& gameFolder = {});

}  // namespace castdata
