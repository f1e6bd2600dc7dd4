// Reading a whole file for castdata's readers, with a failure the user can be
// shown as it stands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace castdata {

// The bytes of the file at `path`. Throws castdata::Error naming the file and
// the reason ("「DAT/USER.DAT」を読み込めません: ファイルが見つかりません").
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Why the file at `path` could not be read, in the user's language where the
// file's state tells it ("ファイルが見つかりません", "ファイルではなくフォルダです"),
// else in the system's own words `systemReason`.
std::string ReadFailureReason(const std::filesystem::path& path, const std::string& systemReason);

}  // namespace castdata
