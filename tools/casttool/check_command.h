// check NAME [--shop]: the save's checks applied to the files of cast NAME,
// with the game's weapon lists (cast_problems.h).
#pragma once

#include <filesystem>
#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Each problem on a line of its own on standard output, and kProblem when
// there is any; "NAME: no problems" and kSuccess when there is none. A cast
// or a game file that cannot be read is a kFailure.
ExitStatus CheckCast(const platform::GameFolder& game, const std::string& name, bool shopMode,
                     Output& output);

}  // namespace casttool
