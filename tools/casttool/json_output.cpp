#include "json_output.h"

#include <string>

namespace casttool {
namespace {

std::string ScalarText(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "none";
  return value.dump();
}

void AppendPlainText(std::string& text, const Json& object) {
  for (const auto& [key, value] : object.items()) {
    if (value.is_object()) {
      AppendPlainText(text, value);
    } else if (value.is_array()) {
      text += key + ':';
      for (const Json& element : value) text += ' ' + ScalarText(element);
      text += '\n';
    } else {
      text += key + ": " + ScalarText(value) + '\n';
    }
  }
}

}  // namespace

Json RecordJson(const castdata::CastRecord& r) {
  return Json{
      {"weaponIndex", r.weaponIndex},
      {"paramValue", r.paramValue},
      {"keepDistance", r.keepDistance},
      {"constantTen", r.constantTen},
      {"weaponShare", r.weaponShare},
      {"movePattern", r.movePattern},
      {"paramPoints", r.paramPoints},
      {"ownerNumber", r.ownerNumber},
      {"hideData", r.hideData},
      {"advanceOnEnemyOverheat", r.advanceOnEnemyOverheat},
      {"retreatOnOwnOverheat", r.retreatOnOwnOverheat},
      {"specialOnEnemyOverheat", r.specialOnEnemyOverheat},
      {"wins", r.wins},
      {"losses", r.losses},
      {"recordCheck", r.recordCheck},
      {"level", r.level},
      {"weaponStopPercent", r.weaponStopPercent},
      {"serial", r.serial},
      {"defendAfterHits", r.defendAfterHits},
      {"dodgeSideways", r.dodgeSideways},
      {"defendDamageThreshold", r.defendDamageThreshold},
      {"specialAfterThreeCharges", r.specialAfterThreeCharges},
      {"defendSuddenAttacks", r.defendSuddenAttacks},
      {"endMark", r.endMark},
  };
}

Json ProfileJson(const castdata::CastProfile& profile) {
  Json json = Json::object();
  for (const auto& [key, text] : castdata::kCastProfileKeys) json[std::string(key)] = profile.*text;
  return json;
}

std::string JsonText(const Json& value, int indent) {
  std::string text = value.dump(indent, ' ', false, Json::error_handler_t::replace);
  if (indent > 0) text += '\n';
  return text;
}

std::string PlainText(const Json& object) {
  std::string text;
  AppendPlainText(text, object);
  return text;
}

}  // namespace casttool
