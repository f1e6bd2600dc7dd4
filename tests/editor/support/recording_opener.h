// A stand-in for the desktop's opener `xdg-open`, put first on PATH while the
// object lives, that records every path it is handed.
//
// The stand-in is a small shell script in a folder of its own; it appends its
// argument and a line feed to a record file beside itself. The editor starts
// the opener without waiting for it, so Opened() waits, a bounded while, for
// the record to be complete: first for the paths the test expects, then it
// runs the stand-in once more itself with a marker path and waits for that
// run, which starts after every opener the command under test started, so
// that an unexpected extra path has had its time to arrive too.
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>

class RecordingOpener {
 public:
  RecordingOpener();
  RecordingOpener(const RecordingOpener&) = delete;
  RecordingOpener& operator=(const RecordingOpener&) = delete;
  ~RecordingOpener();

  // The paths handed to the opener so far, in the order they arrived, once
  // at least `expected` of them are there.
  QStringList Opened(int expected = 0) const;

 private:
  QStringList Recorded() const;

  std::filesystem::path folder_;
  std::string previousPath_;
};
