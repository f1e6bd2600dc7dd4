#include "profile_file.h"

#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "sjis.h"
#include "whole_file.h"

namespace profile {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A CR counts as a blank: one left at a line end (from "\r\r\n", or a file
// cut after its last CR) belongs to the line end, not to the value, which
// could then never be written back.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Width in bytes of the character that starts at `at`. Only a walk from the
// start of a text tells a lead byte from a trail byte, and trail bytes take
// the values of ASCII letters and of "]".
std::size_t CharWidth(std::string_view text, std::size_t at) {
  return sjis::IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Position of the single-byte character `wanted`, or npos.
std::size_t FindSingleByte(std::string_view text, char wanted) {
  for (std::size_t at = 0; at < text.size(); at += CharWidth(text, at)) {
    if (CharWidth(text, at) == 1 && text[at] == wanted) return at;
  }
  return std::string_view::npos;
}

char FoldAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size();) {
    const std::size_t width = CharWidth(a, at);
    if (width == 2 ? a.substr(at, 2) != b.substr(at, 2)
                   : FoldAsciiLetter(a[at]) != FoldAsciiLetter(b[at])) {
      return false;
    }
    at += width;
  }
  return true;
}

struct Line {
  std::size_t begin;  // first byte of the line
  std::size_t end;    // end of its text, before CR LF or LF
  std::size_t next;   // first byte of the following line
};

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    const std::size_t feed = bytes.find('\n', begin);
    if (feed == std::string_view::npos) {
      lines.push_back({begin, bytes.size(), bytes.size()});
      break;
    }
    const std::size_t end = feed > begin && bytes[feed - 1] == '\r' ? feed - 1 : feed;
    lines.push_back({begin, end, feed + 1});
    begin = feed + 1;
  }
  return lines;
}

// The name of a section header line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  text.remove_prefix(1);
  return Trim(text.substr(0, FindSingleByte(text, ']')));
}

// Position of the "=" of a key line, or npos for any other line. ("=" never
// occurs as a trail byte.)
std::size_t KeyLineEquals(std::string_view text) {
  if (SectionName(text)) return std::string_view::npos;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos || Trim(text.substr(0, equals)).empty()) {
    return std::string_view::npos;
  }
  return equals;
}

// Where a key stands, or would go, in the lines of a file.
struct Place {
  std::optional<std::size_t> sectionLine;  // the section's header
  std::optional<std::size_t> keyLine;      // the key's line within it
  std::size_t lastFilledLine = 0;          // the section's last non-blank line
  std::size_t keyEquals = 0;               // the "=" within the key's line
};

Place Locate(std::string_view bytes, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = bytes.substr(lines[i].begin, lines[i].end - lines[i].begin);
    const std::optional<std::string_view> header = SectionName(text);
    if (!place.sectionLine) {
      if (header && SameName(*header, section)) {
        place.sectionLine = i;
        place.lastFilledLine = i;
      }
      continue;
    }
    if (header) break;  // the end of the section
    if (!Trim(text).empty()) place.lastFilledLine = i;
    const std::size_t equals = KeyLineEquals(text);
    if (equals != std::string_view::npos && SameName(Trim(text.substr(0, equals)), key)) {
      place.keyLine = i;
      place.keyEquals = equals;
      return place;
    }
  }
  return place;
}

void SetReason(std::string* reason, std::string text) {
  if (reason) *reason = std::move(text);
}

bool HoldsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The Shift-JIS form of `utf8`, or nullopt with the reason why it has none.
std::optional<std::string> Encode(std::string_view utf8, std::string_view what, std::string* reason) {
  std::optional<std::string> bytes = sjis::FromUtf8(utf8);
  if (!bytes) SetReason(reason, std::string(what) + "にShift-JISで表せない文字が含まれています");
  return bytes;
}

}  // namespace

std::optional<ProfileFile> ProfileFile::Load(const std::filesystem::path& path, std::string* reason) {
  std::string readReason;
  std::optional<std::vector<std::uint8_t>> bytes = wholefile::Read(path, &readReason);
  if (bytes) return ProfileFile(std::string(bytes->begin(), bytes->end()));
  std::error_code ignored;
  if (std::filesystem::symlink_status(path, ignored).type() == std::filesystem::file_type::not_found) {
    return ProfileFile(std::string());
  }
  SetReason(reason, readReason);
  return std::nullopt;
}

std::string ProfileFile::Value(std::string_view section, std::string_view key) const {
  const std::optional<std::string> sjisSection = sjis::FromUtf8(Trim(section));
  const std::optional<std::string> sjisKey = sjis::FromUtf8(Trim(key));
  if (!sjisSection || !sjisKey) return "";  // no such name can be in the file
  const std::vector<Line> lines = SplitLines(bytes_);
  const Place place = Locate(bytes_, lines, *sjisSection, *sjisKey);
  if (!place.keyLine) return "";
  const Line& line = lines[*place.keyLine];
  const std::string_view text = std::string_view(bytes_).substr(line.begin, line.end - line.begin);
  // The platform hands a value over in a buffer of text that ends at its
  // first NUL; what follows a NUL in the file is never part of it.
  std::string_view value = text.substr(place.keyEquals + 1);
  value = value.substr(0, value.find('\0'));
  return sjis::ToUtf8(sjis::CutToBytes(Trim(value), kLongestValue));
}

bool ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value,
                           std::string* reason) {
  const std::string_view sectionName = Trim(section);
  const std::string_view keyName = Trim(key);
  const std::optional<std::string> sjisSection =
      Encode(sectionName, "セクション名「" + std::string(sectionName) + "」", reason);
  if (!sjisSection) return false;
  const std::optional<std::string> sjisKey = Encode(keyName, "キー名「" + std::string(keyName) + "」", reason);
  if (!sjisKey) return false;
  const std::optional<std::string> sjisValue = Encode(value, "「" + std::string(keyName) + "」の値", reason);
  if (!sjisValue) return false;

  if (sjisSection->empty() || HoldsLineBreakOrNul(*sjisSection) ||
      FindSingleByte(*sjisSection, ']') != std::string::npos) {
    SetReason(reason, "セクション名「" + std::string(sectionName) + "」は使えません");
    return false;
  }
  if (sjisKey->empty() || HoldsLineBreakOrNul(*sjisKey) || sjisKey->find('=') != std::string::npos ||
      sjisKey->front() == '[') {
    SetReason(reason, "キー名「" + std::string(keyName) + "」は使えません");
    return false;
  }
  if (HoldsLineBreakOrNul(*sjisValue)) {
    SetReason(reason, "「" + std::string(keyName) + "」の値に改行またはNUL文字が含まれています");
    return false;
  }

  const std::vector<Line> lines = SplitLines(bytes_);
  const Place place = Locate(bytes_, lines, *sjisSection, *sjisKey);
  const std::string keyLine = *sjisKey + "=" + *sjisValue + std::string(kLineEnd);
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    const std::size_t valueBegin = line.begin + place.keyEquals + 1;
    bytes_.replace(valueBegin, line.end - valueBegin, *sjisValue);
  } else if (place.sectionLine) {
    const Line& last = lines[place.lastFilledLine];
    const bool lastIsEnded = last.next > last.end;
    bytes_.insert(last.next, lastIsEnded ? keyLine : std::string(kLineEnd) + keyLine);
  } else {
    if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += kLineEnd;
    bytes_ += "[" + *sjisSection + "]" + std::string(kLineEnd) + keyLine;
  }
  return true;
}

bool ProfileFile::Save(const std::filesystem::path& path, std::string* reason) const {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes_.data());
  return wholefile::Replace(path, std::span<const std::uint8_t>(data, bytes_.size()), reason);
}

}  // namespace profile
