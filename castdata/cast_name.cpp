#include "cast_name.h"

namespace castdata {

std::optional<std::string> CastNameProblem(std::string_view name) {
  if (name.empty()) return std::string("ファイル名が入力されていません");
  const bool leavesFolder = name == "." || name == ".." ||
                            name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos;
  if (leavesFolder) {
    return "ファイル名「" + std::string(name) + "」はcastフォルダ内のファイル名にできません";
  }
  return std::nullopt;
}

std::string CastPath(std::string_view name, std::string_view extension) {
  return std::string(kCastFolder) + "/" + std::string(name) + std::string(extension);
}

}  // namespace castdata
