#include "game_lists.h"

#include "game_files.h"
#include "progress_data.h"
#include "scrambled_file.h"

namespace casttool {

GameLists ReadGameLists(const platform::GameFolder& game, bool shopMode) {
  const std::filesystem::path progressFile = game.Resolve(castdata::kProgressFilePath);
  castdata::ProgressData progress = castdata::ReadProgressData(castdata::ReadGameFileInMemory(progressFile));
  const std::filesystem::path catalogueFile = game.Resolve(castdata::kWeaponCataloguePath);
  GameLists lists;
  lists.playerNumber = progress.playerNumber;
  castdata::ReadWeaponCatalogue(castdata::ReadGameFileInMemory(catalogueFile), catalogueFile.generic_string(),
                                shopMode, progress, lists.catalogue);
  return lists;
}

}  // namespace casttool
