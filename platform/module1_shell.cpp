#include "module1.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace Module1 {
namespace {

// The opener takes an argument that starts with "-" for an option of its own.
std::string OpenerArgument(const std::string& path) {
  return !path.empty() && path.front() == '-' ? "./" + path : path;
}

}  // namespace

bool ShellOpen(const std::string& path, [[maybe_unused]] int showMode) {
  std::string argument = OpenerArgument(path);
  char opener[] = "xdg-open";
  char* const argv[] = {opener, argument.data(), nullptr};

  // The opener is started from a short-lived middle process, so that it
  // belongs to no one here once the middle process has been reaped: nothing
  // waits for it and no zombie is left. A pipe that closes on exec tells
  // whether the exec succeeded: it reports errno on a failure and closes
  // without a word on success.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t middle = ::fork();
  if (middle < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (middle == 0) {
    // Only async-signal-safe calls from here on: the parent may have threads.
    ::close(report[0]);
    ::setsid();  // out of the editor's terminal session and its signals
    const pid_t child = ::fork();
    if (child == 0) {
      ::execvp(opener, argv);
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
      ::_exit(127);
    }
    if (child < 0) {
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
    }
    ::_exit(0);
  }

  ::close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == 0;
}

}  // namespace Module1
