// A profile (INI-style) file: named sections of "key=value" lines, read and
// changed one value at a time the way the game's platform does it with its
// profile functions, so that files the game and older editors wrote stay
// readable and keep every line this code does not change.
//
// The file, byte by byte:
//
// | Line           | Form                         | Meaning                          |
// |----------------|------------------------------|----------------------------------|
// | section header | [NAME]                       | starts the section NAME          |
// | key line       | KEY=VALUE                    | KEY's value in the section above |
// | any other line | comments, blank lines, ...   | kept as it stands, not read      |
//
// - Text on disk is Shift-JIS; this interface takes and gives UTF-8.
// - Section and key names are compared without regard to the case of the
//   letters A-Z (a double-byte character compares exactly); blanks (spaces,
//   tabs, and CRs, such as a doubled CR LF leaves) around names and values
//   are not part of them. The first section of a name, and the first key of
//   a name within it, are the ones used.
// - Quotes around a value are part of it: a value reads back as it was
//   written (Windows would strip them).
// - A value ends at its first NUL byte, as the platform's text buffer does:
//   "Name=ab<NUL>cd" reads as "ab".
// - A line may end with CR LF or LF; every line added ends with CR LF, and a
//   changed key line keeps its own line end.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace profile {

// The longest value, in Shift-JIS bytes, that reading gives: the platform
// reads into a buffer of 128 bytes, the last of which ends the text.
inline constexpr std::size_t kLongestValue = 127;

class ProfileFile {
 public:
  // Reads the file at `path`. A missing file is an empty profile; a file that
  // is there but cannot be read gives nullopt and the system's reason.
  static std::optional<ProfileFile> Load(const std::filesystem::path& path,
                                         std::string* reason = nullptr);

  // The profile whose file holds `bytes`, for a caller that read the file
  // itself.
  static ProfileFile FromBytes(std::string bytes) { return ProfileFile(std::move(bytes)); }

  // The value of `key` in `section`, cut to at most kLongestValue Shift-JIS
  // bytes (a double-byte character cut in two is dropped whole). "" when the
  // section or the key is missing, or the value is empty.
  std::string Value(std::string_view section, std::string_view key) const;

  // Sets `key` in `section` to `value`: a present key gets its new value where
  // it stands (its spelling and the blanks before "=" kept); a missing key is
  // added after the last non-blank line of its section; a missing section is
  // added at the end of the file with the key. Every other line stays byte for
  // byte. Refuses, with a reason and nothing changed, a text that has no
  // Shift-JIS form or cannot be stored on one line: an empty section or key
  // name, "]" in a section name, "=" in a key name or a key name that starts
  // with "[", and a line break or NUL anywhere.
  bool SetValue(std::string_view section, std::string_view key, std::string_view value,
                std::string* reason = nullptr);

  // Writes the profile to `path` through the safe whole-file rewrite: on a
  // failure the old file stays as it was and `reason` says why.
  bool Save(const std::filesystem::path& path, std::string* reason = nullptr) const;

  // The bytes Save writes, for a caller that writes the file together with
  // others.
  const std::string& Bytes() const { return bytes_; }

 private:
  explicit ProfileFile(std::string bytes) : bytes_(std::move(bytes)) {}

  std::string bytes_;  // Shift-JIS, exactly as on disk
};

}  // namespace profile
