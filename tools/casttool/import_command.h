// import FILE.ec...: the package import of each file, in the order given, as
// the editor's start-up imports the packages it finds.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// The import's messages on standard output, each line as "FILE: message".
// A package is deleted only when its cast was imported. Exit status: kProblem
// for a package refused or not imported, or imported but left in place (the
// editor would import it again); kFailure for a file that cannot be read,
// which is reported on standard error; the worst over all files.
ExitStatus ImportPackages(const platform::GameFolder& game, const std::vector<std::string>& files,
                          Output& output);

}  // namespace casttool
