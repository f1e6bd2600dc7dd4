#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace wholefile {
namespace {

void SetReason(std::string* reason, int errnum) {
  if (reason) *reason = std::strerror(errnum);
}

// Permissions for a new file: what open(2) would give under the current umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::span<const std::uint8_t> contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file a replacement of `path` renames over: through a symbolic link the
// file it points to, so that the link itself stays in place.
std::filesystem::path ReplacedFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(path, error);
  return error ? path : resolved;
}

// mkstemp's pattern for the temporary file beside `target`. The copy of the
// file name is cut short enough that the temporary name stays within the
// file system's 255-byte limit even when the file's own name is at it.
std::string TemporaryPattern(const std::filesystem::path& target) {
  constexpr std::size_t kLongestKeptName = 240;
  std::string name = target.filename().string();
  if (name.size() > kLongestKeptName) name.resize(kLongestKeptName);
  return (target.parent_path() / ("." + name + ".XXXXXX")).string();
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path,
                                              std::string* reason, std::size_t spareCapacity) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    SetReason(reason, errno);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  struct stat info {};
  try {
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
      bytes.reserve(static_cast<std::size_t>(info.st_size) + spareCapacity);
    }
    std::uint8_t chunk[65536];
    for (;;) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        SetReason(reason, errno);
        ::close(fd);
        return std::nullopt;
      }
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
  } catch (const std::bad_alloc&) {
    SetReason(reason, ENOMEM);
    ::close(fd);
    return std::nullopt;
  }
  ::close(fd);
  return bytes;
}

bool Replace(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
             std::string* reason, Links links) {
  StagedFile staged;
  return staged.Stage(path, contents, reason, links) && staged.Commit(reason);
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)) {
  other.temporary_.clear();
}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    other.temporary_.clear();
  }
  return *this;
}

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Discard() {
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

bool StagedFile::Stage(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
                       std::string* reason, Links links) {
  Discard();
  target_ = links == Links::kFollow ? ReplacedFile(path) : path;
  std::string pattern = TemporaryPattern(target_);
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    SetReason(reason, errno);
    return false;
  }
  temporary_ = pattern;

  // The new file takes over the old one's owner (only a privileged process may
  // give a file away; for any other it stays its own) and then its permissions.
  // A link that is itself replaced hands on nothing of its own.
  struct stat old {};
  const bool existed = links == Links::kFollow ? ::stat(target_.c_str(), &old) == 0
                                               : ::lstat(target_.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  if (existed && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Not permitted: the new file belongs to this process's user.
  }
  const mode_t mode = existed ? (old.st_mode & 07777) : NewFileMode();
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, contents) || ::fsync(fd) != 0) {
    SetReason(reason, errno);
    ::close(fd);
    Discard();
    return false;
  }
  if (::close(fd) != 0) {
    SetReason(reason, errno);
    Discard();
    return false;
  }
  return true;
}

bool StagedFile::Commit(std::string* reason) {
  if (temporary_.empty()) {
    SetReason(reason, EINVAL);
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    SetReason(reason, errno);
    Discard();
    return false;
  }
  temporary_.clear();
  SyncFolder(target_.parent_path());
  return true;
}

}  // namespace wholefile
