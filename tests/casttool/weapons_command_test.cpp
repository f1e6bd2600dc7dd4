// weapons: the six weapon-slot lists, and the shop list, as the editor fills them.
#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class WeaponsCommand : public CastToolGame {};

TEST_F(WeaponsCommand, JsonListsInBothModes) {
  struct Case {
    bool shop;
    bool weapon11OfSlot0Usable;
    std::string weapon11OfSlot0Text;
    bool weapon2OfSlot1Usable;
  } cases[] = {
      {false, false, "11 -------", false},
      {true, true, "11 ミサイル", true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"weapons", "--json"};
    if (c.shop) arguments.push_back("--shop");
    const ProgramResult result = Run(arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const Json lists = Parsed(result);
    EXPECT_EQ(Keys(lists), c.shop ? (std::vector<std::string>{"playerNumber", "shop", "slots"})
                                  : (std::vector<std::string>{"playerNumber", "slots"}));
    EXPECT_EQ(lists["playerNumber"], kPlayer);
    const Json& slots = lists["slots"];
    ASSERT_EQ(slots.size(), 6u);
    const std::size_t sizes[] = {11, 2, 1, 1, 1, 1};
    for (std::size_t slot = 0; slot < 6; ++slot) {
      ASSERT_EQ(slots[slot].size(), sizes[slot]) << "slot " << slot;
      for (std::size_t i = 0; i < sizes[slot]; ++i) {
        const Json& item = slots[slot][i];
        EXPECT_EQ(Keys(item), (std::vector<std::string>{"number", "text", "usable"}));
        EXPECT_EQ(item["number"], i + 1) << "a list position is the weapon number minus 1";
      }
    }
    EXPECT_EQ(slots[0][0], (Json{{"number", 1}, {"text", "1 -------"}, {"usable", false}}));
    EXPECT_EQ(slots[0][9], (Json{{"number", 10}, {"text", "10 ビームライフル"}, {"usable", true}}));
    EXPECT_EQ(slots[0][10]["text"], c.weapon11OfSlot0Text);
    EXPECT_EQ(slots[0][10]["usable"], c.weapon11OfSlot0Usable);
    EXPECT_EQ(slots[1][1]["usable"], c.weapon2OfSlot1Usable);
    EXPECT_EQ(slots[5][0], (Json{{"number", 1}, {"text", "1 武器5"}, {"usable", true}}));
  }
}

TEST_F(WeaponsCommand, ShopListHoldsEveryListedWeaponWithItsCode) {
  const Json lists = Parsed(Run({"weapons", "--shop", "--json"}));
  const Json& shop = lists["shop"];
  ASSERT_EQ(shop.size(), 17u) << "11 + 2 + 4 x 1 listed weapons";
  EXPECT_EQ(shop[0], (Json{{"code", 101}, {"text", "1"}})) << "usable or not, shown by name";
  EXPECT_EQ(shop[10], (Json{{"code", 111}, {"text", "11 ミサイル"}}));
  EXPECT_EQ(shop[12], (Json{{"code", 202}, {"text", "2 ハンマー"}}));
  EXPECT_EQ(shop[16], (Json{{"code", 601}, {"text", "1 武器5"}}));
  for (const Json& item : shop) EXPECT_EQ(Keys(item), (std::vector<std::string>{"code", "text"}));
}

TEST_F(WeaponsCommand, TextListsTheItemsAsTheEditorShowsThem) {
  const ProgramResult result = Run({"weapons"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 1u + 6u + 17u);
  EXPECT_EQ(lines[0], "playerNumber: 7");
  EXPECT_EQ(lines[1], "slot 0:");
  EXPECT_EQ(lines[11], "  10 ビームライフル");
  EXPECT_EQ(lines[12], "  11 -------");
  EXPECT_EQ(lines[13], "slot 1:");
  EXPECT_EQ(lines[15], "  2 -------");
  EXPECT_EQ(Lines(Run({"weapons", "--shop"}).out)[25], "  101 1");
}

TEST_F(WeaponsCommand, AMissingOrBrokenGameFileIsAFailureNamingIt) {
  struct Case {
    std::string file;
    std::string contents;  // removed when empty
    std::string reason;
  } cases[] = {
      {"DAT/USER.DAT", "", "ファイルが見つかりません"},
      {"DAT/Orv_bwpn.DAT", "", "ファイルが見つかりません"},
      {"DAT/Orv_bwpn.DAT", std::string("\xFF\xFF", 2), ""},  // a negative name length
  };
  for (const Case& c : cases) {
    if (c.contents.empty()) {
      std::filesystem::remove(game() / c.file);
    } else {
      gamefixture::WriteBytes(game() / c.file, c.contents);
    }
    const ProgramResult result = Run({"weapons", "--json"});
    EXPECT_EQ(result.exitStatus, 2) << c.file;
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(c.file), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    gamefixture::WriteProgressFile(game(), GameWeapons(), kPlayer);
    gamefixture::WriteWeaponCatalogue(game(), GameWeapons());
  }
}

}  // namespace
}  // namespace casttooltest
