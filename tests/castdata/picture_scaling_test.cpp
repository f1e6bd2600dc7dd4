#include "picture_scaling.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_images.h"

namespace {

using castdata::RgbaImage;
using castdata::ScaleToCastPicture;
using testimages::Flat;
using testimages::ImageOf;
using testimages::Rgba;

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};

TEST(PictureScaling, CoversTheSquareAveragesAndLaysTransparencyOverWhite) {
  struct Case {
    std::string what;
    RgbaImage image;
    RgbaImage expected;
  };
  const RgbaImage noise = ImageOf(64, 64, [](int x, int y) {
    return Rgba{std::uint8_t(x * 7 + y), std::uint8_t(x * y), std::uint8_t(y * 13 ^ x), 255};
  });
  const std::vector<Case> cases = {
      {"64x64 unchanged", noise, noise},
      {"1x1 flat", Flat(1, 1, {10, 200, 30, 255}), Flat(64, 64, {10, 200, 30, 255})},
      {"flat shrunk by 1.5625", Flat(100, 100, {200, 100, 50, 255}), Flat(64, 64, {200, 100, 50, 255})},
      {"flat enlarged by 1.73", Flat(37, 37, {200, 100, 50, 255}), Flat(64, 64, {200, 100, 50, 255})},
      {"checkerboard shrunk by 2 is its mean",
       ImageOf(128, 128, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; }),
       Flat(64, 64, {128, 128, 128, 255})},
      // The middle 64 columns; of the odd 129 left over the extra one is on the right.
      {"wide cropped at the centre", ImageOf(64 + 64 + 65, 64, [](int x, int) { return x >= 64 && x < 128 ? kBlue : kRed; }),
       Flat(64, 64, kBlue)},
      {"tall cropped at the centre", ImageOf(64, 64 + 64 + 65, [](int, int y) { return y >= 64 && y < 128 ? kBlue : kRed; }),
       Flat(64, 64, kBlue)},
      {"transparent colour never shows", Flat(5, 3, {0, 255, 0, 0}), Flat(64, 64, kWhite)},
      {"half-transparent black over white", Flat(100, 100, {0, 0, 0, 128}), Flat(64, 64, {127, 127, 127, 255})},
      // Red and white (transparent green laid over white) in equal parts; an
      // average of the raw colours would bring green in.
      {"transparent pixels weigh nothing in an average",
       ImageOf(128, 128, [](int x, int y) { return (x + y) % 2 ? Rgba{0, 255, 0, 0} : kRed; }),
       Flat(64, 64, {255, 128, 128, 255})},
  };
  for (const Case& c : cases) {
    const RgbaImage picture = ScaleToCastPicture(c.image);
    EXPECT_EQ(picture, c.expected) << c.what;
  }
}

TEST(PictureScaling, EnlargingIsSmooth) {
  // Black left, white right: the picture rises steadily from black to white.
  const RgbaImage picture = ScaleToCastPicture(ImageOf(2, 2, [](int x, int) { return x ? kWhite : kBlack; }));
  std::set<std::uint8_t> levels;
  for (int x = 0; x < 64; ++x) {
    const castdata::Rgb colour = picture.ColourAt(x, 17);
    EXPECT_EQ(colour, picture.ColourAt(x, 50)) << x;
    EXPECT_EQ(colour.red, colour.blue) << x;
    if (x > 0) {
      EXPECT_GE(colour.red, picture.ColourAt(x - 1, 17).red) << x;
    }
    levels.insert(colour.red);
  }
  EXPECT_EQ(picture.ColourAt(0, 0).red, 0);
  EXPECT_EQ(picture.ColourAt(63, 0).red, 255);
  EXPECT_GE(levels.size(), 30U);  // not two blocks of nearest pixels
}

TEST(PictureScaling, RefusesAnImageThatIsNotWellFormed) {
  for (const RgbaImage& image : {RgbaImage{}, RgbaImage{2, 2, std::vector<std::uint8_t>(15)},
                                 RgbaImage{-1, -1, std::vector<std::uint8_t>(4)}}) {
    EXPECT_THROW(ScaleToCastPicture(image), std::invalid_argument);
  }
}

}  // namespace
