// The JSON the commands print (--json), with the field names of the cast's
// files as keys, and the plain-text form of the same objects. Objects keep
// their keys in the order they were added (the slot order for a record).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cast_profile.h"
#include "cast_record.h"

namespace casttool {

using Json = nlohmann::ordered_json;

// Every CastRecord field by its name, in slot order; the families as arrays:
// {"weaponIndex": [6], "paramValue": [4], "keepDistance": n, ...}.
Json RecordJson(const castdata::CastRecord& record);

// {"Name": ..., "Comm1": ..., "Comm2": ..., "Comm3": ..., "Maker": ..., "EMail": ...}
Json ProfileJson(const castdata::CastProfile& profile);

// `value` as JSON text: on one line, or with `indent` > 0 indented by that
// many spaces and followed by a line end. Text is written as UTF-8; a byte
// that is not UTF-8 (a file name in another encoding) becomes U+FFFD, so the
// output always parses.
std::string JsonText(const Json& value, int indent = -1);

// An object as "key: value" lines: a nested object's keys on lines of their
// own, an array's numbers separated by spaces, text as it stands, null as
// "none".
std::string PlainText(const Json& object);

}  // namespace casttool
