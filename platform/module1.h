// Module1: the editor's way to the desktop's profile files and to its shell.
// The functions hold no state and know nothing of the window.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace Module1 {

// The value of `key` in `section` of the profile file at `path` (profile_file.h
// gives the rules), with at most 127 bytes of Shift-JIS. "" when the file, the
// section or the key is missing, the value is empty, or the file cannot be read.
std::string ReadProfileText(std::string_view section, std::string_view key,
                            const std::filesystem::path& path);

// Sets `key` in `section` of the profile file at `path` to `value`, creating
// the key, the section and the file as needed; every other line stays as it
// was. The file is rewritten through the safe whole-file rewrite, so a failure
// leaves it as it was. Returns false with the reason (the system's, or why the
// text cannot be stored: a character without a Shift-JIS form, a line break)
// when nothing was written.
bool WriteProfileText(std::string_view section, std::string_view key, std::string_view value,
                      const std::filesystem::path& path, std::string* reason = nullptr);

// Opens the document at `path` with the desktop's program for its type:
// starts `xdg-open PATH` (found on PATH) as a process of its own and does not
// wait for it. Returns whether the opener could be started; a missing opener
// shows nothing. `showMode` is the window mode the caller asks for (1, a
// normal window); the desktop's opener has no such choice.
bool ShellOpen(const std::string& path, int showMode);

}  // namespace Module1
