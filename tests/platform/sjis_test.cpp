#include "sjis.h"

#include <gtest/gtest.h>

namespace {

TEST(Sjis, RoundTripsTheGamesCharacters) {
  const std::string text = "Orvalis～Zenthar～ 機体名ｱｲ";
  const auto bytes = sjis::FromUtf8(text);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->substr(7, 2), "\x81\x60");  // "～" is 0x8160 in code page 932
  EXPECT_EQ(sjis::ToUtf8(*bytes), text);
}

TEST(Sjis, InvalidBytesDecodeToReplacementCharacter) {
  EXPECT_EQ(sjis::ToUtf8("a\xA0" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(sjis::ToUtf8("\x81\x20x"), "\xEF\xBF\xBD x");
}

TEST(Sjis, DanglingLeadByteAtTheEndIsDropped) {
  EXPECT_EQ(sjis::ToUtf8("ab\x82"), "ab");
}

TEST(Sjis, UnencodableTextIsRefused) {
  EXPECT_FALSE(sjis::FromUtf8("\xF0\x9F\x98\x80").has_value());  // an emoji
  EXPECT_FALSE(sjis::FromUtf8("\xFF").has_value());              // not UTF-8
}

// Longer than the 1024 bytes converted at a time, with the invalid byte and
// the refused character after the first of those.
TEST(Sjis, LongTextsConvertWhole) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "あ";  // 3000 UTF-8 bytes, 2000 Shift-JIS bytes
  const auto bytes = sjis::FromUtf8(text);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 2000u);
  EXPECT_EQ(sjis::ToUtf8(*bytes + "\xA0" + *bytes), text + "\xEF\xBF\xBD" + text);
  EXPECT_FALSE(sjis::FromUtf8(text + "\xF0\x9F\x98\x80").has_value());
}

TEST(Sjis, CutNeverSplitsADoubleByteCharacter) {
  const std::string twoKana = *sjis::FromUtf8("あい");  // 4 bytes
  EXPECT_EQ(sjis::CutToBytes(twoKana, 3), twoKana.substr(0, 2));
  EXPECT_EQ(sjis::CutToBytes("a" + twoKana, 3), "a" + twoKana.substr(0, 2));
  EXPECT_EQ(sjis::CutToBytes(twoKana, 4), twoKana);
}

}  // namespace
