#include "crash_states.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "folder_lock.h"

namespace crashtest {
namespace {

using gamefixture::FolderEntry;
using gamefixture::FolderTree;

const FolderEntry* Find(const FolderTree& tree, const std::string& path) {
  const auto found = tree.find(path);
  return found == tree.end() ? nullptr : &found->second;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool MatchesAGamePattern(const std::string& fileName) {
  constexpr std::array<std::string_view, 4> kExtensions = {".cst", ".dat", ".bmp", ".ec"};
  const std::string lower = Lower(fileName);
  return std::any_of(kExtensions.begin(), kExtensions.end(),
                     [&](std::string_view extension) { return lower.ends_with(extension); });
}

// Whether `path` is named as the temporary file of a rewrite of `target`.
bool IsTemporaryFileOf(const std::filesystem::path& path, const std::filesystem::path& target) {
  if (path.parent_path() != target.parent_path()) return false;
  const std::string name = path.filename().string();
  const std::string start = "." + target.filename().string() + ".";
  if (name.size() != start.size() + 6 || !name.starts_with(start)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(start.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Whether `path` is the lock file of the cast folder.
bool IsCastFolderLock(const std::filesystem::path& path) {
  return path.parent_path() == "cast" && path.filename() == platform::kLockFileName;
}

}  // namespace

std::vector<std::string> Leftovers(const FolderTree& before, const FolderTree& after, const FolderTree& now) {
  std::vector<std::string> leftovers;
  for (const auto& [path, entry] : now) {
    if (!Find(before, path) && !Find(after, path)) leftovers.push_back(path);
  }
  return leftovers;
}

std::vector<std::string> CrashStateProblems(const FolderTree& before, const FolderTree& after, const FolderTree& now) {
  std::vector<std::string> problems;
  std::vector<std::string> paths;
  for (const auto& [path, entry] : before) paths.push_back(path);
  for (const auto& [path, entry] : after) {
    if (!Find(before, path)) paths.push_back(path);
  }
  std::vector<std::filesystem::path> changed;
  for (const std::string& path : paths) {
    const FolderEntry* old = Find(before, path);
    const FolderEntry* fresh = Find(after, path);
    const FolderEntry* present = Find(now, path);
    if (!old || !fresh || !(*old == *fresh)) changed.emplace_back(path);
    if (!present) {
      if (old && fresh) problems.push_back(path + " is missing");
    } else if (!(old && *present == *old) && !(fresh && *present == *fresh)) {
      problems.push_back(path + " holds neither its old nor its new contents");
    }
  }
  for (const std::string& path : Leftovers(before, after, now)) {
    if (IsCastFolderLock(path)) continue;
    if (MatchesAGamePattern(std::filesystem::path(path).filename().string())) {
      problems.push_back("leftover " + path + " has a name the game lists");
    }
    const bool beside = std::any_of(changed.begin(), changed.end(), [&](const std::filesystem::path& target) {
      return IsTemporaryFileOf(path, target);
    });
    if (!beside) problems.push_back("leftover " + path + " is no temporary file of a changed file");
  }
  return problems;
}

}  // namespace crashtest
