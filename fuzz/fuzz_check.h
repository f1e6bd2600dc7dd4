// What the fuzz targets share: the check that aborts on a broken promise (so
// that libFuzzer, and the corpus replay, report the input that broke it), and
// small views of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

// Aborts with the failed condition and its place when `condition` is false.
// Unlike assert it also holds in release builds.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : fuzzcheck::Fail(#condition, __FILE__, __LINE__))

namespace fuzzcheck {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

inline std::span<const std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
  return {data, size};
}

// Whether `text` is well-formed UTF-8 (every text inside the program is).
inline bool IsUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t width = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                              : (lead >> 3) == 0x1E                 ? 4
                                                                    : 0;
    if (width == 0 || at + width > text.size()) return false;
    for (std::size_t i = 1; i < width; ++i) {
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    at += width;
  }
  return true;
}

// The number of characters of UTF-8 text.
inline std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace fuzzcheck
