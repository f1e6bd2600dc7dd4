#include "export_command.h"

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "cast_file_path.h"
#include "cast_name.h"
#include "cast_package.h"
#include "error.h"
#include "file_access.h"
#include "messages.h"
#include "whole_file.h"

namespace casttool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCastExtensions[] = {".cst", ".dat", ".bmp"};

// The cast file that `out` is, by the file it names (the same device and
// inode): another spelling, a symbolic link or a hard link is found too.
std::optional<fs::path> CastFileAt(const platform::GameFolder& game, const std::string& name, const fs::path& out) {
  struct stat outStatus {};
  if (::stat(out.c_str(), &outStatus) != 0) return std::nullopt;
  for (const char* extension : kCastExtensions) {
    const fs::path castFile = castdata::CastFilePath(name, extension, game);
    struct stat castStatus {};
    if (::stat(castFile.c_str(), &castStatus) == 0 && castStatus.st_dev == outStatus.st_dev &&
        castStatus.st_ino == outStatus.st_ino) {
      return castFile;
    }
  }
  return std::nullopt;
}

bool EntryExists(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

ExitStatus ExportCast(const platform::GameFolder& game, const std::string& name, const std::string& outFile,
                      bool force, Output& output) {
  if (const auto problem = castdata::CastNameProblem(name)) {
    output.Error(*problem);
    return ExitStatus::kFailure;
  }
  if (!castdata::CastNameFitsPackage(name)) {
    output.Error(messages::NameTooLongForPackage(name));
    return ExitStatus::kProblem;
  }
  for (const char* extension : kCastExtensions) {
    if (const auto error = UnreadableFileError(castdata::CastFilePath(name, extension, game))) {
      output.Error(*error);
      return ExitStatus::kFailure;
    }
  }
  std::vector<std::uint8_t> package;
  try {
    package = castdata::BuildCastPackage(game, name);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kProblem;
  }
  if (outFile == messages::kStandardOutput) {
    output.Write(std::string_view(reinterpret_cast<const char*>(package.data()), package.size()));
    return ExitStatus::kSuccess;
  }
  const fs::path out = InGameFolder(game, outFile);
  if (const std::optional<fs::path> castFile = CastFileAt(game, name, out)) {
    output.Error(messages::OutputIsCastFile(outFile, castFile->generic_string()));
    return ExitStatus::kProblem;
  }
  if (!force && EntryExists(out)) {
    output.Error(messages::OutputExists(outFile));
    return ExitStatus::kProblem;
  }
  std::string reason;
  if (!wholefile::Replace(out, package, &reason)) {
    output.Error(castdata::CannotWrite(out, reason));
    return ExitStatus::kProblem;
  }
  output.WriteLine(messages::Written(outFile));
  return ExitStatus::kSuccess;
}

}  // namespace casttool
