#include "package_import.h"

#include <fcntl.h>
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

// Writes the three cast files as a set; on failure returns why, naming the
// file, and leaves every old file as it was.
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
  std::array<wholefile::StagedFile, 3> staged;
  std::string reason;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string path = CastPath(package.castName, files[i].extension);
    const std::filesystem::path target = game.Resolve(path);
    // A rename cannot replace a folder; finding that out only when the
    // first files are already committed would leave a half cast.
    std::error_code ignored;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(target, ignored))) {
      return path + "と同じ名前のフォルダがあります";
    }
    if (!staged[i].Stage(target, files[i].contents, &reason)) return path + "を書き込めません: " + reason;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!staged[i].Commit(&reason)) {
      return CastPath(package.castName, files[i].extension) + "を書き込めません: " + reason;
    }
  }
  return std::nullopt;
}

}  // namespace

PackageImportOutcome ImportCastPackage(const std::filesystem::path& packageFile,
                                       const platform::GameFolder& game) {
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

  if (const auto failure = WriteCast(reading.package, game)) {
    outcome.message = shown + "を展開できませんでした\n" + *failure;
    return outcome;
  }
  outcome.imported = true;
  outcome.message = std::string(kPackageImportedMessage);

  std::error_code error;
  std::filesystem::remove(packageFile, error);
  if (error) outcome.message += "\n" + shown + "を削除できませんでした: " + error.message();
  return outcome;
}

}  // namespace castdata
