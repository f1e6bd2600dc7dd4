// export NAME OUT.ec [--force]: the cast package of cast NAME, as the upload
// writes "dat/upload.ec"; OUT "-" writes it to standard output.
#pragma once

#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Writes the package through the safe whole-file rewrite and says
// "OUT.ec: written" on standard output, or writes the package alone to
// standard output for "-". Refused, with OUT as it was, in this order:
//
// | Refusal                                                  | Status   |
// |----------------------------------------------------------|----------|
// | a name no cast file can have                             | kFailure |
// | a name longer than a package holds (8 Shift-JIS bytes),  | kProblem |
// | as the upload refuses it                                 |          |
// | a cast file that cannot be read                          | kFailure |
// | a cast that makes no package (a picture that is not 5174 | kProblem |
// | bytes, a package that would pass 32767 bytes)            |          |
// | OUT is one of the cast's own files (also through another | kProblem |
// | spelling, a link or a hard link), whatever `force` says  |          |
// | OUT exists and `force` is not set                        | kProblem |
// | OUT cannot be written                                    | kProblem |
ExitStatus ExportCast(const platform::GameFolder& game, const std::string& name, const std::string& outFile,
                      bool force, Output& output);

}  // namespace casttool
