// Whether a file named on the command line can be read, tested before a
// command hands it on, so that a missing or unreadable file is reported as
// such (exit status 2) and not as a file the command refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "game_folder.h"

namespace casttool {

// nullopt when `path` is a regular file that can be opened for reading; otherwise the
// reason, in the words castdata uses ("ファイルが見つかりません", ...).
std::optional<std::string> UnreadableReason(const std::filesystem::path& path);

// "「FILE」を読み込めません: REASON" when `path` cannot be read.
std::optional<std::string> UnreadableFileError(const std::filesystem::path& path);

// A path given on the command line, taken inside the game folder as the
// editor, working there, would take it; an absolute path stays as it is.
std::filesystem::path InGameFolder(const platform::GameFolder& game, const std::string& file);

}  // namespace casttool
