// Helpers of the scrambler tests: a folder of each test's own, whole files as
// bytes, a bit-by-bit model of the packed format to compare against, the
// library bound the way the editor binds it, and running code in a thread or
// a process of its own.
#pragma once

#include <dlfcn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace scrambler_test {

using Bytes = std::vector<std::uint8_t>;

// A new empty folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "scrambler_test.XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // The names in the folder, hidden ones (the temporary files) included.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `size` pseudo-random bytes that never begin like a packed file.
inline Bytes SampleBytes(std::size_t size, unsigned seed = 1) {
  std::mt19937 generator(seed);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  if (!bytes.empty() && bytes[0] == 0x83) bytes[0] = 0x84;
  return bytes;
}

// The packed format, one bit at a time, written apart from the code it checks.
inline std::uint8_t RotateRightBitByBit(std::uint8_t b, int amount) {
  for (int k = 0; k < amount; ++k) b = static_cast<std::uint8_t>((b >> 1) | ((b & 1) << 7));
  return b;
}

inline std::uint8_t RotateLeftBitByBit(std::uint8_t b, int amount) {
  for (int k = 0; k < amount; ++k) b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
  return b;
}

inline Bytes ModelPack(const Bytes& plain, int base) {
  Bytes packed = {0x83, 0x16, static_cast<std::uint8_t>(base + 3), 0x3D};
  for (std::size_t i = 0; i < plain.size(); ++i) {
    packed.push_back(RotateRightBitByBit(plain[i], base + static_cast<int>(i % 2)));
  }
  return packed;
}

// Any byte 2: the amount (byte 2 - 3 + j mod 2) is taken modulo 8.
inline Bytes ModelUnpack(const Bytes& packed) {
  Bytes plain;
  for (std::size_t j = 0; j + 4 < packed.size(); ++j) {
    const int amount = ((packed[2] - 3 + static_cast<int>(j % 2)) % 8 + 8) % 8;
    plain.push_back(RotateLeftBitByBit(packed[4 + j], amount));
  }
  return plain;
}

// The library's two functions, bound by name from the built libOrvDll.so.
struct OrvDll {
  using Function = std::int32_t (*)(const char*);
  Function FilePack = nullptr;
  Function FileUnpack = nullptr;
};

// Loads the library once per process; nullptr with the loader's reason when
// the file or either function cannot be had.
inline const OrvDll* LoadOrvDll(std::string* reason) {
  static std::string failure;
  static const OrvDll library = [] {
    OrvDll bound;
    void* handle = ::dlopen(ORVDLL_FILE, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      failure = ::dlerror();
      return bound;
    }
    bound.FilePack = reinterpret_cast<OrvDll::Function>(::dlsym(handle, "FilePack"));
    bound.FileUnpack = reinterpret_cast<OrvDll::Function>(::dlsym(handle, "FileUnpack"));
    if (bound.FilePack == nullptr || bound.FileUnpack == nullptr) {
      failure = std::string("FilePack or FileUnpack missing from ") + ORVDLL_FILE;
    }
    return bound;
  }();
  if (!failure.empty()) {
    *reason = failure;
    return nullptr;
  }
  return &library;
}

// Runs `body` in a thread started for it, whose rotation generator starts
// anew, and waits for it.
inline void InFreshThread(const std::function<void()>& body) { std::thread(body).join(); }

// Runs `body` in a child process and gives the code it exits with, or -1 when
// the child did not end normally.
inline int ExitCodeInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace scrambler_test
