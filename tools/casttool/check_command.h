// check NAME [--shop] [--json]: the save's checks applied to the files of
// cast NAME, with the game's weapon lists (cast_problems.h).
#pragma once

#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Text: each problem on a line of its own ("FILE: FIELD: TEXT"), or
// "NAME: no problems". JSON: {"name": NAME, "problems": [{"file": FILE,
// "field": FIELD, "text": TEXT}, ...]}, the array empty for a cast without
// problems. kProblem when there is any, else kSuccess; a cast or a game file
// that cannot be read is a kFailure, with nothing on standard output.
ExitStatus CheckCast(const platform::GameFolder& game, const std::string& name, bool shopMode, bool json,
                     Output& output);

}  // namespace casttool
