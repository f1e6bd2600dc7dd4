// Running casttool with its standard output sent somewhere a test chooses (a
// full device, a pipe nobody reads), to see how it meets a failed write.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

#include "program_run.h"

extern char** environ;

namespace casttooltest {

// Runs casttool with `arguments`, its standard output the descriptor
// `standardOutput`, its standard error read into the result. With
// `ignoreSigpipe`, the tool starts with SIGPIPE ignored, as a program started
// from some shells and services does, so that a write into a pipe without a
// reader fails with EPIPE instead of ending it.
inline gamefixture::ProgramResult RunWithStandardOutput(int standardOutput, const std::vector<std::string>& arguments,
                                                        bool ignoreSigpipe = false) {
  std::vector<std::string> words = {CASTTOOL_PATH};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int errPipe[2];
  if (::pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, standardOutput, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  // An ignored signal stays ignored in the started program.
  const auto previous = std::signal(SIGPIPE, ignoreSigpipe ? SIG_IGN : SIG_DFL);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  std::signal(SIGPIPE, previous);
  posix_spawn_file_actions_destroy(&actions);
  ::close(errPipe[1]);
  if (spawned != 0) {
    ::close(errPipe[0]);
    throw std::runtime_error("cannot start casttool");
  }
  gamefixture::ProgramResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(errPipe[0], buffer, sizeof buffer);
    if (n > 0) {
      result.err.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(errPipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) throw std::runtime_error("casttool did not exit normally");
  result.exitStatus = WEXITSTATUS(status);
  return result;
}

}  // namespace casttooltest
