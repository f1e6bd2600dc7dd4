// Start-up time: from the start of the process to its window shown, for cast
// in the demo game folder and for a minimal Qt window program, both offscreen
// and started the same way (CAST_EXIT_WHEN_SHOWN makes each print "shown"
// after its first paint and quit). The runs alternate so that both meet the
// same machine load; the medians and their ratio are reported.
//
// The demo package sample.ec is removed first: its import message would wait
// for a click, and the usual start has no package to import.
//
//   startup_bench [RUNS] [--json]   (default 15 runs)
//
// --json prints every run instead, in milliseconds:
//   {"cast": [MS, ...], "minimal": [MS, ...]}
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo_game.h"
#include "temporary_folder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts `program` in `folder` and returns the seconds until it printed
// "shown"; waits for it to end. Throws when it ends without showing.
double SecondsToShown(const std::string& program, const std::filesystem::path& folder) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  // Qt's notes about the offscreen platform would only clutter the report.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = {const_cast<char*>(program.c_str()), nullptr};

  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  std::string seen;
  char buffer[64];
  double seconds = -1;
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    seen.append(buffer, static_cast<std::size_t>(n));
    if (seconds < 0 && seen.find("shown\n") != std::string::npos) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (seconds < 0) throw std::runtime_error(program + " ended without showing its window");
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

void PrintRunsAsJson(const char* name, const std::vector<double>& seconds, const char* end) {
  std::printf("\"%s\": [", name);
  for (std::size_t i = 0; i < seconds.size(); ++i) std::printf("%s%.3f", i ? ", " : "", seconds[i] * 1000);
  std::printf("]%s", end);
}

int main(int argc, char* argv[]) {
  int runs = 15;
  bool json = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--json") {
      json = true;
    } else {
      runs = std::max(1, std::atoi(argv[i]));
    }
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("CAST_EXIT_WHEN_SHOWN", "1", 1);

  try {
    gamefixture::TemporaryFolder game;
    gamefixture::MakeDemoGame(game.path());
    std::filesystem::remove(game.path() / "sample.ec");
    gamefixture::TemporaryFolder empty;

    // One unmeasured start each, so that both find their files in the cache.
    SecondsToShown(CAST_FILE, game.path());
    SecondsToShown(MINIMAL_WINDOW_FILE, empty.path());
    std::vector<double> cast, minimal;
    for (int i = 0; i < runs; ++i) {
      cast.push_back(SecondsToShown(CAST_FILE, game.path()));
      minimal.push_back(SecondsToShown(MINIMAL_WINDOW_FILE, empty.path()));
    }
    if (json) {
      std::printf("{");
      PrintRunsAsJson("cast", cast, ", ");
      PrintRunsAsJson("minimal", minimal, "}\n");
      return 0;
    }
    const double castMedian = Median(cast);
    const double minimalMedian = Median(minimal);
    std::printf("start to window shown, median of %d runs (offscreen)\n", runs);
    std::printf("  cast in the demo game folder  %7.1f ms\n", castMedian * 1000);
    std::printf("  minimal Qt window program     %7.1f ms\n", minimalMedian * 1000);
    std::printf("  ratio                         %7.2fx (goal: at most 1.50x)\n", castMedian / minimalMedian);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "startup_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
