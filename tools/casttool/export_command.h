// export NAME OUT.ec: the cast package of cast NAME, as the upload writes
// "dat/upload.ec".
#pragma once

#include <filesystem>
#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// Writes the package through the safe whole-file rewrite and says
// "OUT.ec: written" on standard output. A cast file that cannot be read is a
// kFailure; a cast that makes no package (a picture that is not 5174 bytes, a
// package that would pass 32767 bytes) or a package that cannot be written
// is a kProblem, and OUT.ec stays as it was.
ExitStatus ExportCast(const platform::GameFolder& game, const std::string& name, const std::string& outFile,
                      Output& output);

}  // namespace casttool
