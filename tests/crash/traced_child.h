// Code run in a child process under ptrace(2) and killed with SIGKILL just
// before one of its system calls, chosen by its place in the sequence.
//
// A process killed by SIGKILL changes the file system only through the system
// calls it has finished: what it computes between two calls leaves no trace.
// Killing a write before each of its system calls in turn therefore reaches
// every state that a crash of that write can leave behind. A call stopped at
// its entry is never carried out. The child stops itself before it starts the
// write, so the calls counted are the write's own, followed by the child's
// exit. Calls that touch only the process's memory or its random source are
// not counted (the C library makes them only now and then), so that every run
// counts the same calls in the same order.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace crashtest {

struct TracedRun {
  std::size_t systemCalls = 0;  // counted calls the child entered and was let carry out
  bool killed = false;          // killed before the call it was to be killed at
  long killedBefore = -1;       // that call's number (SYS_...), when killed
  int exitCode = -1;            // when it ran to its end: 0, or 1 when `write` threw
};

// Runs `write` in a traced child process. With `killBefore` k, the child is
// killed when it is about to enter its counted system call k (0 is the
// write's first); a child that ends first, or any child without `killBefore`,
// runs to its end. Throws std::runtime_error when the child cannot be started
// or traced, or dies of anything else.
TracedRun RunTraced(const std::function<void()>& write, std::optional<std::size_t> killBefore);

}  // namespace crashtest
