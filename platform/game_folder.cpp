#include "game_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace platform {
namespace {

namespace fs = std::filesystem;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EntryExists(const fs::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

// The entry of `folder` whose name equals `name` without regard to ASCII
// case, the first in byte order when several do; nullopt when none does or
// the folder cannot be read.
std::optional<std::string> FindEntryIgnoringCase(const fs::path& folder, std::string_view name) {
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view entryName(entry->d_name);
    if (SameFileName(entryName, name) && (!found || entryName < *found)) found = std::string(entryName);
  }
  ::closedir(listing);
  return found;
}

}  // namespace

bool SameFileName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {}

fs::path GameFolder::Location() const { return root_.empty() ? fs::path(".") : root_; }

fs::path GameFolder::Resolve(std::string_view relative) const {
  fs::path resolved = root_;
  bool searching = true;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = std::min(relative.find('/', start), relative.size());
    const std::string_view component = relative.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (searching && component != ".." && !EntryExists(resolved / component)) {
      if (const std::optional<std::string> entry = FindEntryIgnoringCase(resolved, component)) {
        resolved /= *entry;
        continue;
      }
      // Nothing further down can exist: the rest is a path to be created.
      searching = false;
    }
    resolved /= component;
  }
  return resolved;
}

bool GameFolder::HasFile(std::string_view relative) const {
  std::error_code ignored;
  return fs::is_regular_file(Resolve(relative), ignored);
}

bool GameFolder::HasFolder(std::string_view relative) const {
  std::error_code ignored;
  return fs::is_directory(Resolve(relative), ignored);
}

}  // namespace platform
