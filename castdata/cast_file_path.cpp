#include "cast_file_path.h"

#include <optional>

#include "cast_name.h"
#include "error.h"

namespace castdata {

std::filesystem::path CastFilePath(std::string_view name, std::string_view extension,
                                   const platform::GameFolder& game) {
  if (const std::optional<std::string> problem = CastNameProblem(name)) throw Error(*problem);
  return game.Resolve(CastPath(name, extension));
}

CastFolderLock::CastFolderLock(const platform::GameFolder& game) : lock_(game.Resolve(kCastFolder)) {
  if (lock_.Problem()) throw Error(*lock_.Problem());
}

std::string CannotRead(const std::filesystem::path& file, const std::string& reason) {
  return "「" + file.generic_string() + "」を読み込めません: " + reason;
}

std::string CannotWrite(const std::filesystem::path& file, const std::string& reason) {
  return "「" + file.generic_string() + "」に書き込めません: " + reason;
}

}  // namespace castdata
