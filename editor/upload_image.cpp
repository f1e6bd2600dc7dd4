#include "upload_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include <cstdint>
#include <span>
#include <string>

#include "cast_file_path.h"
#include "error.h"
#include "whole_file.h"

void WriteUploadImage(const QLabel& picture, const std::filesystem::path& path) {
  QImage image(kUploadImageSide, kUploadImageSide, QImage::Format_RGB32);
  image.fill(picture.palette().color(picture.backgroundRole()));
  {
    QPainter painter(&image);
    painter.drawPixmap(0, 0, picture.pixmap());
  }

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) {
    throw castdata::Error(castdata::CannotWrite(path, writer.errorString().toStdString()));
  }

  std::string reason;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                            static_cast<std::size_t>(png.size()));
  if (!wholefile::Replace(path, bytes, &reason)) throw castdata::Error(castdata::CannotWrite(path, reason));
}
