#include "game_folder_search.h"

#include <algorithm>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

GameFolderSearch FindGameFolder(const std::vector<fs::path>& candidates,
                                const std::function<bool(const GameFolder&)>& holdsGame) {
  GameFolderSearch search;
  for (const fs::path& candidate : candidates) {
    std::error_code error;
    fs::path shown = fs::weakly_canonical(fs::absolute(candidate.empty() ? fs::path(".") : candidate), error);
    if (error) shown = fs::absolute(candidate, error);
    if (std::find(search.tried.begin(), search.tried.end(), shown) != search.tried.end()) continue;
    search.tried.push_back(shown);
    if (holdsGame(GameFolder(candidate))) {
      search.found = candidate;
      break;
    }
  }
  return search;
}

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return program.parent_path();
}

}  // namespace platform
