// The import of one cast package: its cast is unpacked into the game folder's
// "cast" folder and the package is deleted.
//
// castdata shows nothing: the outcome carries the text for the caller to show.
// The three cast files are written as a set: every name is looked at first
// (a folder there, or a link to one, refuses the package), each file goes to a
// temporary file, and they are renamed into place one after the other; when
// one cannot follow, those already renamed are put back, so a failure (no
// "cast" folder, a full disk, a file the system will not let go) leaves the
// old cast as it was and no half cast behind. Each file is replaced whole, so
// an old, longer picture does not keep its excess bytes. A symbolic link at a
// cast file's name is replaced by the file itself: the package never writes
// through it, and what it points to stays byte for byte.
//
// The import holds the lock of the cast folder (platform/folder_lock.h), so
// two imports, or an import and a save, never mix their files in one cast.
// A package that could not be deleted afterwards (a read-only game folder)
// is not imported, since it would be imported again at every start; it is
// deleted only once all three files are in place, and whenever the cast is not
// imported, the package stays. A package the player named (package_scan.h)
// may be kept even when imported.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "game_folder.h"

namespace castdata {

inline constexpr std::string_view kNotAPackageMessage = "ECファイルではありません";
inline constexpr std::string_view kPackageImportedMessage = "ECファイルを展開しました";

struct PackageImportOutcome {
  std::string packageFile;  // the package's file name, as the messages name it
  bool imported = false;    // the cast's three files are in place
  std::string castName;     // UTF-8; empty when the package was not read
  // The text to show: kPackageImportedMessage for an import (followed by a
  // line saying so when the package could not be deleted),
  // kNotAPackageMessage for a file without the marker, otherwise a text that
  // names the package and the reason ("foo.ecは壊れたECファイルです", ...).
  std::string message;
};

// What becomes of a package file once its cast is imported.
enum class ImportedPackage {
  kDelete,  // as the start-up's scan does with the packages in the game folder
  kKeep,    // the player's own file, somewhere else
};

// Imports the package `packageFile` into `game`/cast. Never throws
// (short of running out of memory).
PackageImportOutcome ImportCastPackage(const std::filesystem::path& packageFile,
                                       const platform::GameFolder& game,
                                       ImportedPackage whenImported = ImportedPackage::kDelete);

}  // namespace castdata
