// pack FILE... / unpack FILE...: each file rewritten in its packed or its
// plain form, in the order given, as the scrambling library's FilePack and
// FileUnpack rewrite it.
#pragma once

#include <string>
#include <vector>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

enum class PackDirection { kPack, kUnpack };

// One line per file on standard output: "FILE: packed" ("unpacked") when it
// was rewritten, "FILE: already packed" ("already unpacked") when it was in
// that form already, which counts as success: a script may pack a file
// without knowing its state. Each file goes through the same steps as in the
// library (the same transform, the same rotation bases, the same safe
// rewrite), but tells why when it is left as it was:
//
// | The file                                    | Standard error          | Status   |
// |---------------------------------------------|-------------------------|----------|
// | missing, or cannot be read                  | casttool: FILE: REASON  | kFailure |
// | a folder, pipe or device                    | casttool: FILE: REASON  | kProblem |
// | one the user may not write, or whose        | casttool: FILE: REASON  | kProblem |
// | rewrite fails (a full disk)                 | (the system's reason)   |          |
//
// The exit status is the worst of the files'.
ExitStatus PackFiles(const platform::GameFolder& game, const std::vector<std::string>& files,
                     PackDirection direction, Output& output);

}  // namespace casttool
