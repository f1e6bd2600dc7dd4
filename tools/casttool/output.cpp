#include "output.h"

#include <cerrno>
#include <cstring>

#include "messages.h"

namespace casttool {

std::string OneLine(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ": ";
    } else {
      line += text[i];
    }
  }
  return line;
}

void Output::CheckWritten() {
  if (out_ || failure_) return;
  // The stream keeps no reason; the failed write(2) has just left it in errno.
  failure_ = errno != 0 ? std::strerror(errno) : messages::kUnknownReason;
}

void Output::Write(std::string_view bytes) {
  if (failure_) return;
  errno = 0;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  CheckWritten();
}

void Output::WriteLine(std::string_view line) {
  Write(line);
  Write("\n");
}

void Output::Error(std::string_view text) {
  err_ << messages::kErrorPrefix << OneLine(text) << '\n' << std::flush;
}

bool Output::Finish() {
  if (!failure_) {
    errno = 0;
    out_.flush();
    CheckWritten();
  }
  if (failure_) Error(messages::CannotWriteStandardOutput(*failure_));
  return !failure_;
}

}  // namespace casttool
