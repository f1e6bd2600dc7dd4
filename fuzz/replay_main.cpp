// The main of a fuzz target in the normal build: runs every file of the given
// folders (and every file given itself) through the target once, in name
// order, as libFuzzer does when it is handed a corpus. So the seed corpus and
// every input that once made a target fail are replayed by ctest on every
// build, without clang. A check that fails aborts the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputFiles(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = argv[i];
    if (!std::filesystem::is_directory(given)) {
      files.push_back(given);
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(given)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::filesystem::path> files = InputFiles(argc, argv);
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // A copy of exactly the input's size, so that a read past its end is
    // caught by a sanitizer as it is under libFuzzer.
    const auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    LLVMFuzzerTestOneInput(copy.get(), bytes.size());
  }
  // An empty corpus would pass without testing anything.
  if (files.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
