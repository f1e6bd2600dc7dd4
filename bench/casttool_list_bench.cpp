// casttool list over a game folder of 100,000 casts, the whole process as a
// script runs it, against the least any listing pays: cast_folder_reader, a
// plain C program that lists cast/ and reads each cast's profile and data
// file whole. Each iteration starts one process (posix_spawn, standard output
// and standard error to /dev/null) and waits for its end; its real time is
// the process's, start to end. The counter peak_MiB is the largest resident
// memory of the iteration's processes as wait4 reports it (ru_maxrss); a
// started program shares the benchmark's memory until its exec, so it never
// reads below the benchmark's own (about 4 MiB, which the reader's figure
// shows).
//
// scripts/bench runs the three benchmarks with repetitions interleaved at
// random, so that casttool and the reader meet the same machine load, and
// judges `list` against the reader (at most 1.3x) and the peak memory of
// `list --json` (at most 16 MiB). By hand:
//
//   casttool_list_bench --benchmark_repetitions=15 --benchmark_enable_random_interleaving=true
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "cast_files_fixture.h"
#include "game_file_writer.h"
#include "temporary_folder.h"

extern char** environ;

namespace {

constexpr int kCastCount = 100000;

// The game folder with kCastCount casts, made at first use: a profile and a
// data file each (list never reads pictures), the names in mixed letter case
// and in no order on disk, so that the sort has work to do.
const std::filesystem::path& GameFolder() {
  static gamefixture::TemporaryFolder folder;
  static const bool made = [] {
    std::fprintf(stderr, "making %d casts in %s ...\n", kCastCount, folder.path().c_str());
    gamefixture::WriteVersionFile(folder.path());
    for (int i = 0; i < kCastCount; ++i) {
      const int number = static_cast<int>((static_cast<long>(i) * 7919) % kCastCount);
      gamefixture::FixtureCast cast;
      cast.name = std::string(i % 2 ? "c" : "C");
      cast.name += std::to_string(100000 + number);
      cast.profile = {"機体" + std::to_string(i), "一行目", "二行目", "三行目", "作者", "maker@example.com"};
      cast.record.ownerNumber = static_cast<std::int16_t>(i % 50);
      cast.record.level = 20;
      cast.record.wins = static_cast<std::int16_t>(i % 7);
      cast.record.recordCheck = 11;
      cast.picture.reset();
      gamefixture::WriteCast(folder.path(), cast);
    }
    return true;
  }();
  benchmark::DoNotOptimize(made);
  return folder.path();
}

// Runs `arguments` to its end and gives its peak resident memory in MiB;
// throws when it cannot be started or does not exit with status 0.
double RunToEnd(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(spawned));
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("wait4 failed");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(arguments[0] + " failed");
  return static_cast<double>(usage.ru_maxrss) / 1024;  // ru_maxrss counts KiB
}

void RunProcess(benchmark::State& state, std::vector<std::string> arguments) {
  const std::string game = GameFolder().string();
  for (std::string& argument : arguments) {
    if (argument == "GAME") argument = game;
  }
  try {
    double peakMiB = 0;
    for (auto _ : state) peakMiB = std::max(peakMiB, RunToEnd(arguments));
    state.counters["peak_MiB"] = peakMiB;
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

void BM_CastFolderReader(benchmark::State& state) { RunProcess(state, {READER_FILE, "GAME"}); }
void BM_CastToolList(benchmark::State& state) { RunProcess(state, {CASTTOOL_FILE, "-C", "GAME", "list"}); }
void BM_CastToolListJson(benchmark::State& state) {
  RunProcess(state, {CASTTOOL_FILE, "-C", "GAME", "list", "--json"});
}

// The value below which 90 % of the repetitions lie (nearest rank).
double Percentile90(const std::vector<double>& values) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const auto rank = static_cast<std::size_t>(std::ceil(0.9 * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace

BENCHMARK(BM_CastFolderReader)->UseRealTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("p90", Percentile90);
BENCHMARK(BM_CastToolList)->UseRealTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("p90", Percentile90);
BENCHMARK(BM_CastToolListJson)->UseRealTime()->Unit(benchmark::kMillisecond)->ComputeStatistics("p90", Percentile90);

BENCHMARK_MAIN();
