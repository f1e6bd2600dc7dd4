#include "file_bytes.h"

#include <string>
#include <system_error>

#include "error.h"
#include "whole_file.h"

namespace castdata {

std::string ReadFailureReason(const std::filesystem::path& path, const std::string& systemReason) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return "ファイルが見つかりません";
  if (std::filesystem::is_directory(status)) return "ファイルではなくフォルダです";
  return "読み取りに失敗しました（" + systemReason + "）";
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::string systemReason;
  auto bytes = wholefile::Read(path, &systemReason);
  if (!bytes) {
    throw Error("「" + path.string() + "」を読み込めません: " + ReadFailureReason(path, systemReason));
  }
  return std::move(*bytes);
}

}  // namespace castdata
