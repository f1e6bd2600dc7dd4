// The profile-file reader on any file contents, as cast/NAME.cst of a game
// folder. Reading never fails for a file that is there, and each of the six
// values is well-formed UTF-8 on one line without a NUL, of at most 127
// Shift-JIS bytes where it has a Shift-JIS form. Setting a value, into whatever the file
// holds, reads back as set and leaves the other values as they were; and the
// contents a save of the cast profile gives read back as the profile saved.
#include <cstdint>
#include <optional>
#include <string>

#include "cast_profile.h"
#include "fuzz_check.h"
#include "profile_file.h"
#include "fixture_files.h"
#include "sjis.h"
#include "temporary_folder.h"

namespace {

using castdata::CastProfile;

// Texts with "]", "=" and "ソ" (whose second byte is "\"), which a careless
// reader takes for structure.
const CastProfile kSaved{"機体]", "コメ=ント", "", "[Data]", "作者ソ", "a@b.example"};

void CheckValue(const std::string& value) {
  FUZZ_CHECK(fuzzcheck::IsUtf8(value));
  // One line, without the blanks and CRs before it. (The cut to 127 bytes
  // comes after the blanks at the end are dropped, so it may end in one.)
  FUZZ_CHECK(value.find('\n') == std::string::npos);
  FUZZ_CHECK(value.find('\0') == std::string::npos);
  FUZZ_CHECK(value.find_first_of(" \t\r") != 0);
  if (const std::optional<std::string> sjisBytes = sjis::FromUtf8(value)) {
    FUZZ_CHECK(sjisBytes->size() <= profile::kLongestValue);
  }
}

CastProfile ValuesOf(const profile::ProfileFile& file) {
  CastProfile values;
  for (const auto& [key, text] : castdata::kCastProfileKeys) values.*text = file.Value("Data", key);
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const gamefixture::TemporaryFolder game;
  const std::filesystem::path file = game.path() / "cast" / "F.cst";
  gamefixture::WriteBytes(file, {reinterpret_cast<const char*>(data), size});

  const CastProfile read = castdata::ReadCastProfile("F", game.path());
  for (const auto& [key, text] : castdata::kCastProfileKeys) CheckValue(read.*text);

  std::optional<profile::ProfileFile> profile = profile::ProfileFile::Load(file);
  FUZZ_CHECK(profile.has_value());
  FUZZ_CHECK(ValuesOf(*profile) == read);
  // One key, picked by the input's size (each read converts text through
  // iconv, which is slow under the sanitizers).
  const auto& [key, text] = castdata::kCastProfileKeys[size % castdata::kCastProfileKeys.size()];
  FUZZ_CHECK(profile->SetValue("Data", key, kSaved.*text));
  CastProfile expected = read;
  expected.*text = kSaved.*text;
  FUZZ_CHECK(ValuesOf(*profile) == expected);

  const std::vector<std::uint8_t> saved = castdata::CastProfileContents("F", kSaved, game.path());
  gamefixture::WriteBytes(file, gamefixture::AsText(saved));
  FUZZ_CHECK(castdata::ReadCastProfile("F", game.path()) == kSaved);
  return 0;
}
