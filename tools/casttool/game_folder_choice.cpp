#include "game_folder_choice.h"

#include <filesystem>
#include <vector>

#include "game_files.h"
#include "game_folder_search.h"
#include "messages.h"

namespace casttool {

namespace fs = std::filesystem;

platform::GameFolder ChooseGameFolder(const std::string& folderOption) {
  std::vector<fs::path> candidates;
  if (!folderOption.empty()) {
    candidates.push_back(folderOption);
  } else {
    const fs::path programFolder = platform::ExecutableFolder();
    candidates.push_back({});
    if (!programFolder.empty()) {
      candidates.push_back(programFolder);
      candidates.push_back(programFolder.parent_path());
    }
  }
  const platform::GameFolderSearch search = platform::FindGameFolder(candidates, castdata::HoldsGameOrCasts);
  if (search.found) return platform::GameFolder(*search.found);
  std::vector<std::string> tried;
  for (const fs::path& folder : search.tried) tried.push_back(folder.string());
  throw NoGameFolder(messages::NoGameFolder(tried));
}

}  // namespace casttool
