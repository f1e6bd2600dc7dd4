// Where a command writes: its results to standard output, each error and
// each refusal to standard error as one line that starts "casttool: ". Text
// goes out as the UTF-8 it is held in.
//
// A script must be able to trust that a run which exits 0 wrote all its
// results, so a failed write to standard output (a full disk, a pipe whose
// reader has gone while SIGPIPE is ignored) is remembered with the system's
// reason; the command stops writing, and Finish reports it.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace casttool {

class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  // Writes `bytes` to standard output as they stand. After a failed write
  // nothing more is written.
  void Write(std::string_view bytes);
  // Writes `line` and a line end.
  void WriteLine(std::string_view line);
  // Whether a write to standard output has failed.
  bool Failed() const { return failure_.has_value(); }

  // Writes "casttool: " and `text` to standard error as one line: a text of
  // several lines ("foo.ecは壊れたECファイルです" and its reason) is joined
  // with ": ".
  void Error(std::string_view text);

  // Flushes standard output. false, after an error line with the reason,
  // when any write to it failed.
  bool Finish();

 private:
  void CheckWritten();

  std::ostream& out_;
  std::ostream& err_;
  std::optional<std::string> failure_;  // the reason of the first failed write
};

// `text` on one line: each line break (LF, CR LF or CR) becomes ": ".
std::string OneLine(std::string_view text);

}  // namespace casttool
