#include "cast_picture_file.h"

#include <QFile>
#include <QImageReader>
#include <QSize>

QImage ReadCastPicture(QIODevice& device, QString& reason) {
  QImageReader reader(&device, "bmp");
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide) {
    reason = QStringLiteral("%1×%2の絵は大きすぎます").arg(size.width()).arg(size.height());
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
