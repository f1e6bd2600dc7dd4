#include "recording_opener.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = "recording-opener-marker";
constexpr int kPatienceMilliseconds = 10000;

}  // namespace

RecordingOpener::RecordingOpener() {
  std::string pattern = (fs::temp_directory_path() / "opener.XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make the opener's folder");
  folder_ = pattern;
  const fs::path script = folder_ / "xdg-open";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$0.record\"\n";
  fs::permissions(script, fs::perms::owner_all);

  const char* path = std::getenv("PATH");
  previousPath_ = path != nullptr ? path : "";
  ::setenv("PATH", (folder_.string() + ":" + previousPath_).c_str(), 1);
}

RecordingOpener::~RecordingOpener() {
  ::setenv("PATH", previousPath_.c_str(), 1);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

QStringList RecordingOpener::Recorded() const {
  std::ifstream in(folder_ / "xdg-open.record", std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  return QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList RecordingOpener::Opened(int expected) const {
  QDeadlineTimer deadline(kPatienceMilliseconds);
  while (Recorded().size() < expected && !deadline.hasExpired()) QThread::msleep(10);

  // The marker goes through the stand-in the way the editor's paths do; this
  // run is waited for, so once it is over the marker is recorded.
  QProcess::execute(QString::fromStdString((folder_ / "xdg-open").string()), {QString::fromLatin1(kMarker)});
  QStringList paths = Recorded();
  paths.removeAll(QString::fromLatin1(kMarker));
  return paths;
}
