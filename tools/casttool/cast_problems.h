// What stands between a cast's stored files and a cast the editor's save
// would write: the save's checks, applied to the files with the game's
// weapon lists, and the budgets the sliders keep.
//
// | Check                                             | Problem line names  |
// |---------------------------------------------------|---------------------|
// | the unit name is not empty                        | cast/NAME.cst Name  |
// | each weapon slot holds a weapon of its list       | weaponIndex[k]      |
// | ... that does not carry the unusable mark         | weaponIndex[k]      |
// | each slider value lies in its slider's range      | the field           |
// | paramValue[i] is the derived value of paramPoints | paramValue[i]       |
// | the parameter pool is at most 100 (not in shop)   | paramPoints         |
// | weapon shares 0-3 total at most 100               | weaponShare[0-3]    |
// | movement shares total at most 100                 | movePattern         |
// | recordCheck matches wins and losses               | recordCheck         |
// | the picture is there and 5174 bytes long          | cast/NAME.bmp       |
//
// Slider ranges: keepDistance 20-1000, every share and parameter 0-100; a
// value outside would be changed by the slider when the editor loads it, and
// would make a total meaningless.
#pragma once

#include <string>
#include <vector>

#include "cast_reading.h"
#include "weapon_catalogue.h"

namespace casttool {

// One problem: the file and the field it lies in, and what is wrong.
struct CastProblem {
  std::string file;   // the cast file's path, as a path with "/"
  std::string field;  // "weaponIndex[2]", "picture", ...
  std::string text;   // "no weapon selected (-1)", ...

  // "FILE: FIELD: TEXT"
  std::string Line() const { return file + ": " + field + ": " + text; }
};

// The problems in the order of the table; none for a cast that passes.
// `shopMode` relaxes what shop mode relaxes: the weapon lists were read with
// it, and the pool may pass 100.
std::vector<CastProblem> CastProblems(const CastFiles& cast, const castdata::WeaponCatalogue& catalogue,
                                      bool shopMode);

}  // namespace casttool
