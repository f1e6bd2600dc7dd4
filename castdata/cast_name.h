// The cast name: the base name of a cast's three files in the folder "cast".
//
// Any character may stand in a cast name (a hyphen, Japanese characters),
// except those that would make the name leave the folder or not name a file
// at all. Every operation that forms a path from a cast name checks it here
// first, so no write can land outside "cast/".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace castdata {

// The folder of the cast files, inside the game folder.
inline constexpr std::string_view kCastFolder = "cast";

// nullopt for a usable name; otherwise the message that says why the name
// cannot name a file inside "cast/": it is empty, is "." or "..", or holds
// "/", "\" or a NUL character.
std::optional<std::string> CastNameProblem(std::string_view name);

// "cast/" + name + extension, for a name that CastNameProblem accepts.
std::string CastPath(std::string_view name, std::string_view extension);

}  // namespace castdata
