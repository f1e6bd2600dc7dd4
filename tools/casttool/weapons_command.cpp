#include "weapons_command.h"

#include <string>

#include "error.h"
#include "game_lists.h"
#include "json_output.h"
#include "weapon_list_items.h"

namespace casttool {
namespace {

Json ListsJson(const GameLists& lists, bool shopMode) {
  Json slots = Json::array();
  for (int category = 0; category < castdata::kWeaponCategoryCount; ++category) {
    Json slot = Json::array();
    int number = 1;  // an item's list position is its weapon number minus 1
    for (const castdata::ListItem& item : castdata::WeaponSlotItems(lists.catalogue, category)) {
      slot.push_back(Json{{"number", number++}, {"text", item.text}, {"usable", item.data != castdata::kUnusableMark}});
    }
    slots.push_back(std::move(slot));
  }
  Json result{{"playerNumber", lists.playerNumber}, {"slots", std::move(slots)}};
  if (shopMode) {
    Json shop = Json::array();
    for (const castdata::ListItem& item : castdata::ShopItems(lists.catalogue)) {
      shop.push_back(Json{{"code", item.data}, {"text", item.text}});
    }
    result["shop"] = std::move(shop);
  }
  return result;
}

std::string ListsText(const Json& lists) {
  std::string text = "playerNumber: " + std::to_string(lists["playerNumber"].get<int>()) + '\n';
  int category = 0;
  for (const Json& slot : lists["slots"]) {
    text += "slot " + std::to_string(category++) + ":\n";
    for (const Json& item : slot) text += "  " + item["text"].get<std::string>() + '\n';
  }
  if (lists.contains("shop")) {
    text += "shop:\n";
    for (const Json& item : lists["shop"]) {
      text += "  " + std::to_string(item["code"].get<int>()) + ' ' + item["text"].get<std::string>() + '\n';
    }
  }
  return text;
}

}  // namespace

ExitStatus ShowWeapons(const platform::GameFolder& game, bool shopMode, bool json, Output& output) {
  GameLists lists;
  try {
    lists = ReadGameLists(game, shopMode);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  const Json result = ListsJson(lists, shopMode);
  output.Write(json ? JsonText(result, 2) : ListsText(result));
  return ExitStatus::kSuccess;
}

}  // namespace casttool
