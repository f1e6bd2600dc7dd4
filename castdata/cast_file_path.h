// The paths of a cast's files below the game folder, and the texts of the
// failures that name them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "game_folder.h"

namespace castdata {

// "cast/" + name + extension, asked of `game`. A name that cannot name a file
// inside "cast/" (CastNameProblem) is refused with castdata::Error, so that no
// operation reads or writes anything for it.
std::filesystem::path CastFilePath(std::string_view name, std::string_view extension,
                                   const platform::GameFolder& game);

// "「FILE」を読み込めません: REASON" and "「FILE」に書き込めません: REASON".
std::string CannotRead(const std::filesystem::path& file, const std::string& reason);
std::string CannotWrite(const std::filesystem::path& file, const std::string& reason);

}  // namespace castdata
