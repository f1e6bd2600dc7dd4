#include "temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>

namespace wholefile {
namespace {

constexpr std::size_t kLongestKeptName = 240;
constexpr std::size_t kUniqueLetters = 6;  // mkstemp's XXXXXX

// ".NAME.", what every temporary file name of `target` begins with.
std::string TemporaryPrefix(const std::filesystem::path& target) {
  std::string name = target.filename().string();
  if (name.size() > kLongestKeptName) name.resize(kLongestKeptName);
  return "." + name + ".";
}

// mkstemp's letters: ASCII letters and digits, whatever the locale says.
bool IsUniqueLetter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kUniqueLetters || !name.starts_with(prefix)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), IsUniqueLetter);
}

bool UnwrittenForLeftoverAge(const struct stat& status) {
  return status.st_mtime <= std::time(nullptr) - kLeftoverAge.count();
}

// Removes `name` from the open folder when it is a leftover. The checks are
// made on the open file, and the name is removed only while it still names
// that file, so a file put in its place meanwhile stays.
void RemoveIfLeftover(int folder, const char* name) {
  const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened {};
  struct stat named {};
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && UnwrittenForLeftoverAge(opened) &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
      named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
    ::unlinkat(folder, name, 0);
  }
  ::close(fd);
}

}  // namespace

int CreateLockedTemporary(const std::filesystem::path& target, std::filesystem::path* created) {
  std::string pattern = (target.parent_path() / (TemporaryPrefix(target) + "XXXXXX")).string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  // Where the file system has no locks the write goes on unlocked: a file
  // being written is never a minute old, and only a writer that stops for
  // longer could lose its temporary file.
  ::flock(fd, LOCK_EX);
  *created = pattern;
  return fd;
}

void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.parent_path();
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  const std::string prefix = TemporaryPrefix(target);
  while (const dirent* entry = ::readdir(listing)) {
    if (IsTemporaryName(entry->d_name, prefix)) RemoveIfLeftover(::dirfd(listing), entry->d_name);
  }
  ::closedir(listing);
}

}  // namespace wholefile
