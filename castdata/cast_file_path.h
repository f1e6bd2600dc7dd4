// The paths of a cast's files below the game folder, the lock that every
// writer of them holds, and the texts of the failures that name them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "folder_lock.h"
#include "game_folder.h"

namespace castdata {

// "cast/" + name + extension, asked of `game`. A name that cannot name a file
// inside "cast/" (CastNameProblem) is refused with castdata::Error, so that no
// operation reads or writes anything for it.
std::filesystem::path CastFilePath(std::string_view name, std::string_view extension,
                                   const platform::GameFolder& game);

// Holds the lock of the cast folder of `game` (platform/folder_lock.h) while
// it lives. castdata::Error, naming the program that holds it, when it cannot
// be had; nothing may be written then.
class CastFolderLock {
 public:
  explicit CastFolderLock(const platform::GameFolder& game);

 private:
  platform::FolderLock lock_;
};

// "「FILE」を読み込めません: REASON" and "「FILE」に書き込めません: REASON".
std::string CannotRead(const std::filesystem::path& file, const std::string& reason);
std::string CannotWrite(const std::filesystem::path& file, const std::string& reason);

}  // namespace castdata
