#include "image_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cast_picture_fixture.h"
#include "cast_picture_format.h"
#include "error.h"
#include "temporary_folder.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A 5 x 3 image with a different colour in every pixel; with `alpha` the
// pixels' alpha runs from 0 to 255.
QImage Pattern(bool alpha) {
  QImage image(5, 3, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int at = y * image.width() + x;
      image.setPixel(x, y, qRgba(17 * at, 255 - 13 * at, (40 * at) % 256, alpha ? 255 * at / 14 : 255));
    }
  }
  return image;
}

QImage Flat(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

Bytes Encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
  return Bytes(data.begin(), data.end());
}

// The largest difference of any channel of any pixel; -1 when the sizes
// differ. The colour of a fully transparent pixel is no part of the image
// (WebP does not keep it), so only its alpha counts.
int LargestDifference(const castdata::RgbaImage& decoded, const QImage& source) {
  if (decoded.width != source.width() || decoded.height != source.height()) return -1;
  int largest = 0;
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x) {
      const QRgb want = source.pixel(x, y);
      const std::size_t at = (static_cast<std::size_t>(y) * source.width() + x) * 4;
      const int channels[4][2] = {{decoded.rgba[at + 3], qAlpha(want)},
                                  {decoded.rgba[at], qRed(want)},
                                  {decoded.rgba[at + 1], qGreen(want)},
                                  {decoded.rgba[at + 2], qBlue(want)}};
      for (int c = 0; c < (qAlpha(want) == 0 ? 1 : 4); ++c) {
        largest = std::max(largest, std::abs(channels[c][0] - channels[c][1]));
      }
    }
  }
  return largest;
}

// The smallest GIF: one white pixel (a two-colour table, LZW codes clear, 0, end).
const Bytes kOneWhitePixelGif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                                 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};

TEST(DecodeImage, EveryFormatAPlayerUsesWithItsColoursAndAlpha) {
  struct Case {
    const char* format;
    bool alpha;
    int quality;
    int tolerance;  // lossy formats come back close, not exact
  } cases[] = {
      {"png", true, -1, 0}, {"bmp", false, -1, 0}, {"webp", true, 100, 0}, {"jpg", false, 100, 12},
  };
  for (const Case& c : cases) {
    // A flat image for the lossy format, whose blocks smear a pattern.
    const QImage source = c.tolerance > 0 ? Flat(16, 16, qRgb(200, 40, 90)) : Pattern(c.alpha);
    const castdata::RgbaImage decoded = pictureimport::DecodeImage(Encoded(source, c.format, c.quality));
    ASSERT_TRUE(decoded.IsWellFormed()) << c.format;
    const int difference = LargestDifference(decoded, source);
    EXPECT_GE(difference, 0) << c.format;
    EXPECT_LE(difference, c.tolerance) << c.format;
  }
  const castdata::RgbaImage gif = pictureimport::DecodeImage(kOneWhitePixelGif);
  EXPECT_EQ(gif, (castdata::RgbaImage{1, 1, {255, 255, 255, 255}}));
}

// `jpeg` with an Exif block after its start marker whose one tag, the
// orientation, is `orientation` (6: the camera was turned a quarter right).
Bytes WithOrientationTag(Bytes jpeg, std::uint8_t orientation) {
  const Bytes exif = {0xFF, 0xE1, 0x00, 0x22,              // APP1, 34 bytes with the length itself
                      'E',  'x',  'i',  'f',  0,    0,     // the Exif mark
                      'I',  'I',  0x2A, 0,    8,    0, 0, 0,  // little-endian TIFF, first IFD at 8
                      1,    0,                               // one entry:
                      0x12, 0x01, 3,    0,    1,    0, 0, 0,  // orientation, a SHORT, one of them
                      orientation, 0, 0, 0,                  // its value
                      0,    0,    0,    0};                  // no further IFD
  jpeg.insert(jpeg.begin() + 2, exif.begin(), exif.end());
  return jpeg;
}

// A camera stores a photo as its sensor saw it and says in a tag how it was
// held; the photo stands as the player sees it in any viewer.
TEST(DecodeImage, APhotosOrientationTagIsFollowed) {
  const Bytes turned = WithOrientationTag(Encoded(Flat(40, 16, qRgb(90, 90, 90)), "jpg"), 6);
  const castdata::RgbaImage decoded = pictureimport::DecodeImage(turned);
  EXPECT_EQ(decoded.width, 16);
  EXPECT_EQ(decoded.height, 40);
}

TEST(DecodeImage, BytesNoReaderTakesGiveAnEmptyImage) {
  const Bytes png = Encoded(Pattern(false), "png");
  const std::vector<Bytes> cases = {
      {},
      Bytes{'h', 'e', 'l', 'l', 'o'},
      Bytes(png.begin(), png.begin() + 40),  // a PNG cut off in its header
  };
  for (const Bytes& bytes : cases) EXPECT_FALSE(pictureimport::DecodeImage(bytes).IsWellFormed()) << bytes.size();
}

class CastPictureFromImageFile : public testing::Test {
 protected:
  fs::path Put(const std::string& name, const Bytes& bytes) {
    const fs::path file = folder_.path() / name;
    EXPECT_TRUE(wholefile::Replace(file, bytes));
    return file;
  }
  const fs::path& folder() const { return folder_.path(); }

 private:
  gamefixture::TemporaryFolder folder_;
};

TEST_F(CastPictureFromImageFile, AnImageBecomesACastPicture) {
  const QImage wide = Flat(120, 50, qRgb(10, 120, 240));
  for (const char* format : {"png", "jpg", "webp"}) {
    const fs::path file = Put(std::string("wide.") + format, Encoded(wide, format));
    const Bytes picture = pictureimport::CastPictureFromImageFile(file);
    EXPECT_EQ(picture.size(), castdata::kCastPictureSize) << format;
    EXPECT_EQ(castdata::CastPictureProblem(picture), std::nullopt) << format;
  }
}

// A cast picture some other program wrote (here with its reserved field
// set) is taken as it is, never written anew.
TEST_F(CastPictureFromImageFile, ACastPictureIsTakenByteForByte) {
  Bytes picture = gamefixture::MakeCastPicture(3);
  picture[6] = 'K';
  picture[7] = 'S';
  ASSERT_TRUE(castdata::IsCastPicture(picture));
  EXPECT_EQ(pictureimport::CastPictureFromImageFile(Put("drawn.bmp", picture)), picture);
}

TEST_F(CastPictureFromImageFile, AFileThatIsNoImageIsRefusedNamingItAndTheReason) {
  const fs::path fifo = folder() / "pipe.png";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path huge = Put("huge.png", Encoded(Pattern(false), "png"));
  fs::resize_file(huge, pictureimport::kLargestImageFile + 1);  // sparse: nothing is written
  fs::create_directory(folder() / "folder.png");
  struct Case {
    fs::path file;
    std::string reason;
  } cases[] = {
      {Put("notes.png", Bytes{'n', 'o', 't', 'e', 's'}), "画像ファイルではないか、壊れています"},
      {Put("empty.png", {}), "画像ファイルではないか、壊れています"},
      {folder() / "missing.png", "ファイルが見つかりません"},
      {folder() / "folder.png", "ファイルではなくフォルダです"},
      {fifo, "通常のファイルではありません"},
      {huge, "画像ファイルとしては大きすぎます"},
  };
  for (const Case& c : cases) {
    try {
      pictureimport::CastPictureFromImageFile(c.file);
      ADD_FAILURE() << c.file << " was taken";
    } catch (const castdata::Error& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(c.file.generic_string()), std::string::npos) << message;
      EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
  }
}

}  // namespace
