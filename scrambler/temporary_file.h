// The temporary file that a replacement writes beside the file it replaces,
// and the clean-up of those that crashed writes left behind.
//
// The temporary file of FOLDER/NAME is FOLDER/.NAME.XXXXXX (mkstemp's six
// letters and digits; NAME cut to 240 bytes so that the whole stays within
// the file system's 255). No pattern of the game's files matches it. Its
// writer holds an exclusive flock(2) on it from the moment it exists until it
// is renamed into place or removed; a killed writer's lock goes with its
// process, so a temporary file that is unlocked and not written to for a
// minute is a leftover.
#pragma once

#include <chrono>
#include <filesystem>

namespace wholefile {

// How long a temporary file must have gone unwritten before a later write of
// the same file may take it for a leftover.
inline constexpr std::chrono::seconds kLeftoverAge{60};

// Creates the temporary file for `target`, empty, with permissions 0600 and
// locked, and gives its descriptor (the lock lasts while it is open), or -1
// with errno set. `created` receives its path.
int CreateLockedTemporary(const std::filesystem::path& target, std::filesystem::path* created);

// Removes the leftovers of earlier writes of `target` that were cut short:
// regular files beside it named as its temporary files, unwritten for
// kLeftoverAge, on which nobody holds a lock. Temporary files of other
// targets, and every other file, are left alone; so is anything this process
// may not open or remove.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

}  // namespace wholefile
