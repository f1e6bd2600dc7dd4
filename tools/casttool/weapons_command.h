// weapons [--shop] [--json]: the six weapon-slot lists, and in shop mode the
// shop list, exactly as the editor fills them at start-up. The game's files
// are read in memory and never written.
#pragma once

#include <filesystem>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Text: "playerNumber: N", then "slot C:" and one indented item text per line
// for each slot, then with shopMode "shop:" and "CODE ITEM TEXT" lines.
// JSON: {"playerNumber": n, "slots": [[{"number": k, "text": "...",
// "usable": true}, ...] x 6], "shop": [{"code": n, "text": "..."}, ...]},
// "shop" with shopMode only.
ExitStatus ShowWeapons(const platform::GameFolder& game, bool shopMode, bool json, Output& output);

}  // namespace casttool
