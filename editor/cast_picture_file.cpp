#include "cast_picture_file.h"

#include <QFile>
#include <QImageReader>
#include <QSize>

#include <cstdlib>

QImage ReadCastPicture(QIODevice& device, QString& reason) {
  QImageReader reader(&device, "bmp");
  reader.setAutoDetectImageFormat(false);
  // A negative height is a bitmap stored top-down: its rows count as many.
  const QSize size = reader.size();
  const int width = std::abs(size.width());
  const int height = std::abs(size.height());
  if (width > kLargestPictureSide || height > kLargestPictureSide) {
    reason = QStringLiteral("%1×%2の絵は大きすぎます").arg(width).arg(height);
    return {};
  }
  QImage image = reader.read();
  if (image.isNull()) reason = reader.errorString();
  return image;
}

QImage ReadCastPictureFile(const QString& path, QString& reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return {};
  }
  return ReadCastPicture(file, reason);
}
