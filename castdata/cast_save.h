// Saving a cast: its data file and its profile file written as a pair, so
// that a save either writes both or leaves both as they were.
//
// Both new contents are made first (the present files read, the values laid
// over them) and written to temporary files beside their targets; only then
// are they renamed into place, the data file first. When the profile file
// cannot be put in place after the data file was, the data file is put back
// as it was (removed again when the save made it). The save holds the lock
// of the cast folder (CastFolderLock) from its reading of the old files to
// its last rename.
#pragma once

#include <filesystem>
#include <string_view>

#include "cast_profile.h"
#include "cast_record.h"
#include "game_folder.h"

namespace castdata {

// Writes cast/NAME.dat from `record` and cast/NAME.cst
// from `profile`, with the rules of WriteCastData and WriteCastProfile.
// castdata::Error, naming the file and the reason, when either cannot be
// written; neither file has changed then, unless the text says that the data
// file could not be put back as well.
void WriteCastFiles(std::string_view name, const CastRecord& record, const CastProfile& profile,
                    const platform::GameFolder& game = {});

}  // namespace castdata
