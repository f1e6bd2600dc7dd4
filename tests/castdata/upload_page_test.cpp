#include "upload_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error.h"
#include "fixture_files.h"
#include "sjis.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
std::string Sjis(std::string_view utf8) { return sjis::FromUtf8(utf8).value(); }

castdata::UploadTexts Texts() {
  castdata::UploadTexts texts;
  texts.unitName = "疾風";
  texts.maker = "";
  texts.comments = {"c1", "", "c3"};
  texts.email = "x@example.jp";
  texts.ownerNumber = 1207;
  texts.level = 24;
  return texts;
}
const std::vector<std::uint8_t> kImage = {0x00, 0x0A, 0xFF};
const std::vector<std::uint8_t> kPackage = {'C', 'E', '1'};

std::string Fill(std::string_view templateText, const castdata::UploadTexts& texts = Texts()) {
  return gamefixture::AsText(castdata::FillUploadPage(Bytes(templateText), texts, kImage, kPackage));
}

TEST(UploadPage, TemplateLinesEndInCrLfLfOrCr) {
  const struct {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"\r\n", {""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\n\r\n", {"a", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(castdata::TemplateLines(Bytes(c.bytes)), c.lines) << c.bytes;
}

TEST(UploadPage, HexTextIsUpperCasePairsWithoutBreaks) {
  const struct {
    std::vector<std::uint8_t> bytes;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{0x0A}, "0A"},
      {{0xFF}, "FF"},
      {{0x00, 0x0F, 0x10, 0xAB, 0x0D, 0x0A}, "000F10AB0D0A"},
  };
  for (const auto& c : cases) EXPECT_EQ(castdata::HexText(c.bytes), c.text) << c.text;
}

TEST(UploadPage, HtmlSpecialCharactersBecomeCharacterReferences) {
  const struct {
    std::string text, escaped;
  } cases[] = {
      {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
      {"a & \"b\"", "a &amp; &quot;b&quot;"},
      {"&amp;", "&amp;amp;"},
      {"疾風 ～改～", "疾風 ～改～"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(castdata::HtmlEscaped(c.text), c.escaped) << c.text;
}

TEST(UploadPage, OnlyWholeLinePlaceholdersAreReplaced) {
  const struct {
    std::string templateText, page;
  } cases[] = {
      {"%s\r\n", Sjis("疾風") + "\r\n"},
      {"%m\n", "\r\n"},  // an empty text box gives an empty line
      {"%k1\r%k2\r%k3", "c1\r\n\r\nc3\r\n"},
      {"%a\r\n%i\r\n%l\r\n", "x@example.jp\r\n1207\r\n24\r\n"},
      {"%p\r\n%e\r\n", "000AFF\r\n434531\r\n"},
      {" %s\r\n%s \r\n%S\r\n%K1\r\n<td>%s</td>\r\n%%s\r\n%k\r\n%k4\r\n%e\t\r\n",
       " %s\r\n%s \r\n%S\r\n%K1\r\n<td>%s</td>\r\n%%s\r\n%k\r\n%k4\r\n%e\t\r\n"},
      {"", ""},
      {"<html>\n<body>\r</body>", "<html>\r\n<body>\r\n</body>\r\n"},
      {Sjis("<p>テスト ～</p>"), Sjis("<p>テスト ～</p>") + "\r\n"},  // copied byte for byte
  };
  for (const auto& c : cases) EXPECT_EQ(Fill(c.templateText), c.page) << c.templateText;
}

TEST(UploadPage, TextsAreEscapedAndNumbersKeepTheirSign) {
  castdata::UploadTexts texts = Texts();
  texts.unitName = "<b>'x'";
  texts.maker = "A&B";
  texts.comments = {"<script>", "\"q\"", "疾風>"};
  texts.email = "a'b@example.jp";
  texts.ownerNumber = -5;
  texts.level = 0;
  EXPECT_EQ(Fill("%s\r\n%m\r\n%k1\r\n%k2\r\n%k3\r\n%a\r\n%i\r\n%l\r\n", texts),
            "&lt;b&gt;&#39;x&#39;\r\nA&amp;B\r\n&lt;script&gt;\r\n&quot;q&quot;\r\n" + Sjis("疾風&gt;") +
                "\r\na&#39;b@example.jp\r\n-5\r\n0\r\n");
}

TEST(UploadPage, TextWithoutAShiftJisFormIsRefusedNamingThePage) {
  castdata::UploadTexts texts = Texts();
  texts.comments[1] = "\U0001F600";
  try {
    Fill("%k2\r\n", texts);
    FAIL() << "no error";
  } catch (const castdata::Error& error) {
    EXPECT_NE(std::string(error.what()).find("dat/up.html"), std::string::npos) << error.what();
  }
  EXPECT_EQ(Fill("%k1\r\n", texts), "c1\r\n");  // only the placeholder's own text counts
}

class UploadPageFile : public testing::Test {
 protected:
  void SetUp() override {
    Put("dat/orv_up.png", "PNG");
    Put("dat/upload.ec", "CE1");
    Put("dat/orv_up.dat", "<p>\r\n%p\r\n%e\r\n");
  }
  void Put(const std::string& file, std::string_view bytes) { gamefixture::WriteBytes(game_.path() / file, bytes); }
  std::string Page() const { return gamefixture::ReadBytes(game_.path() / "dat/up.html"); }
  std::string FailureOfWrite() const {
    try {
      castdata::WriteUploadPage(game_.path(), Texts());
    } catch (const castdata::Error& error) {
      return error.what();
    }
    return "";
  }

  gamefixture::TemporaryFolder game_;
};

TEST_F(UploadPageFile, ReplacesAnOlderLongerPageWhole) {
  Put("dat/up.html", std::string(5000, 'x'));
  EXPECT_EQ(FailureOfWrite(), "");
  EXPECT_EQ(Page(), "<p>\r\n504E47\r\n434531\r\n");
}

TEST_F(UploadPageFile, FileThatCannotBeReadIsNamedAndThePageStays) {
  for (const char* file : {"dat/orv_up.png", "dat/upload.ec", "dat/orv_up.dat"}) {
    SetUp();
    Put("dat/up.html", "old");
    fs::remove(game_.path() / file);
    const std::string failure = FailureOfWrite();
    EXPECT_NE(failure.find(file), std::string::npos) << failure;
    EXPECT_NE(failure.find("ファイルが見つかりません"), std::string::npos) << failure;
    EXPECT_EQ(Page(), "old");
  }
}

TEST_F(UploadPageFile, PageThatCannotBeWrittenIsNamedWithTheReason) {
  fs::create_directory(game_.path() / "dat/up.html");
  const std::string failure = FailureOfWrite();
  EXPECT_NE(failure.find("dat/up.html"), std::string::npos) << failure;
  EXPECT_NE(failure.find("書き込めません: "), std::string::npos) << failure;
}

}  // namespace
