#include "pack_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>

#include "file_access.h"
#include "file_bytes.h"
#include "messages.h"
#include "packed_format.h"
#include "rotation_base.h"
#include "whole_file.h"

namespace casttool {
namespace {

struct Refusal {
  ExitStatus status;
  std::string reason;
};

// Why the file at `path` cannot be rewritten, before it is read: nullopt for
// a regular file. (Whether the user may write it is the rewrite's to say.)
std::optional<Refusal> RefusalBeforeReading(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return Refusal{ExitStatus::kFailure, castdata::ReadFailureReason(path, std::strerror(errno))};
  }
  // The rename would put a plain file in the place of a folder, a pipe or a
  // device, and reading a pipe could wait for ever.
  if (!S_ISREG(status.st_mode)) {
    return Refusal{ExitStatus::kProblem, S_ISDIR(status.st_mode) ? castdata::ReadFailureReason(path, "")
                                                                 : messages::kNotARegularFile};
  }
  return std::nullopt;
}

}  // namespace

ExitStatus PackFiles(const platform::GameFolder& game, const std::vector<std::string>& files,
                     PackDirection direction, Output& output) {
  const bool pack = direction == PackDirection::kPack;
  ExitStatus status = ExitStatus::kSuccess;
  const auto refuse = [&](const std::string& file, const Refusal& refusal) {
    output.Error(messages::FileFailure(file, refusal.reason));
    status = Worse(status, refusal.status);
  };
  for (const std::string& file : files) {
    // As FilePack does, every file given to pack draws a rotation base,
    // also one that is left as it is.
    const int base = pack ? scrambler::DrawRotationBase() : 0;
    const std::filesystem::path path = InGameFolder(game, file);
    if (const std::optional<Refusal> refusal = RefusalBeforeReading(path)) {
      refuse(file, *refusal);
      continue;
    }
    // Read as the library reads it: behind room for the header that packing
    // puts in front.
    const std::size_t room = pack ? scrambler::kHeaderSize : 0;
    std::string reason;
    std::optional<std::vector<std::uint8_t>> buffer = wholefile::ReadBehindRoom(path, room, &reason);
    if (!buffer) {
      refuse(file, {ExitStatus::kFailure, reason});
      continue;
    }
    if (scrambler::IsPacked(std::span(*buffer).subspan(room)) == pack) {
      output.WriteLine(pack ? messages::AlreadyPacked(file) : messages::AlreadyUnpacked(file));
      continue;
    }
    std::span<const std::uint8_t> contents = *buffer;
    if (pack) {
      scrambler::PackBuffer(*buffer, base);
    } else {
      contents = scrambler::UnpackBuffer(*buffer);
    }
    if (!wholefile::Replace(path, contents, &reason)) {
      refuse(file, {ExitStatus::kProblem, reason});
      continue;
    }
    output.WriteLine(pack ? messages::Packed(file) : messages::Unpacked(file));
  }
  return status;
}

}  // namespace casttool
