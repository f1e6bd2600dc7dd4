#include "game_files.h"

#include <system_error>

namespace castdata {

bool GameFileExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool VersionFileExists(const std::filesystem::path& gameFolder) {
  return GameFileExists(gameFolder / kVersionFilePath);
}

}  // namespace castdata
