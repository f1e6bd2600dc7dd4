// list [--json]: the casts of the game folder in ListCasts order (the order of
// the folder listing), each with its unit name, owner number, level, wins,
// losses and hidden-data flag.
#pragma once

#include <filesystem>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// JSON: an array of {"name": cast name, "Name": unit name, "ownerNumber": n,
// "level": n, "wins": n, "losses": n, "hideData": n}. Text: the same keys as
// a header line, then one tab-separated line per cast. Wins and losses are
// those the editor shows: 0 and 0 when the record check does not match.
//
// A cast whose files cannot be read is still listed, with "error" (the
// failure text) in place of what could not be read, and the failure goes to
// standard error too; the exit status is then kProblem. A cast folder that
// cannot be listed is a kFailure.
ExitStatus PrintCastList(const platform::GameFolder& game, bool json, Output& output);

}  // namespace casttool
