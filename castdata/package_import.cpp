#include "package_import.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <system_error>
#include <vector>

#include "cast_name.h"
#include "cast_package.h"
#include "folder_lock.h"
#include "whole_file.h"

namespace castdata {
namespace {

// At most the first `limit` bytes of the file: a package never needs more,
// and a huge file that only carries the extension is not read whole.
std::optional<std::vector<std::uint8_t>> ReadStart(const std::filesystem::path& path, std::size_t limit,
                                                   std::string* reason) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) {
    *reason = std::strerror(errno);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::read(fd, bytes.data() + done, limit - done);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      *reason = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

// What stood at a cast file's name before the import: what is put back when
// a later file of the set cannot follow.
struct OldEntry {
  enum class Kind { kNothing, kFile, kLink };
  Kind kind = Kind::kNothing;
  std::vector<std::uint8_t> bytes;  // a file's contents
  std::string linkTarget;           // a symbolic link's target, as it reads
};

// The entry at `target` before anything is written, or why the import must
// not replace it. A folder (named so or through a link) cannot be replaced by
// a rename; a pipe or a device could not be put back. A link to a file is
// replaced itself: an import never writes through a link.
std::optional<std::string> ReadOldEntry(const std::filesystem::path& target, const std::string& shown,
                                        OldEntry& old) {
  struct stat named {};
  if (::lstat(target.c_str(), &named) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return shown + "を調べられません: " + std::strerror(errno);
  }
  struct stat followed {};
  const bool resolves = ::stat(target.c_str(), &followed) == 0;
  if (S_ISDIR(named.st_mode) || (S_ISLNK(named.st_mode) && resolves && S_ISDIR(followed.st_mode))) {
    return shown + "と同じ名前のフォルダがあります";
  }
  if (S_ISLNK(named.st_mode)) {
    if (resolves && !S_ISREG(followed.st_mode)) return shown + "はファイルではありません";
    std::error_code error;
    old.linkTarget = std::filesystem::read_symlink(target, error).string();
    if (error) return shown + "を調べられません: " + error.message();
    old.kind = OldEntry::Kind::kLink;
    return std::nullopt;
  }
  if (!S_ISREG(named.st_mode)) return shown + "はファイルではありません";
  std::string reason;
  auto bytes = wholefile::Read(target, &reason);
  if (!bytes) return shown + "を読み込めません: " + reason;
  old.bytes = std::move(*bytes);
  old.kind = OldEntry::Kind::kFile;
  return std::nullopt;
}

// Puts `old` back at `target` in one step (a rename, or the removal of a
// file that was not there before); the reason when that fails.
std::optional<std::string> PutBack(const std::filesystem::path& target, const OldEntry& old) {
  std::string reason;
  switch (old.kind) {
    case OldEntry::Kind::kNothing: {
      if (::unlink(target.c_str()) != 0 && errno != ENOENT) return std::string(std::strerror(errno));
      return std::nullopt;
    }
    case OldEntry::Kind::kFile:
      if (!wholefile::Replace(target, old.bytes, &reason, wholefile::Links::kReplace)) return reason;
      return std::nullopt;
    case OldEntry::Kind::kLink: {
      // The link is made under a free hidden name beside the file, then
      // renamed into place.
      std::string beside = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
      const int reserved = ::mkstemp(beside.data());
      if (reserved < 0) return std::string(std::strerror(errno));
      ::close(reserved);
      ::unlink(beside.c_str());
      if (::symlink(old.linkTarget.c_str(), beside.c_str()) != 0 || ::rename(beside.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(beside.c_str());
        return std::string(std::strerror(error));
      }
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// Writes the three cast files as a set; on failure returns why, naming the
// file, and leaves every old entry as it was. Every target is looked at
// before anything is written; the files are renamed into place one after the
// other, and when one cannot follow, those already in place are put back.
std::optional<std::string> WriteCast(const CastPackage& package, const platform::GameFolder& game) {
  struct CastFile {
    std::string_view extension;
    const std::vector<std::uint8_t>& contents;
  };
  const std::array<CastFile, 3> files = {{
      {".bmp", package.picture},
      {".dat", package.castData},
      {".cst", package.castProfile},
  }};
  std::array<std::string, 3> shown;
  std::array<std::filesystem::path, 3> targets;
  std::array<OldEntry, 3> old;
  for (std::size_t i = 0; i < files.size(); ++i) {
    shown[i] = CastPath(package.castName, files[i].extension);
    targets[i] = game.Resolve(shown[i]);
    if (auto refused = ReadOldEntry(targets[i], shown[i], old[i])) return refused;
  }
  std::array<wholefile::StagedFile, 3> staged;
  std::string reason;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!staged[i].Stage(targets[i], files[i].contents, &reason, wholefile::Links::kReplace)) {
      return shown[i] + "を書き込めません: " + reason;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (staged[i].Commit(&reason)) continue;
    std::string failure = shown[i] + "を書き込めません: " + reason;
    for (std::size_t j = i; j-- > 0;) {
      if (const auto notPutBack = PutBack(targets[j], old[j])) {
        failure += "\n" + shown[j] + "を元に戻せませんでした: " + *notPutBack;
      }
    }
    return failure;
  }
  return std::nullopt;
}

// Why the package could not be deleted once its cast is in place, or nullopt
// when it can: its folder must let this process remove names from it (not a
// read-only folder or file system, not another user's file in a sticky
// folder), and the file must not be immutable or append-only.
std::optional<std::string> WhyUndeletable(const std::filesystem::path& packageFile) {
  const std::filesystem::path folder = packageFile.has_parent_path() ? packageFile.parent_path() : ".";
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return std::string(std::strerror(errno));
  struct stat folderStatus {};
  struct stat fileStatus {};
  if (::stat(folder.c_str(), &folderStatus) != 0 || ::lstat(packageFile.c_str(), &fileStatus) != 0) {
    return std::string(std::strerror(errno));
  }
  const uid_t user = ::geteuid();
  if ((folderStatus.st_mode & S_ISVTX) != 0 && user != 0 && user != fileStatus.st_uid &&
      user != folderStatus.st_uid) {
    return std::string(std::strerror(EPERM));
  }
  const int fd = ::open(packageFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    int flags = 0;
    const bool fixed = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
    ::close(fd);
    if (fixed) return std::string(std::strerror(EPERM));
  }
  return std::nullopt;
}

}  // namespace

PackageImportOutcome ImportCastPackage(const std::filesystem::path& packageFile,
                                       const platform::GameFolder& game, ImportedPackage whenImported) {
  PackageImportOutcome outcome;
  outcome.packageFile = packageFile.filename().string();
  const std::string& shown = outcome.packageFile;

  // Held from the reading of the package to its deletion, so that another
  // import of it, or of a package of the same cast, waits for this one.
  const platform::FolderLock lock(game.Resolve(kCastFolder));
  if (lock.Problem()) {
    outcome.message = shown + "を展開できませんでした\n" + *lock.Problem();
    return outcome;
  }

  std::string reason;
  const auto bytes = ReadStart(packageFile, kLongestPackageRead, &reason);
  if (!bytes) {
    outcome.message = shown + "を読み込めません\n" + reason;
    return outcome;
  }
  PackageReading reading = ReadCastPackage(*bytes);
  switch (reading.status) {
    case PackageReading::Status::kNotAPackage:
      outcome.message = std::string(kNotAPackageMessage);
      return outcome;
    case PackageReading::Status::kBroken:
      outcome.message = shown + "は壊れたECファイルです\n" + reading.problem;
      return outcome;
    case PackageReading::Status::kRead:
      break;
  }
  outcome.castName = reading.package.castName;

  // A package that stayed after its import would be imported again at every
  // start, over whatever the player changed since.
  if (const auto undeletable = WhyUndeletable(packageFile)) {
    outcome.message = shown + "を削除できないため展開しません: " + *undeletable;
    return outcome;
  }
  if (const auto failure = WriteCast(reading.package, game)) {
    outcome.message = shown + "を展開できませんでした\n" + *failure;
    return outcome;
  }
  outcome.imported = true;
  outcome.message = std::string(kPackageImportedMessage);
  if (whenImported == ImportedPackage::kKeep) return outcome;

  std::error_code error;
  std::filesystem::remove(packageFile, error);
  if (error) outcome.message += "\n" + shown + "を削除できませんでした: " + error.message();
  return outcome;
}

}  // namespace castdata
