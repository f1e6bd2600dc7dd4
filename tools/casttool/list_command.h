// list [--json]: the casts of the game folder, sorted as the editor's cast
// list sorts them (castdata::ListCasts: by name without regard to letter
// case, ties by the exact name), each with its unit name, owner number,
// level, wins, losses and hidden-data flag.
#pragma once

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Each cast is written as soon as it is read, so neither the time to the
// first cast nor the memory grows with the files of the others.
//
// JSON: an array, one cast a line:
//
// | Key         | Type    | Meaning                                           |
// |-------------|---------|---------------------------------------------------|
// | name        | string  | the cast name, as the profile file spells it      |
// | unitName    | string  | the unit name (Name of the profile file)          |
// | ownerNumber | integer | the owner's player number                         |
// | level       | integer | the level                                         |
// | wins        | integer | wins as the editor shows them (0 when the record  |
// | losses      | integer | check does not match), losses likewise            |
// | hidden      | boolean | whether the owner asked to hide the data (1)      |
// | error       | string  | only for a cast whose files cannot be read: the   |
// |             |         | failure, in place of what could not be read       |
//
// Text: the same keys as a header line, then one line per cast, fields
// separated by a tab; "error: TEXT" stands in place of the numbers of a cast
// that cannot be read. A tab, CR, LF or backslash inside a field is written
// as \t, \r, \n or \\, so that a line is always one cast.
//
// A cast that cannot be read goes to standard error too, and the exit status
// is then kProblem; a cast folder that cannot be listed is a kFailure.
ExitStatus PrintCastList(const platform::GameFolder& game, bool json, Output& output);

}  // namespace casttool
