// The tool's exit status: what a script calling it can rely on.
#pragma once

namespace casttool {

enum class ExitStatus {
  kSuccess = 0,  // the command did all it was asked
  kProblem = 1,  // the command ran and found a problem: a refused package or
                 // export, a cast with problems, a file that could not be
                 // rewritten, a standard output that could not be written
  kFailure = 2,  // bad usage (an unknown command or option), or a file that
                 // cannot be read
};

// The status that says more: a failure outweighs a problem, a problem a
// success. A command over several files ends with the worst of theirs.
inline ExitStatus Worse(ExitStatus a, ExitStatus b) { return a > b ? a : b; }

}  // namespace casttool
