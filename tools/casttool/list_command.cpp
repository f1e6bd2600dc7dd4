#include "list_command.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "cast_data_file.h"
#include "cast_file_path.h"
#include "cast_folder_listing.h"
#include "cast_profile.h"
#include "cast_rules.h"
#include "error.h"
#include "file_bytes.h"
#include "json_output.h"
#include "messages.h"

namespace casttool {
namespace {

using castdata::CastFileKind;

constexpr const char* kKeys[] = {"name", "unitName", "ownerNumber", "level", "wins", "losses", "hidden"};

// What the list shows of one cast.
struct ListedCast {
  std::string_view name;
  std::optional<std::string> unitName;  // none when the profile file cannot be read
  castdata::CastRecord record;
  castdata::WinsAndLosses shown;
  std::string error;  // the first failure, "" when all could be read
};

// Reads the casts' profile and data files through the listing, into two
// buffers kept from cast to cast.
class CastReader {
 public:
  explicit CastReader(const castdata::CastFolderListing& listing) : listing_(listing) {}

  ListedCast Read(std::size_t cast) {
    ListedCast listed;
    listed.name = listing_.CastName(cast);
    if (!ReadFile(cast, CastFileKind::kProfile, SIZE_MAX, profile_, listed.error)) return listed;
    listed.unitName = castdata::CastUnitName(std::move(profile_));
    if (!ReadFile(cast, CastFileKind::kData, castdata::kCastDataBytesRead, data_, listed.error)) return listed;
    listed.record = castdata::CastRecordFromBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(data_.data()), data_.size()));
    listed.shown = castdata::RecordOnLoad(listed.record.wins, listed.record.losses, listed.record.recordCheck);
    return listed;
  }

 private:
  bool ReadFile(std::size_t cast, CastFileKind kind, std::size_t limit, std::string& bytes, std::string& error) {
    std::string reason;
    if (listing_.ReadCastFile(cast, kind, limit, bytes, &reason)) return true;
    const std::filesystem::path path = listing_.FilePath(cast, kind);
    error = castdata::CannotRead(path, castdata::ReadFailureReason(path, reason));
    return false;
  }

  const castdata::CastFolderListing& listing_;
  std::string profile_;
  std::string data_;
};

// `text` with tab, CR, LF and backslash written as \t, \r, \n and \\.
void AppendEscaped(std::string& row, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\t': row += "\\t"; break;
      case '\r': row += "\\r"; break;
      case '\n': row += "\\n"; break;
      case '\\': row += "\\\\"; break;
      default: row += c;
    }
  }
}

const char* BooleanText(bool value) { return value ? "true" : "false"; }

bool IsHidden(const castdata::CastRecord& record) { return record.hideData == 1; }

std::string TextHeader() {
  std::string header;
  for (const char* key : kKeys) {
    if (!header.empty()) header += '\t';
    header += key;
  }
  return header + '\n';
}

std::string TextRow(const ListedCast& cast) {
  std::string row;
  AppendEscaped(row, cast.name);
  row += '\t';
  if (cast.unitName) AppendEscaped(row, *cast.unitName);
  if (!cast.error.empty()) {
    row += '\t';
    AppendEscaped(row, messages::ListedError(cast.error));
  } else {
    for (const std::int16_t number : {cast.record.ownerNumber, cast.record.level, cast.shown.wins, cast.shown.losses}) {
      row += '\t';
      row += std::to_string(number);
    }
    row += '\t';
    row += BooleanText(IsHidden(cast.record));
  }
  row += '\n';
  return row;
}

Json JsonEntry(const ListedCast& cast) {
  Json entry{{"name", cast.name}};
  if (cast.unitName) entry["unitName"] = *cast.unitName;
  if (!cast.error.empty()) {
    entry["error"] = cast.error;
    return entry;
  }
  entry["ownerNumber"] = cast.record.ownerNumber;
  entry["level"] = cast.record.level;
  entry["wins"] = cast.shown.wins;
  entry["losses"] = cast.shown.losses;
  entry["hidden"] = IsHidden(cast.record);
  return entry;
}

}  // namespace

ExitStatus PrintCastList(const platform::GameFolder& game, bool json, Output& output) {
  std::optional<castdata::CastFolderListing> listing;
  try {
    listing.emplace(game);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  ExitStatus status = ExitStatus::kSuccess;
  output.Write(json ? "[" : TextHeader());
  CastReader reader(*listing);
  for (std::size_t i = 0; i < listing->CastCount() && !output.Failed(); ++i) {
    const ListedCast cast = reader.Read(i);
    if (!cast.error.empty()) {
      output.Error(cast.error);
      status = ExitStatus::kProblem;
    }
    if (json) {
      output.Write(i == 0 ? "\n  " : ",\n  ");
      output.Write(JsonText(JsonEntry(cast)));
    } else {
      output.Write(TextRow(cast));
    }
  }
  if (json) output.Write(listing->CastCount() == 0 ? "]\n" : "\n]\n");
  return status;
}

}  // namespace casttool
