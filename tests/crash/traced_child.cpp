#include "traced_child.h"

#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace crashtest {
namespace {

constexpr int kNotTraceable = 99;

// Calls that touch only the process's own memory or draw random bits. They
// change no file, and the C library makes some of them only now and then
// (mkstemp asks getrandom for more bits when the ones it has would bias the
// name; the allocator maps memory when its free lists run short), so they are
// let through uncounted: every run then counts the same calls, and a kill
// before one of them equals a kill before the next call counted.
bool IsUncounted(std::uint64_t call) {
  switch (call) {
    case SYS_brk:
    case SYS_mmap:
    case SYS_munmap:
    case SYS_mremap:
    case SYS_mprotect:
    case SYS_madvise:
    case SYS_getrandom:
    case SYS_futex:
      return true;
    default:
      return false;
  }
}

// Ends the child, if still there, and reaps it whatever way the run ends.
class ChildGuard {
 public:
  explicit ChildGuard(pid_t pid) : pid_(pid) {}
  ChildGuard(const ChildGuard&) = delete;
  ChildGuard& operator=(const ChildGuard&) = delete;
  ~ChildGuard() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) == pid_ && !WIFEXITED(status) && !WIFSIGNALED(status)) {
    }
  }
  void Reaped() { pid_ = -1; }

 private:
  pid_t pid_;
};

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("traced child: " + what); }

int Wait(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) Fail("waitpid failed");
  return status;
}

}  // namespace

TracedRun RunTraced(const std::function<void()>& write, std::optional<std::size_t> killBefore) {
  const pid_t pid = ::fork();
  if (pid < 0) Fail("fork failed");
  if (pid == 0) {
    if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) ::_exit(kNotTraceable);
    ::raise(SIGSTOP);
    int code = 0;
    try {
      write();
    } catch (...) {
      code = 1;
    }
    // _exit: no exit handlers, no flushing of buffers the parent still owns.
    ::_exit(code);
  }
  ChildGuard guard(pid);

  int status = Wait(pid);
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNotTraceable) Fail("ptrace(PTRACE_TRACEME) refused");
  if (!WIFSTOPPED(status) || WSTOPSIG(status) != SIGSTOP) Fail("did not stop before the write");
  if (::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
    Fail("PTRACE_SETOPTIONS failed");
  }

  TracedRun run;
  long signalToPass = 0;  // the child's own SIGSTOP is swallowed
  for (;;) {
    if (::ptrace(PTRACE_SYSCALL, pid, nullptr, signalToPass) != 0) Fail("PTRACE_SYSCALL failed");
    signalToPass = 0;
    status = Wait(pid);
    if (WIFEXITED(status)) {
      guard.Reaped();
      run.exitCode = WEXITSTATUS(status);
      return run;
    }
    if (WIFSIGNALED(status)) {
      guard.Reaped();
      Fail("died of signal " + std::to_string(WTERMSIG(status)));
    }
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      signalToPass = WSTOPSIG(status);  // a signal of the child's own: deliver it
      continue;
    }
    __ptrace_syscall_info info{};
    if (::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof info, &info) <= 0) Fail("PTRACE_GET_SYSCALL_INFO failed");
    if (info.op != PTRACE_SYSCALL_INFO_ENTRY || IsUncounted(info.entry.nr)) continue;
    if (killBefore && run.systemCalls == *killBefore) {
      run.killed = true;
      run.killedBefore = static_cast<long>(info.entry.nr);
      ::kill(pid, SIGKILL);
      do {
        status = Wait(pid);
      } while (!WIFEXITED(status) && !WIFSIGNALED(status));
      guard.Reaped();
      if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) Fail("outlived SIGKILL");
      return run;
    }
    ++run.systemCalls;
  }
}

}  // namespace crashtest
