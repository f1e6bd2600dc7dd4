// The three files of the game installation that the editor reads, and their
// presence tests.
//
// The paths are relative to the game's installation folder, which is the
// editor's working folder; they are used exactly as written here. Functions
// take the game folder so that a tool or a test can work on another folder;
// the empty path (the default) stands for the working folder, and then the
// paths stay relative ("DAT/USER.DAT").
#pragma once

#include <filesystem>

namespace castdata {

// Only its presence is tested: it is the sign of a supported game (version
// 1.32 or later). Its contents are never read.
inline constexpr const char* kVersionFilePath = "orv.txt";
// The player's progress: which weapons may be used, the player number.
inline constexpr const char* kProgressFilePath = "DAT/USER.DAT";
// The names of the weapons of the six categories and their usage values.
inline constexpr const char* kWeaponCataloguePath = "DAT/Orv_bwpn.DAT";

// Whether `path` names a file (a folder of that name does not count).
bool GameFileExists(const std::filesystem::path& path);

// Whether "orv.txt" exists in `gameFolder`.
bool VersionFileExists(const std::filesystem::path& gameFolder = {});

}  // namespace castdata
