// Speed of the scrambling: the in-memory transform against memcpy of the same
// buffer, and the library's whole-file round trip against the same safe
// rewrite of an unchanged copy.
//
// Goals: the transform at least half as fast as memcpy; FilePack followed by
// FileUnpack of a 64 MiB file within 1.5 times the safe copy. The round trip
// rewrites the file twice, so it is set against one safe copy and against two.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "orvdll.h"
#include "packed_format.h"
#include "whole_file.h"

namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
  std::mt19937 generator(2024);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
  bytes[0] = 0;  // never begins like a packed file
  return bytes;
}

// --- The in-memory transform -------------------------------------------------

// Copies into a buffer that exists already: the floor of any transform.
void BM_Memcpy(benchmark::State& state) {
  const auto source = RandomBytes(static_cast<std::size_t>(state.range(0)));
  std::vector<std::uint8_t> target(source.size());
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Copies into a new buffer, as Pack and Unpack return one.
void BM_CopyToNewBuffer(benchmark::State& state) {
  const auto source = RandomBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::vector<std::uint8_t> copy(source.begin(), source.end());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_Pack(benchmark::State& state) {
  const auto plain = RandomBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto packed = scrambler::Pack(plain, 3);
    benchmark::DoNotOptimize(packed.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_Unpack(benchmark::State& state) {
  const auto packed = scrambler::Pack(RandomBytes(static_cast<std::size_t>(state.range(0))), 3);
  for (auto _ : state) {
    auto plain = scrambler::Unpack(packed);
    benchmark::DoNotOptimize(plain.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The library's way: one buffer, packed and unpacked where it lies, so no
// memory is allocated. Each iteration transforms the buffer twice.
void BM_PackInPlaceThenUnpackInPlace(benchmark::State& state) {
  auto bytes = RandomBytes(static_cast<std::size_t>(state.range(0)));
  bytes.reserve(bytes.size() + scrambler::kHeaderSize);
  for (auto _ : state) {
    scrambler::PackInPlace(bytes, 3);
    scrambler::UnpackInPlace(bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(2 * state.iterations() * state.range(0));
}

// 64 KiB, the size of a large game data file, stays in the processor's cache;
// 64 MiB, the size of the whole-file benchmark below, goes to memory.
#define TRANSFORM_SIZES ->Arg(64 << 10)->Arg(64 << 20)
BENCHMARK(BM_Memcpy) TRANSFORM_SIZES;
BENCHMARK(BM_CopyToNewBuffer) TRANSFORM_SIZES;
BENCHMARK(BM_Pack) TRANSFORM_SIZES;
BENCHMARK(BM_Unpack) TRANSFORM_SIZES;
BENCHMARK(BM_PackInPlaceThenUnpackInPlace) TRANSFORM_SIZES;

// --- The whole file ----------------------------------------------------------

constexpr std::size_t kFileSize = 64 << 20;

// A folder of its own beside the other temporary files, holding one 64 MiB
// file, removed when the benchmark ends.
class BigFile {
 public:
  BigFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrambler_bench.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    path_ = folder_ / "USER.DAT";
    const auto bytes = RandomBytes(kFileSize);
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  ~BigFile() { std::filesystem::remove_all(folder_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

void SafeCopy(const std::filesystem::path& path) {
  const auto bytes = wholefile::Read(path);
  if (!bytes || !wholefile::Replace(path, *bytes)) throw std::runtime_error("safe copy failed");
}

void BM_SafeCopy(benchmark::State& state) {
  const BigFile file;
  for (auto _ : state) SafeCopy(file.path());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFileSize));
}

void BM_SafeCopyTwice(benchmark::State& state) {
  const BigFile file;
  for (auto _ : state) {
    SafeCopy(file.path());
    SafeCopy(file.path());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFileSize));
}

void BM_FilePackThenFileUnpack(benchmark::State& state) {
  const BigFile file;
  for (auto _ : state) {
    if (FilePack(file.path().c_str()) != 1 || FileUnpack(file.path().c_str()) != 1) {
      state.SkipWithError("round trip refused");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFileSize));
}

BENCHMARK(BM_SafeCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SafeCopyTwice)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilePackThenFileUnpack)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
