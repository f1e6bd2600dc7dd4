// show NAME [--json]: one cast, every field of its files. Hidden data (a
// hideData of 1) is its owner's wish that the editor not show it to other
// players; the files keep nothing secret and the editor loads every field, so
// show prints them all.
#pragma once

#include <filesystem>
#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace casttool {

// JSON: {"name": ..., "profile": {"Name": ..., "Comm1": ..., "Comm2": ...,
// "Comm3": ..., "Maker": ..., "EMail": ...}, "record": {every CastRecord
// field by its name, in slot order}, "pictureBytes": n or null when the
// picture is missing}. Text: the same as "key: value" lines.
ExitStatus ShowCast(const platform::GameFolder& game, const std::string& name, bool json, Output& output);

}  // namespace casttool
