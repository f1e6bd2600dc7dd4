#include "folder_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <map>
#include <thread>
#include <utility>

namespace platform {
namespace {

using FolderId = std::pair<unsigned long, unsigned long>;

// A lock this thread holds: its lock file and how many FolderLocks hold it.
struct HeldLock {
  int fd = -1;
  int holders = 0;
};
thread_local std::map<FolderId, HeldLock> heldLocks;

std::atomic<std::chrono::milliseconds> patienceNow{kLockPatience};  // the process's, for every thread

constexpr std::chrono::milliseconds kRetryInterval{20};

// What the lock file says of its holder: "PROGRAM PID".
std::string HolderLine() {
  return std::string(program_invocation_short_name) + " " + std::to_string(::getpid()) + "\n";
}

// "（PROGRAM、プロセスID PID）" from the lock file, or "" when it says nothing
// readable (its holder is still writing it, or a stranger wrote it).
std::string HolderOf(int fd) {
  char buffer[128];
  const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
  if (n <= 0) return "";
  std::string line(buffer, static_cast<std::size_t>(n));
  if (const std::size_t end = line.find('\n'); end != std::string::npos) line.resize(end);
  const std::size_t space = line.rfind(' ');
  if (space == std::string::npos || space == 0 || space + 1 == line.size()) return "";
  const std::string program = line.substr(0, space);
  const std::string pid = line.substr(space + 1);
  for (const char c : pid) {
    if (c < '0' || c > '9') return "";
  }
  for (const char c : program) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return "";
  }
  return "（" + program + "、プロセスID " + pid + "）";
}

std::string Busy(const std::filesystem::path& folder, const std::filesystem::path& lockFile, int fd) {
  return "「" + folder.generic_string() + "」は別のプログラム" + HolderOf(fd) +
         "が書き込み中のため、書き込めません。そのプログラムが終わってからやり直してください（ロックファイル「" +
         lockFile.generic_string() + "」）";
}

std::string CannotLock(const std::filesystem::path& folder, const std::filesystem::path& lockFile, int error) {
  return "ロックファイル「" + lockFile.generic_string() + "」を使えないため、「" + folder.generic_string() +
         "」に書き込めません: " + std::strerror(error);
}

// The errors of creating the lock file that say nothing can be created in
// the folder at all.
bool FolderTakesNoFiles(int error) {
  return error == ENOENT || error == EACCES || error == EPERM || error == EROFS;
}

bool SameFile(int fd, const std::filesystem::path& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

}  // namespace

std::chrono::milliseconds LockPatience() { return patienceNow; }

void SetLockPatience(std::chrono::milliseconds patience) { patienceNow = patience; }

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds patience)
    : lockFile_(folder / kLockFileName) {
  struct stat folderStatus {};
  if (::stat(folder.c_str(), &folderStatus) != 0) return;  // no folder: nothing can be written in it
  folderId_ = {static_cast<unsigned long>(folderStatus.st_dev), static_cast<unsigned long>(folderStatus.st_ino)};
  if (const auto held = heldLocks.find(folderId_); held != heldLocks.end()) {
    ++held->second.holders;
    holding_ = true;
    return;
  }

  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    // O_NOFOLLOW: a link in the lock file's place is never written through.
    int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    const bool writable = fd >= 0;
    if (fd < 0) {
      const int createError = errno;
      if (!FolderTakesNoFiles(createError)) {
        problem_ = CannotLock(folder, lockFile_, createError);
        return;
      }
      // A lock file this process may not write still locks.
      fd = ::open(lockFile_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      if (fd < 0) return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The file may have been let go and removed between the open and the
      // lock; then the lock is on a file nobody else will find.
      if (SameFile(fd, lockFile_)) {
        if (writable && ::ftruncate(fd, 0) == 0) {
          const std::string line = HolderLine();
          // Only words for a waiting program: a failure here changes nothing.
          const ssize_t written = ::pwrite(fd, line.data(), line.size(), 0);
          static_cast<void>(written);
        }
        heldLocks[folderId_] = {fd, 1};
        holding_ = true;
        return;
      }
      ::close(fd);
      continue;
    }
    const int lockError = errno;
    if (lockError != EWOULDBLOCK && lockError != EINTR) {
      problem_ = CannotLock(folder, lockFile_, lockError);
      ::close(fd);
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      problem_ = Busy(folder, lockFile_, fd);
      ::close(fd);
      return;
    }
    ::close(fd);
    std::this_thread::sleep_for(kRetryInterval);
  }
}

FolderLock::~FolderLock() {
  if (!holding_) return;
  const auto held = heldLocks.find(folderId_);
  if (held == heldLocks.end() || --held->second.holders > 0) return;
  const int fd = held->second.fd;
  heldLocks.erase(held);
  // Removed while still locked, so that no taker ever locks a file that is
  // about to go; a taker already waiting on it finds it gone and opens anew.
  ::unlink(lockFile_.c_str());
  ::close(fd);
}

}  // namespace platform
