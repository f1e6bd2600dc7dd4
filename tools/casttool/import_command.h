// import FILE.ec...: the package import of each file, in the order given, as
// the editor's start-up imports the packages it finds.
#pragma once

#include <string>
#include <vector>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// "FILE: ECファイルを展開しました" on standard output for each package
// imported, which is then deleted. A refusal (no package, a broken one, a
// cast that cannot be written) goes to standard error as one line,
// "casttool: FILE: MESSAGE", and the package stays.
//
// Exit status: kProblem for a package refused, or imported but left in place
// (the editor would import it again, and standard error says why); kFailure
// for a file that cannot be read; the worst over all files.
ExitStatus ImportPackages(const platform::GameFolder& game, const std::vector<std::string>& files,
                          Output& output);

}  // namespace casttool
