#include "upload_page.h"

#include <optional>

#include "cast_file_path.h"
#include "error.h"
#include "field_conversion.h"
#include "file_bytes.h"
#include "sjis.h"
#include "whole_file.h"

namespace castdata {
namespace {

void Append(std::vector<std::uint8_t>& out, std::string_view bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

std::string TextLine(const std::string& text) {
  const std::optional<std::string> encoded = sjis::FromUtf8(HtmlEscaped(text));
  if (!encoded) {
    throw Error(CannotWrite(std::string(kUploadPagePath), "「" + text + "」にShift-JISで表せない文字があります"));
  }
  return *encoded;
}

// The value of a placeholder line, or nullopt for a line that is copied.
std::optional<std::string> PlaceholderValue(std::string_view line, const UploadTexts& texts,
                                            std::span<const std::uint8_t> image,
                                            std::span<const std::uint8_t> package) {
  if (line == "%s") return TextLine(texts.unitName);
  if (line == "%m") return TextLine(texts.maker);
  if (line == "%k1") return TextLine(texts.comments[0]);
  if (line == "%k2") return TextLine(texts.comments[1]);
  if (line == "%k3") return TextLine(texts.comments[2]);
  if (line == "%a") return TextLine(texts.email);
  if (line == "%i") return DecimalText(texts.ownerNumber);
  if (line == "%p") return HexText(image);
  if (line == "%e") return HexText(package);
  if (line == "%l") return DecimalText(texts.level);
  return std::nullopt;
}

}  // namespace

std::vector<std::string> TemplateLines(std::span<const std::uint8_t> templateBytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t k = 0; k < templateBytes.size(); ++k) {
    const char byte = static_cast<char>(templateBytes[k]);
    if (byte == '\r' || byte == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (byte == '\r' && k + 1 < templateBytes.size() && templateBytes[k + 1] == '\n') ++k;
    } else {
      line += byte;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::string HexText(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string HtmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::vector<std::uint8_t> FillUploadPage(std::span<const std::uint8_t> templateBytes, const UploadTexts& texts,
                                         std::span<const std::uint8_t> image, std::span<const std::uint8_t> package) {
  std::vector<std::uint8_t> page;
  for (const std::string& line : TemplateLines(templateBytes)) {
    const std::optional<std::string> value = PlaceholderValue(line, texts, image, package);
    Append(page, value ? *value : line);
    Append(page, "\r\n");
  }
  return page;
}

void WriteUploadPage(const platform::GameFolder& game, const UploadTexts& texts) {
  const std::vector<std::uint8_t> image = ReadFileBytes(game.Resolve(kUploadImagePath));
  const std::vector<std::uint8_t> package = ReadFileBytes(game.Resolve(kUploadPackagePath));
  const std::vector<std::uint8_t> templateBytes = ReadFileBytes(game.Resolve(kUploadTemplatePath));
  const std::vector<std::uint8_t> page = FillUploadPage(templateBytes, texts, image, package);
  const std::filesystem::path pagePath = game.Resolve(kUploadPagePath);
  std::string reason;
  if (!wholefile::Replace(pagePath, page, &reason)) throw Error(CannotWrite(pagePath, reason));
}

}  // namespace castdata
