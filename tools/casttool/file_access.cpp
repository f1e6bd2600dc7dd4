#include "file_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "cast_file_path.h"
#include "file_bytes.h"
#include "messages.h"

namespace casttool {

std::optional<std::string> UnreadableReason(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
    return castdata::ReadFailureReason(path, error.message());
  }
  // A pipe or a device is no game file, and opening a pipe would wait for a writer.
  if (!std::filesystem::is_regular_file(status)) return castdata::ReadFailureReason(path, messages::kNotARegularFile);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return castdata::ReadFailureReason(path, std::strerror(errno));
  ::close(fd);
  return std::nullopt;
}

std::optional<std::string> UnreadableFileError(const std::filesystem::path& path) {
  if (const auto reason = UnreadableReason(path)) return castdata::CannotRead(path, *reason);
  return std::nullopt;
}

std::filesystem::path InGameFolder(const platform::GameFolder& game, const std::string& file) {
  if (std::filesystem::path(file).is_absolute()) return file;
  return game.Resolve(file);
}

}  // namespace casttool
