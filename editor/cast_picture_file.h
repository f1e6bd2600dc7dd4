// Reading a cast's picture file, cast/NAME.bmp, for the picture box.
//
// The file is read as a Windows bitmap and as nothing else: Qt's BMP reader
// with format detection off, so that a file of another kind under the name
// (a GIF, an icon, a JPEG, an XPM; a package from outside brings any bytes)
// never reaches another reader and is no picture, as a file that cannot be
// read is. A bitmap of more than kLargestPictureSide pixels on a side is no
// picture either: a cast picture is 64 x 64, and a forged header could
// otherwise ask for a huge image.
#pragma once

#include <QImage>
#include <QIODevice>
#include <QString>

inline constexpr int kLargestPictureSide = 1024;

// The picture that `device` holds, or a null image and `reason` says why.
QImage ReadCastPicture(QIODevice& device, QString& reason);

// The picture in the file at `path`, or a null image and `reason` says why.
QImage ReadCastPictureFile(const QString& path, QString& reason);
