// A cast's three files as the editor's load reads them, for the commands that
// look at one cast. Nothing is written: unlike the load, a missing picture is
// not made from "cast/def.bmp".
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cast_profile.h"
#include "cast_record.h"
#include "game_folder.h"

namespace casttool {

struct CastFiles {
  std::string name;
  std::filesystem::path profileFile;  // cast/NAME.cst
  std::filesystem::path dataFile;     // cast/NAME.dat
  std::filesystem::path pictureFile;  // cast/NAME.bmp
  castdata::CastProfile profile;
  castdata::CastRecord record;                // as stored, endMark 0 (never read)
  std::optional<std::uintmax_t> pictureBytes;  // none when the picture is missing
};

// castdata::Error, naming the file and the reason, when the name is refused,
// the cast does not exist (no profile file), or a file that is there cannot
// be read.
CastFiles ReadCastFiles(const platform::GameFolder& game, std::string_view name);

}  // namespace casttool
