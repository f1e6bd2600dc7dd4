// Reading a whole file for castdata's readers, with a failure the user can be
// shown as it stands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace castdata {

// The bytes of the file at `path`. Throws castdata::Error naming the file and
// the reason ("「DAT/USER.DAT」を読み込めません: ファイルが見つかりません").
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

}  // namespace castdata
