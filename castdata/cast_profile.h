// The cast profile file, cast/NAME.cst: the cast's six texts as keys of the
// section "Data" of a profile file (profile_file.h), in Shift-JIS on disk and
// UTF-8 here. A file that the first save creates reads:
//
// | Line | Content                              |
// |------|--------------------------------------|
// | 1    | [Data]                               |
// | 2    | Name= the unit name                  |
// | 3    | Comm1= the first comment line        |
// | 4    | Comm2= the second comment line       |
// | 5    | Comm3= the third comment line        |
// | 6    | Maker= the maker's name              |
// | 7    | EMail= the maker's e-mail address    |
//
// The profile file is what makes a cast exist (cast_folder.h).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game_folder.h"

namespace castdata {

// Each text is named after its key in the file.
struct CastProfile {
  std::string Name;   // the unit name
  std::string Comm1;  // the comment, one key per line; never joined
  std::string Comm2;
  std::string Comm3;
  std::string Maker;  // the maker's name
  std::string EMail;  // the maker's e-mail address

  bool operator==(const CastProfile&) const = default;
};

// The six keys with the member each one holds, in the order the save writes
// them (the lines 2 to 7 above).
inline constexpr std::array<std::pair<std::string_view, std::string CastProfile::*>, 6> kCastProfileKeys{{
    {"Name", &CastProfile::Name},
    {"Comm1", &CastProfile::Comm1},
    {"Comm2", &CastProfile::Comm2},
    {"Comm3", &CastProfile::Comm3},
    {"Maker", &CastProfile::Maker},
    {"EMail", &CastProfile::EMail},
}};

// The six values of cast/NAME.cst, each cut to 127 Shift-JIS bytes
// as the profile functions read them; a missing file or key reads as "".
// castdata::Error when the name is refused or the file is there but cannot be
// read.
CastProfile ReadCastProfile(std::string_view name, const platform::GameFolder& game = {});

// The unit name (Name) of a profile file whose bytes are `bytes`, as
// ReadCastProfile reads it; for a list of many casts, which needs no other
// text.
std::string CastUnitName(std::string bytes);

// Sets the six keys of section "Data" in the order Name, Comm1, Comm2, Comm3,
// Maker, EMail, each where it stands or added after the others, and writes the
// file once through the safe whole-file rewrite: either all six values are
// written or none. castdata::Error, naming the file and the reason, when the
// name is refused, a text cannot be stored (a character without a Shift-JIS
// form) or the file cannot be read or written (or the cast folder's lock is
// held by another program); the old file then stays as it was.
void WriteCastProfile(std::string_view name, const CastProfile& profile,
                      const platform::GameFolder& game = {});

// The contents WriteCastProfile gives the file, for a caller that writes it
// together with other files. castdata::Error as WriteCastProfile's, for any
// failure before the write itself.
std::vector<std::uint8_t> CastProfileContents(std::string_view name, const CastProfile& profile,
                                              const platform::GameFolder& game = {});

}  // namespace castdata
