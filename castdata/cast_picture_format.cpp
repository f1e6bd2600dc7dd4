#include "cast_picture_format.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

#include "little_endian.h"
#include "picture_scaling.h"

namespace castdata {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPaletteEntries = 256;
constexpr std::size_t kPixelCount = std::size_t{kCastPictureSide} * kCastPictureSide;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * kPaletteEntries;  // 1078
static_assert(kPixelOffset + kPixelCount == kCastPictureSize);

constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// Offsets of the header fields.
constexpr std::size_t kFileSizeAt = 2;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kInfoHeaderSizeAt = 14;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kPlanesAt = 26;
constexpr std::size_t kBitsPerPixelAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kImageSizeAt = 34;
constexpr std::size_t kHorizontalResolutionAt = 38;
constexpr std::size_t kVerticalResolutionAt = 42;
constexpr std::size_t kColoursUsedAt = 46;

std::uint16_t Uint16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(Int16At(bytes, offset));
}

// The layout of a picture that CastPictureProblem accepts.
struct Layout {
  std::size_t paletteOffset;
  std::size_t paletteEntries;
  std::size_t pixelOffset;
  bool topDown;
};

// The layout of `bytes`, or why they are no cast picture.
std::variant<Layout, std::string> ReadLayout(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kCastPictureSize) {
    return "大きさが" + std::to_string(kCastPictureSize) + "バイトではありません（" +
           std::to_string(bytes.size()) + "バイト）";
  }
  const std::uint32_t infoHeaderSize = Uint32At(bytes, kInfoHeaderSizeAt);
  if (bytes[0] != 'B' || bytes[1] != 'M' ||
      (infoHeaderSize != 40 && infoHeaderSize != 108 && infoHeaderSize != 124)) {
    return std::string("BMPファイルではありません");
  }
  const auto width = static_cast<std::int32_t>(Uint32At(bytes, kWidthAt));
  const auto height = static_cast<std::int32_t>(Uint32At(bytes, kHeightAt));
  if (width != kCastPictureSide || (height != kCastPictureSide && height != -kCastPictureSide)) {
    return "64×64の画像ではありません（" + std::to_string(width) + "×" +
           std::to_string(height < 0 ? -static_cast<std::int64_t>(height) : height) + "）";
  }
  if (Uint16At(bytes, kPlanesAt) != 1 || Uint16At(bytes, kBitsPerPixelAt) != 8) {
    return std::string("256色（8ビット）の画像ではありません");
  }
  if (Uint32At(bytes, kCompressionAt) != 0) return std::string("圧縮された画像です");
  const std::uint32_t coloursUsed = Uint32At(bytes, kColoursUsedAt);
  if (coloursUsed > kPaletteEntries) return std::string("パレットが256色を超えています");
  Layout layout;
  layout.paletteOffset = kFileHeaderSize + infoHeaderSize;
  layout.paletteEntries = coloursUsed == 0 ? kPaletteEntries : coloursUsed;
  layout.pixelOffset = Uint32At(bytes, kPixelOffsetAt);
  layout.topDown = height < 0;
  if (layout.pixelOffset < layout.paletteOffset + 4 * layout.paletteEntries ||
      layout.pixelOffset + kPixelCount > kCastPictureSize) {
    return std::string("画素の位置が正しくありません");
  }
  return layout;
}

}  // namespace

std::vector<std::uint8_t> EncodeCastPicture(const IndexedImage& picture) {
  if (picture.width != kCastPictureSide || picture.height != kCastPictureSide ||
      picture.indices.size() != kPixelCount) {
    throw std::invalid_argument("EncodeCastPicture: the picture is not 64 x 64");
  }
  if (picture.palette.empty() || picture.palette.size() > kPaletteEntries) {
    throw std::invalid_argument("EncodeCastPicture: the palette does not hold 1 to 256 colours");
  }
  if (*std::max_element(picture.indices.begin(), picture.indices.end()) >= picture.palette.size()) {
    throw std::invalid_argument("EncodeCastPicture: an index lies beyond the palette");
  }

  std::vector<std::uint8_t> bytes(kCastPictureSize, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutUint32(bytes, kFileSizeAt, kCastPictureSize);
  PutUint32(bytes, kPixelOffsetAt, kPixelOffset);
  PutUint32(bytes, kInfoHeaderSizeAt, kInfoHeaderSize);
  PutUint32(bytes, kWidthAt, kCastPictureSide);
  PutUint32(bytes, kHeightAt, kCastPictureSide);
  PutInt16(bytes, kPlanesAt, 1);
  PutInt16(bytes, kBitsPerPixelAt, 8);
  PutUint32(bytes, kImageSizeAt, kPixelCount);
  PutUint32(bytes, kHorizontalResolutionAt, kPixelsPerMetre);
  PutUint32(bytes, kVerticalResolutionAt, kPixelsPerMetre);
  PutUint32(bytes, kColoursUsedAt, kPaletteEntries);

  for (std::size_t i = 0; i < picture.palette.size(); ++i) {
    const std::size_t at = kFileHeaderSize + kInfoHeaderSize + 4 * i;
    bytes[at] = picture.palette[i].blue;
    bytes[at + 1] = picture.palette[i].green;
    bytes[at + 2] = picture.palette[i].red;
  }
  // The bottom row comes first.
  for (std::size_t row = 0; row < kCastPictureSide; ++row) {
    const auto from = picture.indices.begin() + static_cast<std::ptrdiff_t>(row * kCastPictureSide);
    const std::size_t to = kPixelOffset + (kCastPictureSide - 1 - row) * kCastPictureSide;
    std::copy(from, from + kCastPictureSide, bytes.begin() + static_cast<std::ptrdiff_t>(to));
  }
  return bytes;
}

std::optional<std::string> CastPictureProblem(std::span<const std::uint8_t> bytes) {
  std::variant<Layout, std::string> layout = ReadLayout(bytes);
  if (std::string* problem = std::get_if<std::string>(&layout)) return std::move(*problem);
  return std::nullopt;
}

bool IsCastPicture(std::span<const std::uint8_t> bytes) { return !CastPictureProblem(bytes); }

std::optional<RgbaImage> DecodeCastPicture(std::span<const std::uint8_t> bytes) {
  const std::variant<Layout, std::string> read = ReadLayout(bytes);
  const Layout* layout = std::get_if<Layout>(&read);
  if (!layout) return std::nullopt;
  RgbaImage image{kCastPictureSide, kCastPictureSide, std::vector<std::uint8_t>(kPixelCount * 4)};
  for (std::size_t row = 0; row < kCastPictureSide; ++row) {
    const std::size_t storedRow = layout->topDown ? row : kCastPictureSide - 1 - row;
    for (std::size_t column = 0; column < kCastPictureSide; ++column) {
      const std::size_t index = bytes[layout->pixelOffset + storedRow * kCastPictureSide + column];
      std::uint8_t* pixel = &image.rgba[(row * kCastPictureSide + column) * 4];
      if (index < layout->paletteEntries) {
        const std::size_t entry = layout->paletteOffset + 4 * index;
        pixel[0] = bytes[entry + 2];
        pixel[1] = bytes[entry + 1];
        pixel[2] = bytes[entry];
      }
      pixel[3] = 255;
    }
  }
  return image;
}

}  // namespace castdata
