#include "game_lists.h"

#include "game_files.h"
#include "progress_data.h"
#include "scrambled_file.h"

namespace casttool {

GameLists ReadGameLists(const std::filesystem::path& gameFolder, bool shopMode) {
  const std::filesystem::path progressFile = gameFolder / castdata::kProgressFilePath;
  castdata::ProgressData progress = castdata::ReadProgressData(castdata::ReadGameFileInMemory(progressFile));
  const std::filesystem::path catalogueFile = gameFolder / castdata::kWeaponCataloguePath;
  GameLists lists;
  lists.playerNumber = progress.playerNumber;
  castdata::ReadWeaponCatalogue(castdata::ReadGameFileInMemory(catalogueFile), catalogueFile.generic_string(),
                                shopMode, progress, lists.catalogue);
  return lists;
}

}  // namespace casttool
