// Text in the game's code page, Shift-JIS (code page 932), and UTF-8, the
// encoding of every text inside the program. Conversion goes through iconv's
// "CP932", which maps the characters the game uses ("～" among them) the way
// the game's platform does.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sjis {

// Decodes Shift-JIS bytes. An invalid byte becomes U+FFFD; a double-byte
// character cut off at the end loses its dangling lead byte.
std::string ToUtf8(std::string_view sjisBytes);

// Encodes UTF-8 text, or nullopt when a character has no Shift-JIS form (or
// the text is not valid UTF-8).
std::optional<std::string> FromUtf8(std::string_view utf8);

// The longest prefix of `sjisBytes` of at most `maxBytes` bytes that does not
// end in the first half of a double-byte character.
std::string_view CutToBytes(std::string_view sjisBytes, std::size_t maxBytes);

// Whether `byte` opens a double-byte character.
bool IsLeadByte(unsigned char byte);

}  // namespace sjis
