// Finding the game folder when a program is not told where it is: started
// from a menu, a file manager or another folder, it looks in a few likely
// places in turn and takes the first that holds a game.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "game_folder.h"

namespace platform {

struct GameFolderSearch {
  // The first candidate that holds a game; nullopt when none does.
  std::optional<std::filesystem::path> found;
  // Every candidate looked at, in order, each made absolute so that a
  // message can name it.
  std::vector<std::filesystem::path> tried;
};

// Looks at `candidates` in order (the empty path is the working folder),
// skipping repeats of a folder already tried, and stops at the first for which
// `holdsGame` is true.
GameFolderSearch FindGameFolder(const std::vector<std::filesystem::path>& candidates,
                                const std::function<bool(const GameFolder&)>& holdsGame);

// The folder that holds the running program's own file; empty when the
// system cannot tell.
std::filesystem::path ExecutableFolder();

}  // namespace platform
