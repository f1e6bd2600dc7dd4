// Speed of the scrambling, each figure beside a baseline measured by the same
// program in the same run (scripts/bench prints the ratios and their goals):
//
// | figure                          | baseline                             | goal          |
// |---------------------------------|--------------------------------------|---------------|
// | BM_Transform/65536 (in cache)   | BM_InPlaceFloor/65536, BM_Memcpy     | >= 0.9, >= 0.5 |
// | BM_Transform/67108864 (memory)  | BM_InPlaceFloor/67108864             | >= 0.9        |
// | BM_FilePackThenFileUnpack       | BM_TwoPlainRewrites (64 MiB file)    | <= 1.3 times  |
//
// The transform is measured as the library does it: PackBuffer on a buffer
// holding the four header bytes and the file behind them. The floor is the
// least any in-place transform must do: load, combine with a constant, store,
// with the widest vectors the processor has. BM_TransformPath shows each way
// of rotating this processor supports.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <immintrin.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "byte_rotation.h"
#include "orvdll.h"
#include "packed_format.h"
#include "whole_file.h"

namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
  std::mt19937 generator(2024);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
  if (!bytes.empty()) bytes[0] = 0;  // never begins like a packed file
  return bytes;
}

// --- The in-memory transform -------------------------------------------------

// Copies into a buffer that exists already.
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

// Load, xor, store: 64 bytes at a time with AVX-512, 32 with AVX2, else what
// the compiler makes of a plain loop; the last bytes one by one.
__attribute__((target("avx512f"))) void XorInPlaceAvx512(std::uint8_t* bytes, std::size_t size) {
  const __m512i constant = _mm512_set1_epi8(0x5A);
  std::size_t i = 0;
  for (; i + 64 <= size; i += 64) {
    _mm512_storeu_si512(bytes + i, _mm512_xor_si512(_mm512_loadu_si512(bytes + i), constant));
  }
  for (; i < size; ++i) bytes[i] ^= 0x5A;
}

__attribute__((target("avx2"))) void XorInPlaceAvx2(std::uint8_t* bytes, std::size_t size) {
  const __m256i constant = _mm256_set1_epi8(0x5A);
  std::size_t i = 0;
  for (; i + 32 <= size; i += 32) {
    auto* at = reinterpret_cast<__m256i*>(bytes + i);
    _mm256_storeu_si256(at, _mm256_xor_si256(_mm256_loadu_si256(at), constant));
  }
  for (; i < size; ++i) bytes[i] ^= 0x5A;
}

void XorInPlacePlain(std::uint8_t* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) bytes[i] ^= 0x5A;
}

// The floor gets every advantage: its bytes start on a cache line, so that
// no load or store of a whole vector straddles two.
void BM_InPlaceFloor(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  auto storage = RandomBytes(size + 64);
  std::uint8_t* const bytes = storage.data() + (64 - reinterpret_cast<std::uintptr_t>(storage.data()) % 64) % 64;
  const auto floor = __builtin_cpu_supports("avx512f") ? XorInPlaceAvx512
                     : __builtin_cpu_supports("avx2")  ? XorInPlaceAvx2
                                                       : XorInPlacePlain;
  for (auto _ : state) {
    floor(bytes, size);
    benchmark::DoNotOptimize(bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The file's bytes behind room for the header, packed where they lie, as
// FilePack does it; every iteration packs the bytes again.
void BM_Transform(benchmark::State& state) {
  std::vector<std::uint8_t> buffer(scrambler::kHeaderSize);
  const auto plain = RandomBytes(static_cast<std::size_t>(state.range(0)));
  buffer.insert(buffer.end(), plain.begin(), plain.end());
  for (auto _ : state) {
    scrambler::PackBuffer(buffer, 3);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetLabel(scrambler::RotationPathName(scrambler::ChosenRotationPath()));
}

void TransformWithPath(benchmark::State& state, scrambler::RotationPath path) {
  auto bytes = RandomBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    scrambler::RotatePairsRightWith(path, bytes, bytes.data(), 3, 4);
    benchmark::DoNotOptimize(bytes.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// 64 KiB, the size of a large game data file, stays in the processor's cache;
// 64 MiB, the size of the whole-file benchmark below, goes to memory.
#define TRANSFORM_SIZES ->Arg(64 << 10)->Arg(64 << 20)
BENCHMARK(BM_Memcpy) TRANSFORM_SIZES;
BENCHMARK(BM_InPlaceFloor) TRANSFORM_SIZES;
BENCHMARK(BM_Transform) TRANSFORM_SIZES;

const bool kPathsRegistered = [] {
  for (scrambler::RotationPath path : scrambler::kRotationPaths) {
    if (!scrambler::ProcessorSupports(path)) continue;
    const std::string name = std::string("BM_TransformPath/") + scrambler::RotationPathName(path);
    benchmark::RegisterBenchmark(name.c_str(), TransformWithPath, path)->Arg(64 << 10);
  }
  return true;
}();

// --- The whole file ----------------------------------------------------------

constexpr std::size_t kFileSize = 64 << 20;

// A folder of its own beside the other temporary files, holding one 64 MiB
// file, removed when the benchmark ends.
class BigFile {
 public:
  BigFile() : bytes_(RandomBytes(kFileSize)) {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrambler_bench.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    path_ = folder_ / "USER.DAT";
    if (!wholefile::Replace(path_, bytes_)) throw std::runtime_error("cannot write " + path_.string());
  }
  ~BigFile() { std::filesystem::remove_all(folder_); }
  const std::filesystem::path& path() const { return path_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

// The least a crash-safe rewrite of bytes already in memory does: write a
// temporary file, flush it to the disk, rename it over the file.
void PlainRewrite(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path temporary = path.string() + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
    throw std::runtime_error("plain rewrite failed");
  }
}

void BM_TwoPlainRewrites(benchmark::State& state) {
  const BigFile file;
  for (auto _ : state) {
    PlainRewrite(file.path(), file.bytes());
    PlainRewrite(file.path(), file.bytes());
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

BENCHMARK(BM_TwoPlainRewrites)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilePackThenFileUnpack)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
