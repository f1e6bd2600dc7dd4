// The package scan of the start-up: every cast package lying in the game
// folder is imported, one after the other.
#pragma once

#include <filesystem>
#include <functional>

#include "game_folder.h"
#include "package_import.h"

namespace castdata {

// Imports every regular file of `game` whose name ends in ".ec" in any
// letter case (the game's platform matches "*.ec" that way), in the order of
// the folder listing, except the package name (file name less ".ec") "UPLOAD"
// in any letter case: that is the user's own upload. Each outcome goes to
// `report` before the next import starts. A folder that cannot be listed is
// reported as one outcome whose `packageFile` is empty. The scan holds the
// lock of the cast folder from its listing to its last report, so that two
// start-ups (or a start-up and casttool) never import one package twice or
// mix two packages into one cast; a lock that cannot be had is reported the
// same way, and every package stays. A folder without packages is left
// without even a lock file.
void ScanCastPackages(const platform::GameFolder& game,
                      const std::function<void(const PackageImportOutcome&)>& report);

// Whether `file` is one of the packages the scan imports: a regular file
// directly in the game folder (the folder itself, however it is spelled or
// linked), whose name the scan takes.
bool IsScannedPackage(const std::filesystem::path& file, const platform::GameFolder& game);

// Imports a package file the player named (dropped on the editor's window,
// named on its command line) as the scan imports its packages, with the same
// checks and messages, except that the file is deleted only when it is one
// the scan imports itself (IsScannedPackage): a package anywhere else is the
// player's own file and stays where it is. Never throws (short of running
// out of memory).
PackageImportOutcome ImportNamedPackage(const std::filesystem::path& file, const platform::GameFolder& game);

}  // namespace castdata
