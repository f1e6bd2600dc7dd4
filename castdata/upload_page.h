// The upload page "dat/up.html": the template "dat/orv_up.dat" filled with the
// cast's texts and, as hexadecimal text, the upload image "dat/orv_up.png"
// and the cast package "dat/upload.ec". The browser opens the page, and the
// player publishes the cast from it.
//
// The template is Shift-JIS text, read line by line: a line ends in CR LF, in
// LF or in CR, and a last line without an end is a line too. A line is a
// placeholder only when it is exactly one of these (case matters, nothing
// around it, not even a blank); its value takes its place as one line:
//
// | Line  | Written in its place                                             |
// |-------|------------------------------------------------------------------|
// | %s    | the unit name (TxName), escaped                                  |
// | %m    | the maker's name (TxMaker), escaped                              |
// | %k1   | the first comment line (TxCom 0), escaped                        |
// | %k2   | the second comment line (TxCom 1), escaped                       |
// | %k3   | the third comment line (TxCom 2), escaped                        |
// | %a    | the maker's e-mail address (TxEmail), escaped                    |
// | %i    | the cast owner number, in decimal                                |
// | %p    | the bytes of dat/orv_up.png as hexadecimal text                  |
// | %e    | the bytes of dat/upload.ec as hexadecimal text                   |
// | %l    | the cast's level, in decimal                                     |
//
// Every other line is copied byte for byte. Every line of the page ends in
// CR LF; an empty template gives an empty page.
//
// Hexadecimal text: every byte as two upper-case hexadecimal digits, first
// byte first, with no separators and no line breaks ("000AFF").
//
// Escaped: the texts are written in Shift-JIS with &, <, >, " and ' as the
// character references &amp; &lt; &gt; &quot; &#39;. In shop mode the texts
// can come from another player's package, and the browser reads the page as
// HTML: escaped, it shows and sends the very text and runs no markup or
// script of a stranger's.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game_folder.h"

namespace castdata {

inline constexpr std::string_view kUploadPackagePath = "dat/upload.ec";
inline constexpr std::string_view kUploadImagePath = "dat/orv_up.png";
inline constexpr std::string_view kUploadTemplatePath = "dat/orv_up.dat";
inline constexpr std::string_view kUploadPagePath = "dat/up.html";

// What the page says of the cast, besides its two files. Texts in UTF-8.
struct UploadTexts {
  std::string unitName;
  std::string maker;
  std::array<std::string, 3> comments;
  std::string email;
  std::int16_t ownerNumber = 0;
  std::int16_t level = 0;
};

// The lines of a template, without their ends.
std::vector<std::string> TemplateLines(std::span<const std::uint8_t> templateBytes);

std::string HexText(std::span<const std::uint8_t> bytes);

// `text` (UTF-8) with the five HTML special characters as character
// references.
std::string HtmlEscaped(std::string_view text);

// The page's bytes. Throws castdata::Error, naming the page, when a text has
// no Shift-JIS form.
std::vector<std::uint8_t> FillUploadPage(std::span<const std::uint8_t> templateBytes, const UploadTexts& texts,
                                         std::span<const std::uint8_t> image, std::span<const std::uint8_t> package);

// Reads the image, the package and the template in `game` and replaces
// the page there whole through the safe rewrite. Throws castdata::Error
// naming the file that cannot be read or written and the reason; the page is
// then left as it was.
void WriteUploadPage(const platform::GameFolder& game, const UploadTexts& texts);

}  // namespace castdata
