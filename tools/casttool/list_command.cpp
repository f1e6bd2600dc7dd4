#include "list_command.h"

#include <string>
#include <vector>

#include "cast_data_file.h"
#include "cast_folder.h"
#include "cast_profile.h"
#include "cast_rules.h"
#include "error.h"
#include "json_output.h"

namespace casttool {
namespace {

constexpr const char* kNumberKeys[] = {"ownerNumber", "level", "wins", "losses", "hideData"};

// One cast's entry; `failure` gets the text of the first file that could not
// be read.
Json CastEntry(const platform::GameFolder& game, const std::string& name, std::string& failure) {
  Json entry{{"name", name}};
  try {
    entry["Name"] = castdata::ReadCastProfile(name, game).Name;
    const castdata::CastRecord record = castdata::ReadCastData(name, game);
    const castdata::WinsAndLosses shown =
        castdata::RecordOnLoad(record.wins, record.losses, record.recordCheck);
    entry["ownerNumber"] = record.ownerNumber;
    entry["level"] = record.level;
    entry["wins"] = shown.wins;
    entry["losses"] = shown.losses;
    entry["hideData"] = record.hideData;
  } catch (const castdata::Error& error) {
    failure = error.what();
    entry["error"] = failure;
  }
  return entry;
}

void PrintEntryAsText(std::ostream& out, const Json& entry) {
  const auto text = [&](const char* key) {
    return entry.contains(key) ? (entry[key].is_string() ? entry[key].get<std::string>() : entry[key].dump())
                               : std::string();
  };
  out << text("name") << '\t' << text("Name");
  if (entry.contains("error")) {
    out << "\terror: " << text("error") << '\n';
    return;
  }
  for (const char* key : kNumberKeys) out << '\t' << text(key);
  out << '\n';
}

}  // namespace

ExitStatus PrintCastList(const platform::GameFolder& game, bool json, Output& output) {
  std::vector<std::string> names;
  try {
    names = castdata::ListCasts(game);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  ExitStatus status = ExitStatus::kSuccess;
  Json entries = Json::array();
  if (!json) {
    output.out() << "name\tName";
    for (const char* key : kNumberKeys) output.out() << '\t' << key;
    output.out() << '\n';
  }
  for (const std::string& name : names) {
    std::string failure;
    Json entry = CastEntry(game, name, failure);
    if (!failure.empty()) {
      output.Error(failure);
      status = ExitStatus::kProblem;
    }
    if (json) {
      entries.push_back(std::move(entry));
    } else {
      PrintEntryAsText(output.out(), entry);
    }
  }
  if (json) PrintJson(output.out(), entries);
  return status;
}

}  // namespace casttool
