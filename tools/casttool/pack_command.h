// pack FILE... / unpack FILE...: the scrambling library's FilePack or
// FileUnpack on each file, in the order given.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

enum class PackDirection { kPack, kUnpack };

// One line per file on standard output: "FILE: packed" ("unpacked") when the
// library rewrote it, "FILE: left untouched" when it did not (a packed file
// given to pack, a plain one to unpack). A file that cannot be read is
// reported on standard error and not handed to the library. Exit status:
// the worst of the files'.
ExitStatus PackFiles(const platform::GameFolder& game, const std::vector<std::string>& files,
                     PackDirection direction, Output& output);

}  // namespace casttool
