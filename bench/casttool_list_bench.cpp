// casttool list over a folder of 10,000 casts, against the floor that any
// listing pays: listing "cast/*.cst" and reading each profile file's bytes
// with no parsing at all. Both run in the same program run, on the same
// folder (made once, in a temporary folder). The list is measured through
// PrintCastList, the very function the command runs, writing its output to
// memory: everything of `casttool list` but starting the process.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cast_files_fixture.h"
#include "list_command.h"
#include "output.h"
#include "temporary_folder.h"
#include "whole_file.h"

namespace {

constexpr int kCastCount = 10000;

// The game folder with kCastCount casts (profile and data file each; list
// never looks at pictures), made at first use.
const std::filesystem::path& GameFolder() {
  static gamefixture::TemporaryFolder folder;
  static const bool made = [] {
    for (int i = 0; i < kCastCount; ++i) {
      gamefixture::FixtureCast cast;
      cast.name = "C" + std::to_string(10000 + i);
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

void RunList(benchmark::State& state, bool json) {
  const std::filesystem::path& game = GameFolder();
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    casttool::Output output(out, err);
    if (casttool::PrintCastList(game, json, output) != casttool::ExitStatus::kSuccess) {
      state.SkipWithError("list failed");
      break;
    }
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * kCastCount);
}

void BM_CastToolList(benchmark::State& state) { RunList(state, false); }
void BM_CastToolListJson(benchmark::State& state) { RunList(state, true); }

void BM_ListAndReadProfileBytes(benchmark::State& state) {
  const std::filesystem::path cast = GameFolder() / "cast";
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(cast)) {
      if (entry.path().extension() != ".cst") continue;
      bytes += wholefile::Read(entry.path()).value().size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kCastCount);
}

}  // namespace

BENCHMARK(BM_ListAndReadProfileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CastToolList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CastToolListJson)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
