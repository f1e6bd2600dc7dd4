#include "sjis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace sjis {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// An iconv conversion descriptor. It keeps shift state, so one must not be
// shared between threads, and it is put back into its initial state before
// each conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }
  void Reset() {
    if (ok()) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  }

 private:
  iconv_t cd_;
};

// Converts the `inLeft` bytes at `in`, appending the result to `out`, until
// they are used up (0) or one does not convert: then `in` points at it and
// the errno iconv gave comes back, EILSEQ for a byte that starts no character
// in the source encoding, EINVAL for a character cut off at the end.
int ConvertUntilStuck(const Converter& converter, char*& in, std::size_t& inLeft, std::string& out) {
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result != static_cast<std::size_t>(-1)) break;
    if (error != E2BIG) return error;
  }
  return 0;
}

// ASCII stands for itself in both encodings, so text made of it alone (key
// names, numbers, most file names) needs no conversion.
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string ToUtf8(std::string_view sjisBytes) {
  if (IsAscii(sjisBytes)) return std::string(sjisBytes);
  // Each thread opens its descriptor at its first conversion and keeps it:
  // opening one costs more than converting a name or a line.
  thread_local Converter converter("UTF-8", "CP932");
  converter.Reset();
  std::string out;
  if (!converter.ok()) return out;
  std::vector<char> input(sjisBytes.begin(), sjisBytes.end());
  char* in = input.data();
  std::size_t inLeft = input.size();
  // A byte that starts no character is replaced and the rest converted; a
  // lead byte with nothing after it is dropped.
  while (ConvertUntilStuck(converter, in, inLeft, out) == EILSEQ) {
    out.append(kReplacement);
    ++in;
    --inLeft;
  }
  return out;
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local Converter converter("CP932", "UTF-8");  // kept as in ToUtf8
  converter.Reset();
  if (!converter.ok()) return std::nullopt;
  std::vector<char> input(utf8.begin(), utf8.end());
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::string out;
  if (ConvertUntilStuck(converter, in, inLeft, out) != 0) return std::nullopt;
  return out;
}

std::string_view CutToBytes(std::string_view sjisBytes, std::size_t maxBytes) {
  if (sjisBytes.size() <= maxBytes) return sjisBytes;
  // Walk the characters from the start: only that tells a lead byte from a
  // trail byte that happens to have a lead byte's value.
  std::size_t end = 0;
  while (end < maxBytes) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(sjisBytes[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return sjisBytes.substr(0, end);
}

}  // namespace sjis
