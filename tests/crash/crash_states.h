// Judging what a killed write left in a folder, against the folder before the
// write (`before`) and after the same write ran to its end (`after`).
//
// | Entry in `now`                  | Sound when                                  |
// |---------------------------------|---------------------------------------------|
// | a path of `before` or `after`   | its contents are those of `before` or of    |
// |                                 | `after`; it may be missing only where one   |
// |                                 | of the two lacks it                         |
// | any other path                  | a temporary file of the whole-file rewrite  |
// |                                 | beside a file the write changes:            |
// |                                 | ".NAME.XXXXXX", six letters or digits, a    |
// |                                 | name no pattern of the game's files         |
// |                                 | ("*.cst", "*.dat", "*.bmp", "*.ec", any     |
// |                                 | letter case) matches; or the lock file      |
// |                                 | "cast/.lock" of a writer                    |
// |                                 | killed while it held the cast folder's lock |
// |                                 | (the next writer takes and removes it)      |
#pragma once

#include <string>
#include <vector>

#include "folder_snapshot.h"

namespace crashtest {

// One line for each entry of `now` that is not sound; none when all are.
std::vector<std::string> CrashStateProblems(const gamefixture::FolderTree& before,
                                            const gamefixture::FolderTree& after,
                                            const gamefixture::FolderTree& now);

// The paths of `now` that are neither in `before` nor in `after`.
std::vector<std::string> Leftovers(const gamefixture::FolderTree& before, const gamefixture::FolderTree& after,
                                   const gamefixture::FolderTree& now);

}  // namespace crashtest
