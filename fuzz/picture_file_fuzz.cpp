// The editor's reading of a cast's picture file (cast/NAME.bmp) on any
// bytes. Only a Windows bitmap is read: bytes that do not begin with "BM" are
// no picture, whatever other format they hold, so no other image reader ever
// sees them. A picture read has at most kLargestPictureSide pixels on a side,
// and one that castdata takes for a cast picture with a whole palette shows
// the very pixels castdata decodes. Whatever is not read says why.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

#include "cast_picture_file.h"
#include "cast_picture_format.h"
#include "fuzz_check.h"
#include "little_endian.h"

namespace {

// Whether the cast picture's palette has all 256 colours (its "colours used"
// field 0 or 256), so that every pixel's index lies within it.
bool HasAWholePalette(std::span<const std::uint8_t> picture) {
  const std::uint32_t coloursUsed = castdata::Uint32At(picture, 46);
  return coloursUsed == 0 || coloursUsed == 256;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);
  QString reason;
  const QImage image = ReadCastPicture(device, reason);

  if (size < 2 || data[0] != 'B' || data[1] != 'M') FUZZ_CHECK(image.isNull());
  if (image.isNull()) {
    FUZZ_CHECK(!reason.isEmpty());
    return 0;
  }
  FUZZ_CHECK(image.width() <= kLargestPictureSide && image.height() <= kLargestPictureSide);

  const auto input = fuzzcheck::Bytes(data, size);
  const std::optional<castdata::RgbaImage> cast = castdata::DecodeCastPicture(input);
  if (!cast || !HasAWholePalette(input)) return 0;
  FUZZ_CHECK(image.width() == cast->width && image.height() == cast->height);
  const QImage shown = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < cast->height; ++y) {
    for (int x = 0; x < cast->width; ++x) {
      const QColor colour = shown.pixelColor(x, y);
      const castdata::Rgb expected = cast->ColourAt(x, y);
      FUZZ_CHECK(colour.red() == expected.red && colour.green() == expected.green && colour.blue() == expected.blue);
    }
  }
  return 0;
}
