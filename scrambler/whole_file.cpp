#include "whole_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "temporary_file.h"

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

// Asks that the memory of a large buffer be given in the processor's large
// pages (2 MiB on x86-64) rather than 4 KiB ones: a game file of many
// megabytes then takes a few dozen page faults to fill instead of thousands,
// and its buffer is given back as quickly. Only the whole large pages within
// the buffer are concerned; where the system has no such pages nothing
// changes.
void AdviseLargePages(std::vector<std::uint8_t>& bytes) {
  constexpr std::uintptr_t kLargePage = 2 << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
  const std::uintptr_t first = (start + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t end = (start + bytes.capacity()) / kLargePage * kLargePage;
  if (first < end) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

// Reads from `fd` until the end of the file, appending to `bytes`.
bool ReadToEnd(int fd, std::vector<std::uint8_t>& bytes) {
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
}

// Reads up to bytes.size() - filled bytes into `bytes` from `filled` on, and
// cuts `bytes` to what was read.
bool ReadInto(int fd, std::vector<std::uint8_t>& bytes, std::size_t filled) {
  while (filled < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);
  return true;
}

// Writes all of `contents` in pieces, starting the disk's work on each piece
// as soon as it is written (without waiting for it), so that the disk writes
// one piece while the next is copied, and the closing fsync has little left to
// wait for. The fsync alone makes the file durable.
bool WriteAll(int fd, std::span<const std::uint8_t> contents) {
  constexpr std::size_t kPiece = 8 << 20;
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, std::min(kPiece, contents.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    ::sync_file_range(fd, static_cast<off_t>(done), n, SYNC_FILE_RANGE_WRITE);
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

// Whether this process may write the existing file `target` itself, with its
// effective user and groups (root may write any file).
bool MayWrite(const std::filesystem::path& target) {
  return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// Gives the new file the old one's owner, group and permissions, or a new
// file's permissions when there was none. Only a privileged process may give
// a file away; for any other this works when the old file is its own and of
// one of its groups, and fails otherwise.
bool TakeOverIdentity(int fd, const struct stat* old) {
  if (old == nullptr) return ::fchmod(fd, NewFileMode()) == 0;
  return ::fchown(fd, old->st_uid, old->st_gid) == 0 && ::fchmod(fd, old->st_mode & 07777) == 0;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path, std::string* reason) {
  return ReadBehindRoom(path, 0, reason);
}

std::optional<std::vector<std::uint8_t>> ReadBehindRoom(const std::filesystem::path& path,
                                                        std::size_t leadingRoom, std::string* reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetReason(reason, errno);
    return std::nullopt;
  }
  // The bytes go straight into the buffer, sized from the file's length;
  // whatever the file gained meanwhile (or all of what is no regular file)
  // is appended after.
  std::vector<std::uint8_t> bytes;
  struct stat info {};
  bool read = false;
  try {
    const std::size_t expected =
        (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.reserve(leadingRoom + expected);
    AdviseLargePages(bytes);
    bytes.resize(leadingRoom + expected);
    read = ReadInto(fd, bytes, leadingRoom) && ReadToEnd(fd, bytes);
    if (!read) SetReason(reason, errno);
  } catch (const std::bad_alloc&) {
    SetReason(reason, ENOMEM);
  }
  ::close(fd);
  if (!read) return std::nullopt;
  return bytes;
}

bool Replace(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
             std::string* reason, Links links) {
  StagedFile staged;
  return staged.Stage(path, contents, reason, links) && staged.Commit(reason);
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      descriptor_(std::exchange(other.descriptor_, -1)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temporary_ = std::exchange(other.temporary_, {});
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

StagedFile::~StagedFile() { Discard(); }

// Removed while still locked, so no clean-up ever sees it unlocked.
void StagedFile::Discard() {
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
}

bool StagedFile::Stage(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
                       std::string* reason, Links links) {
  Discard();
  target_ = links == Links::kFollow ? ReplacedFile(path) : path;
  // A link that is itself replaced hands on nothing of its own.
  struct stat old {};
  const bool existed = links == Links::kFollow ? ::stat(target_.c_str(), &old) == 0
                                               : ::lstat(target_.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  if (existed && !MayWrite(target_)) {
    SetReason(reason, errno);
    return false;
  }

  RemoveLeftoverTemporaries(target_);
  descriptor_ = CreateLockedTemporary(target_, &temporary_);
  if (descriptor_ < 0) {
    SetReason(reason, errno);
    return false;
  }
  if (!TakeOverIdentity(descriptor_, existed ? &old : nullptr) || !WriteAll(descriptor_, contents) ||
      ::fsync(descriptor_) != 0) {
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
  Discard();
  SyncFolder(target_.parent_path());
  return true;
}

}  // namespace wholefile
