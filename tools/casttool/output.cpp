#include "output.h"

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

void Output::Error(std::string_view text) { err_ << OneLine(text) << '\n' << std::flush; }

}  // namespace casttool
