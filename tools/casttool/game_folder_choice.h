// The game folder casttool works in: the folder given with -C, or, without
// one, the first game folder among the working folder, the program's own
// folder and the folder above it (so that a casttool installed into the game
// folder, or into its bin/, works from anywhere).
#pragma once

#include <stdexcept>
#include <string>

#include "game_folder.h"

namespace casttool {

// No game folder to work in; what() names the folder or folders looked at.
class NoGameFolder : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The folder given with -C (empty when none was given) when it holds the
// version file or a cast folder, or the first such folder of the search.
// Throws NoGameFolder otherwise: a folder that is not a game folder would
// list nothing and read nothing, which a script would take for an empty game.
platform::GameFolder ChooseGameFolder(const std::string& folderOption);

}  // namespace casttool
