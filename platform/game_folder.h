// The game folder: the game's installation folder, and every path inside it.
//
// The game was made for Windows, whose file system ignores letter case, and
// a player's folder keeps the spelling its installer or its player chose:
// "DAT/USER.DAT" may be "dat/user.dat", the cast folder "Cast", a cast file
// "HAYATE.CST". So no path inside the game folder is used as written: it is
// asked of the game folder, which resolves it one component at a time,
//
// | the component as written          | resolves to                         |
// |-----------------------------------|-------------------------------------|
// | names an entry exactly            | that entry                          |
// | equals entries when ASCII letters | the first of them in byte order     |
// | are compared without case         |                                     |
// | matches no entry                  | itself, and every component after   |
// |                                   | it stays as written too             |
//
// so an existing file is read and replaced where it is, whatever its case,
// and a new file goes into the existing folders with the spelling its name
// is given ("Cast/NEW.dat" when the cast folder is "Cast"). Only ASCII letters
// fold: other characters, Japanese among them, must match byte for byte.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

class GameFolder {
 public:
  // The working folder; the paths it gives stay relative ("DAT/USER.DAT").
  GameFolder() = default;
  // The folder `root`; the paths it gives begin with it.
  GameFolder(std::filesystem::path root);  // NOLINT: a path names its game folder

  const std::filesystem::path& Root() const { return root_; }
  // Root(), or "." for the working folder: a path that names the folder.
  std::filesystem::path Location() const;

  // The path of `relative` ("DAT/USER.DAT", "cast/HAYATE.cst"), components
  // separated by "/", resolved as the table above says. Resolving only reads
  // folders: nothing is created.
  std::filesystem::path Resolve(std::string_view relative) const;

  // Whether `relative` resolves to a regular file (a symbolic link counts by
  // what it points to).
  bool HasFile(std::string_view relative) const;
  // Whether `relative` resolves to a folder.
  bool HasFolder(std::string_view relative) const;

 private:
  std::filesystem::path root_;
};

// Whether the names `a` and `b` are equal when ASCII letters are compared
// without case, as the game's file system compares them.
bool SameFileName(std::string_view a, std::string_view b);

}  // namespace platform
