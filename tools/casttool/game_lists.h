// The game's weapon lists, read as the editor's start-up reads them, but with
// the two packed game files unscrambled in memory: the tool never writes the
// game's files, not even to scramble them again.
#pragma once

#include <cstdint>
#include <filesystem>

#include "game_folder.h"
#include "weapon_catalogue.h"

namespace casttool {

struct GameLists {
  std::int16_t playerNumber = 0;
  castdata::WeaponCatalogue catalogue;  // the listed weapons and whether each is usable
};

// Reads "DAT/USER.DAT", then "DAT/Orv_bwpn.DAT" of `game`, with the
// rules of shop mode when `shopMode` is set. castdata::Error, naming the file
// and the reason, when one cannot be read.
GameLists ReadGameLists(const platform::GameFolder& game, bool shopMode);

}  // namespace casttool
