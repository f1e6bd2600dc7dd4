// The command line of casttool: `casttool [-C DIR] COMMAND ...`, parsed with
// CLI11, each command handed to its own module.
#pragma once

#include <ostream>

namespace casttool {

// Runs the command that `argv` names and returns the exit status: 0 success,
// 1 a problem found, 2 bad usage or a file that cannot be read. --help and
// --version print to `out` and return 0.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace casttool
