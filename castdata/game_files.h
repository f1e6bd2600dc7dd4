// The three files of the game installation that the editor reads, and their
// presence tests.
//
// The paths are inside the game's installation folder, which is the editor's
// working folder, and are asked of it: it finds them in any letter case
// ("dat/user.dat"). Functions take the game folder so that a tool or a test
// can work on another folder; the default stands for the working folder.
#pragma once

#include <string_view>

#include "game_folder.h"

namespace castdata {

// Only its presence is tested: it is the sign of a supported game (version
// 1.32 or later). Its contents are never read.
inline constexpr const char* kVersionFilePath = "orv.txt";
// The player's progress: which weapons may be used, the player number.
inline constexpr const char* kProgressFilePath = "DAT/USER.DAT";
// The names of the weapons of the six categories and their usage values.
inline constexpr const char* kWeaponCataloguePath = "DAT/Orv_bwpn.DAT";

// Whether `relative` names a file in `game` (a folder of that name does not
// count).
bool GameFileExists(std::string_view relative, const platform::GameFolder& game = {});

// Whether "orv.txt" exists in `game`.
bool VersionFileExists(const platform::GameFolder& game = {});

// Whether `game` holds the version file or a cast folder: a folder that the
// command-line tool can work in.
bool HoldsGameOrCasts(const platform::GameFolder& game);

}  // namespace castdata
