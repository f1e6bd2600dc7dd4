#include "image_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <string>
#include <system_error>

#include "cast_file_path.h"
#include "cast_picture.h"
#include "error.h"
#include "file_bytes.h"

namespace pictureimport {

castdata::RgbaImage DecodeImage(std::span<const std::uint8_t> bytes) {
  // The buffer reads the bytes where they are, without a copy.
  const QByteArray data =
      QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  const QImage read = reader.read();
  if (read.isNull()) return {};

  const QImage image = read.convertToFormat(QImage::Format_RGBA8888);
  castdata::RgbaImage decoded{image.width(), image.height(), {}};
  const std::size_t rowBytes = static_cast<std::size_t>(image.width()) * 4;
  decoded.rgba.resize(rowBytes * static_cast<std::size_t>(image.height()));
  // QImage pads its rows to 4 bytes; RgbaImage has no padding.
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(decoded.rgba.data() + rowBytes * static_cast<std::size_t>(y), image.constScanLine(y), rowBytes);
  }
  return decoded;
}

std::vector<std::uint8_t> CastPictureFromImageFile(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  // A pipe or a device would be read without end; a folder is said by the reader.
  if (std::filesystem::exists(status) && !std::filesystem::is_directory(status) &&
      !std::filesystem::is_regular_file(status)) {
    throw castdata::Error(castdata::CannotRead(file, "通常のファイルではありません"));
  }
  if (std::filesystem::is_regular_file(status)) {
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kLargestImageFile) {
      throw castdata::Error(
          castdata::CannotRead(file, "画像ファイルとしては大きすぎます（" + std::to_string(size) + "バイト）"));
    }
  }
  const std::vector<std::uint8_t> bytes = castdata::ReadFileBytes(file);
  return castdata::CastPictureToWrite(file, bytes, DecodeImage(bytes));
}

}  // namespace pictureimport
