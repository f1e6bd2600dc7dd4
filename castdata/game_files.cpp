#include "game_files.h"

#include "cast_name.h"

namespace castdata {

bool GameFileExists(std::string_view relative, const platform::GameFolder& game) { return game.HasFile(relative); }

bool VersionFileExists(const platform::GameFolder& game) { return GameFileExists(kVersionFilePath, game); }

bool HoldsGameOrCasts(const platform::GameFolder& game) {
  return VersionFileExists(game) || game.HasFolder(kCastFolder);
}

}  // namespace castdata
