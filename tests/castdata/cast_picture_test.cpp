#include "cast_picture.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "cast_package.h"
#include "cast_picture_fixture.h"
#include "cast_picture_format.h"
#include "error.h"
#include "little_endian.h"
#include "picture_scaling.h"
#include "test_images.h"

namespace {

using castdata::RgbaImage;
using testimages::ImageOf;
using testimages::Rgba;
using Bytes = std::vector<std::uint8_t>;

std::uint8_t Clamped(double value) { return std::uint8_t(std::clamp(std::lround(value), 0L, 255L)); }

// A photo-like picture: smooth colour gradients with grain on top.
RgbaImage Photo(int width, int height, bool withAlpha = false) {
  std::mt19937 random(7);
  return ImageOf(width, height, [&](int x, int y) {
    const double u = double(x) / width;
    const double v = double(y) / height;
    const auto grain = [&] { return int(random() % 41) - 20; };
    const std::uint8_t alpha =
        withAlpha ? (x < width / 4 ? 0 : std::uint8_t(std::min(255.0, 255 * 2 * v))) : 255;
    return Rgba{Clamped(255 * u + grain()), Clamped(255 * v * (1 - u) + 40 + grain()),
                Clamped(128 + 120 * std::sin(6 * u + 4 * v) + grain()), alpha};
  });
}

struct Errors {
  std::array<double, 3> mean{};  // mean absolute error per channel
};

Errors MeanAbsoluteErrors(const RgbaImage& a, const RgbaImage& b) {
  Errors errors;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const castdata::Rgb p = a.ColourAt(x, y);
      const castdata::Rgb q = b.ColourAt(x, y);
      errors.mean[0] += std::abs(p.red - q.red);
      errors.mean[1] += std::abs(p.green - q.green);
      errors.mean[2] += std::abs(p.blue - q.blue);
    }
  }
  for (double& e : errors.mean) e /= 64 * 64;
  return errors;
}

// What Qt's own bitmap reader makes of the bytes, as an image of ours.
std::optional<RgbaImage> ReadByQt(const Bytes& bytes) {
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "BMP")) {
    return std::nullopt;
  }
  image = image.convertToFormat(QImage::Format_RGBA8888);
  return ImageOf(image.width(), image.height(), [&](int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return Rgba{std::uint8_t(qRed(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qBlue(rgb)), 255};
  });
}

TEST(CastPicture, AnyImageBecomesAPictureTheGameAndQtAccept) {
  struct Case {
    std::string what;
    RgbaImage image;
  };
  const std::vector<Case> cases = {
      {"photo 300x200", Photo(300, 200)},
      {"photo 10x7", Photo(10, 7)},
      {"tall 90x300", Photo(90, 300)},
      {"wide 170x45", Photo(170, 45)},
      {"alpha 120x90", Photo(120, 90, true)},
      {"6 colours 200x150", ImageOf(200, 150, [](int x, int y) {
         const std::uint8_t stripe = std::uint8_t((x / 17 + y / 23) % 6);
         return Rgba{std::uint8_t(stripe * 50), std::uint8_t(250 - stripe * 40), std::uint8_t(stripe % 2 * 255), 255};
       })},
      {"1x1", testimages::Flat(1, 1, {12, 34, 56, 255})},
      {"4096 colours 64x64", ImageOf(64, 64, [](int x, int y) {
         return Rgba{std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t((x + y) * 2), 255};
       })},
      {"200 colours 64x64", ImageOf(64, 64, [](int x, int y) {
         const int i = (x * 64 + y) % 200;
         return Rgba{std::uint8_t(i), std::uint8_t(i * 7), std::uint8_t(255 - i), 255};
       })},
  };
  for (const Case& c : cases) {
    const Bytes bytes = castdata::MakeCastPicture(c.image);
    ASSERT_EQ(bytes.size(), castdata::kCastPictureSize) << c.what;  // the upload's check
    ASSERT_TRUE(castdata::IsCastPicture(bytes)) << c.what;
    EXPECT_NO_THROW(castdata::WriteCastPackage({"ABC", bytes, Bytes(186, 0), Bytes(10, 'x')})) << c.what;
    const std::optional<RgbaImage> ours = castdata::DecodeCastPicture(bytes);
    ASSERT_TRUE(ours) << c.what;
    EXPECT_EQ(ReadByQt(bytes), ours) << c.what;

    const RgbaImage reference = castdata::ScaleToCastPicture(c.image);
    const Errors errors = MeanAbsoluteErrors(*ours, reference);
    const bool fewColours = testimages::DistinctColours(reference) <= 256;
    for (double e : errors.mean) EXPECT_LE(e, fewColours ? 0 : 8) << c.what;
  }
}

TEST(CastPicture, AFileThatIsACastPictureIsKeptByteForByte) {
  const RgbaImage other = testimages::Flat(3, 3, {255, 0, 0, 255});
  Bytes fromAnotherProgram = gamefixture::MakeCastPicture(5);
  castdata::PutUint32(fromAnotherProgram, 2, 0);  // no file size, as some programs write
  for (const Bytes& picture : {gamefixture::MakeCastPicture(9), fromAnotherProgram}) {
    EXPECT_EQ(castdata::CastPictureToWrite("drawn.bmp", picture, other), picture);
    EXPECT_EQ(castdata::CastPictureToWrite("drawn.bmp", picture, RgbaImage{}), picture);
  }
  // 5174 bytes, but no bitmap: made anew from the image.
  const Bytes noPicture(castdata::kCastPictureSize, 'P');
  EXPECT_EQ(castdata::CastPictureToWrite("drawn.bmp", noPicture, other), castdata::MakeCastPicture(other));
}

TEST(CastPicture, AFileWithoutAnImageFailsNamingIt) {
  for (const RgbaImage& image : {RgbaImage{}, RgbaImage{2, 2, Bytes(3)}}) {
    try {
      castdata::CastPictureToWrite("pictures/drawn.png", Bytes{'x'}, image);
      FAIL() << "made a picture of nothing";
    } catch (const castdata::Error& error) {
      EXPECT_STREQ(error.what(), "「pictures/drawn.png」を読み込めません: 画像ファイルではないか、壊れています");
    }
  }
}

}  // namespace
