#include "colour_quantiser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_images.h"

namespace {

using castdata::IndexedImage;
using castdata::QuantiseColours;
using castdata::RgbaImage;
using testimages::ImageOf;
using testimages::Rgba;

// A 64 x 64 image of `count` distinct colours taken across a 16 x 16 x 16
// grid (the odd step 1237 visits every point once), pixel p taking colour
// p mod count.
RgbaImage SpreadColours(int count) {
  return ImageOf(64, 64, [count](int x, int y) {
    const int point = (y * 64 + x) % count * 1237 % 4096;
    return Rgba{std::uint8_t(point % 16 * 17), std::uint8_t(point / 16 % 16 * 17), std::uint8_t(point / 256 * 17), 255};
  });
}

// The largest difference in any channel between the image and its
// quantised form.
int LargestDifference(const RgbaImage& image, const IndexedImage& quantised) {
  int largest = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const castdata::Rgb a = image.ColourAt(x, y);
      const castdata::Rgb b = quantised.palette.at(quantised.indices.at(std::size_t(y) * 64 + x));
      largest = std::max({largest, std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
    }
  }
  return largest;
}

TEST(ColourQuantiser, KeepsUpTo256ColoursExactlyAndMergesOnlyNearColoursBeyond) {
  struct Case {
    int colours;
    std::size_t paletteSize;
    int largestDifference;
  };
  // Grid points lie 17 apart. Of 257 the best is to merge two neighbours
  // (each then 8.5 off); the whole grid is best cut into cells of 2 x 2 x 4
  // points, whose outer points lie 1.5 steps (25.5) from the centre.
  for (const Case& c : {Case{1, 1, 0}, Case{2, 2, 0}, Case{256, 256, 0}, Case{257, 256, 9}, Case{4096, 256, 26}}) {
    const RgbaImage image = SpreadColours(c.colours);
    ASSERT_EQ(testimages::DistinctColours(image), std::size_t(c.colours));
    const IndexedImage quantised = QuantiseColours(image);
    EXPECT_EQ(quantised.width, 64);
    EXPECT_EQ(quantised.height, 64);
    EXPECT_EQ(quantised.palette.size(), c.paletteSize) << c.colours;
    EXPECT_LE(LargestDifference(image, quantised), c.largestDifference) << c.colours;
  }
}

}  // namespace
