// Where a command writes: its results to standard output, each error to
// standard error as one line naming the file and the reason. Text goes out as
// the UTF-8 it is held in.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace casttool {

class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  std::ostream& out() { return out_; }

  // Writes `text` to the error stream as one line: a failure text of several
  // lines ("foo.ecは壊れたECファイルです" and its reason) is joined with ": ".
  void Error(std::string_view text);

 private:
  std::ostream& out_;
  std::ostream& err_;
};

// `text` on one line: each line break (LF, CR LF or CR) becomes ": ".
std::string OneLine(std::string_view text);

}  // namespace casttool
