#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "module1.h"
#include "sjis.h"

namespace {

namespace fs = std::filesystem;
using Module1::ReadProfileText;
using Module1::WriteProfileText;

class ProfileText : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "profile_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path File(const std::string& bytes) const {
    const fs::path path = folder_ / "a.cst";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string Sjis(const std::string& utf8) { return *sjis::FromUtf8(utf8); }

  fs::path folder_;
};

TEST_F(ProfileText, ValuesReadBackWithAtMost127Bytes) {
  const std::string a127(127, 'a');
  const std::string a130(130, 'b');
  const std::string a126(126, 'c');
  struct Case {
    std::string stored;  // Shift-JIS
    std::string read;    // UTF-8
  } cases[] = {
      {a127, a127},
      {a130, a130.substr(0, 127)},
      {a126 + Sjis("あ"), a126},  // 128 bytes: the cut falls inside "あ"
      {std::string(125, 'c') + Sjis("あい"), std::string(125, 'c') + "あ"},  // 129 bytes
      {Sjis("機体名ソ表"), "機体名ソ表"},             // trail bytes 0x5C
  };
  for (const Case& c : cases) {
    const fs::path path = File("[Data]\r\nName=" + c.stored + "\r\n");
    EXPECT_EQ(ReadProfileText("Data", "Name", path), c.read) << c.stored.size();
  }
}

TEST_F(ProfileText, WhatIsNotThereReadsAsEmpty) {
  const fs::path path = File("[Data]\r\nName=\r\nComm1=  \r\n[Other]\r\nMaker=x\r\n");
  EXPECT_EQ(ReadProfileText("Data", "Name", path), "");    // empty value
  EXPECT_EQ(ReadProfileText("Data", "Comm1", path), "");   // blanks only
  EXPECT_EQ(ReadProfileText("Data", "Maker", path), "");   // key of another section
  EXPECT_EQ(ReadProfileText("Data", "EMail", path), "");   // missing key
  EXPECT_EQ(ReadProfileText("Nope", "Name", path), "");    // missing section
  EXPECT_EQ(ReadProfileText("Data", "Name", folder_ / "missing.cst"), "");
  EXPECT_EQ(ReadProfileText("Data", "Name", folder_), "");  // not a file
}

TEST_F(ProfileText, NamesIgnoreLetterCaseAndBlanks) {
  const fs::path path = File("  [ dATA ]  ; note\r\n  nAmE  =  two words  \r\nx\r\n");
  EXPECT_EQ(ReadProfileText("Data", "Name", path), "two words");
  EXPECT_EQ(ReadProfileText(" DATA ", "NAME", path), "two words");
}

TEST_F(ProfileText, CarriageReturnsLeftAtALineEndAreNotPartOfTheValue) {
  // "\r\r\n" is what a CR LF file becomes after one text-mode copy too many,
  // and a file cut after its last CR ends in "\r". A value that kept the CR
  // could not be written back: a value never holds a line break.
  const fs::path path = File("[Data]\r\nName=abc\r\r\nEMail=a@b\r");
  EXPECT_EQ(ReadProfileText("Data", "Name", path), "abc");
  EXPECT_EQ(ReadProfileText("Data", "EMail", path), "a@b");
  ASSERT_TRUE(WriteProfileText("Data", "Maker", "x", path));
  EXPECT_EQ(ReadProfileText("Data", "EMail", path), "a@b");
  EXPECT_EQ(ReadProfileText("Data", "Maker", path), "x");
}

TEST_F(ProfileText, AValueEndsAtItsFirstNul) {
  // The platform's buffer is text that ends at its first NUL, and a value
  // that kept one could not be written back: a value never holds a NUL.
  using namespace std::string_literals;
  const struct {
    std::string stored;
    std::string read;
  } cases[] = {
      {"ab\0cd"s, "ab"},
      {"\0cd"s, ""},
      {"ab \0cd"s, "ab"},
      {"ab\0\0"s, "ab"},
      {Sjis("機体") + "\0"s + std::string(200, 'x'), "機体"},
  };
  for (const auto& c : cases) {
    const fs::path path = File("[Data]\r\nName=" + c.stored + "\r\nEMail=a@b\r\n");
    EXPECT_EQ(ReadProfileText("Data", "Name", path), c.read) << c.read;
    ASSERT_TRUE(WriteProfileText("Data", "Name", ReadProfileText("Data", "Name", path), path)) << c.read;
    EXPECT_EQ(Bytes(path), "[Data]\r\nName=" + *sjis::FromUtf8(c.read) + "\r\nEMail=a@b\r\n") << c.read;
  }
}

TEST_F(ProfileText, DoubleByteNamesCompareExactly) {
  // "ア" is 83 41 and "ヂ" 83 61: their trail bytes are "A" and "a". "ゾ" is
  // 83 5D, whose trail byte is "]".
  const fs::path path = File(Sjis("[ゾア]\r\nキー=1\r\n[ゾヂ]\r\nキー=2\r\n"));
  EXPECT_EQ(ReadProfileText("ゾア", "キー", path), "1");
  EXPECT_EQ(ReadProfileText("ゾヂ", "キー", path), "2");
  ASSERT_TRUE(WriteProfileText("ゾヂ", "キー", "3", path));
  EXPECT_EQ(Bytes(path), Sjis("[ゾア]\r\nキー=1\r\n[ゾヂ]\r\nキー=3\r\n"));
}

TEST_F(ProfileText, AWriteIntoAMissingFileCreatesItWithSectionAndKey) {
  const fs::path path = folder_ / "new.cst";
  ASSERT_TRUE(WriteProfileText("Data", "Name", "機体", path));
  EXPECT_EQ(Bytes(path), "[Data]\r\nName=" + Sjis("機体") + "\r\n");
  ASSERT_TRUE(WriteProfileText("Data", "Comm1", "", path));
  EXPECT_EQ(Bytes(path), "[Data]\r\nName=" + Sjis("機体") + "\r\nComm1=\r\n");
  EXPECT_EQ(ReadProfileText("Data", "Name", path), "機体");
}

TEST_F(ProfileText, AWriteChangesOneValueAndKeepsEveryOtherByte) {
  // Other sections, comments, blank lines, LF-only line ends, stray bytes.
  const std::string before =
      "; written by hand\r\n"
      "[Other]\n"
      "Name=keep\n"
      "\r\n"
      "[data]\r\n"
      "  name = old value\t\n"
      "Name=second\r\n"
      "\xA0\xFF junk\r\n"
      "\r\n"
      "[Last]\r\n"
      "k=v";
  struct Case {
    std::string section, key, value, after;
  } cases[] = {
      {"Data", "Name", "新",  // replaced where it stands, its own line end kept
       "; written by hand\r\n[Other]\nName=keep\n\r\n[data]\r\n  name =" + Sjis("新") +
           "\nName=second\r\n\xA0\xFF junk\r\n\r\n[Last]\r\nk=v"},
      {"Data", "EMail", "a@b",  // added after the section's last non-blank line
       "; written by hand\r\n[Other]\nName=keep\n\r\n[data]\r\n  name = old value\t\n"
       "Name=second\r\n\xA0\xFF junk\r\nEMail=a@b\r\n\r\n[Last]\r\nk=v"},
      {"last", "j", "w",  // added to a last line without a line end
       "; written by hand\r\n[Other]\nName=keep\n\r\n[data]\r\n  name = old value\t\n"
       "Name=second\r\n\xA0\xFF junk\r\n\r\n[Last]\r\nk=v\r\nj=w\r\n"},
      {"New", "Maker", "m",  // a new section at the end
       before + "\r\n[New]\r\nMaker=m\r\n"},
  };
  for (const Case& c : cases) {
    const fs::path path = File(before);
    ASSERT_TRUE(WriteProfileText(c.section, c.key, c.value, path)) << c.key;
    EXPECT_EQ(Bytes(path), c.after) << c.key;
  }
}

TEST_F(ProfileText, TextThatCannotBeStoredIsRefusedAndNothingWritten) {
  struct Case {
    std::string section, key, value;
  } cases[] = {
      {"Data", "Name", "\xF0\x9F\x98\x80"},  // an emoji has no Shift-JIS form
      {"Data", "Name", "\xFF"},              // not UTF-8
      {"Data", "Name", "two\r\nlines"},
      {"Data", "Name", std::string("a\0b", 3)},
      {"Data", "", "v"},
      {"Data", "a=b", "v"},
      {"Data", "[x", "v"},
      {"", "Name", "v"},
      {"a]b", "Name", "v"},
      {"ゾ", "Name", "v"},  // fine: its 0x5D is a trail byte, not "]"
  };
  for (const Case& c : cases) {
    const fs::path path = File("[Data]\r\nName=old\r\n");
    std::string reason;
    const bool written = WriteProfileText(c.section, c.key, c.value, path, &reason);
    if (c.section == "ゾ") {
      EXPECT_TRUE(written);
      continue;
    }
    EXPECT_FALSE(written) << c.section << "/" << c.key << "/" << c.value;
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(Bytes(path), "[Data]\r\nName=old\r\n");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
      << "a temporary file was left";
}

TEST_F(ProfileText, AFailedWriteSaysWhyAndLeavesTheFileAsItWas) {
  std::string reason;
  EXPECT_FALSE(WriteProfileText("Data", "Name", "x", folder_ / "missing" / "a.cst", &reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(fs::exists(folder_ / "missing"));

  // A full disk: the file size limit makes the write of the new contents fail.
  const std::string before = "[Data]\r\nName=" + std::string(40, 'o') + "\r\n";
  const fs::path path = File(before);
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = before.size();
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteProfileText("Data", "Name", std::string(60, 'n'), path, &reason);
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(written);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(Bytes(path), before);
}

}  // namespace
