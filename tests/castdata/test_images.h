// Images made by the picture tests from a rule per pixel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <set>

#include "rgba_image.h"

namespace testimages {

using Rgba = std::array<std::uint8_t, 4>;

// A `width` x `height` image whose pixel at column x, row y (from the top) is
// pixel(x, y).
inline castdata::RgbaImage ImageOf(int width, int height, const std::function<Rgba(int, int)>& pixel) {
  castdata::RgbaImage image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgba rgba = pixel(x, y);
      image.rgba.insert(image.rgba.end(), rgba.begin(), rgba.end());
    }
  }
  return image;
}

inline castdata::RgbaImage Flat(int width, int height, Rgba colour) {
  return ImageOf(width, height, [colour](int, int) { return colour; });
}

inline std::size_t DistinctColours(const castdata::RgbaImage& image) {
  std::set<castdata::Rgb> colours;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) colours.insert(image.ColourAt(x, y));
  }
  return colours.size();
}

}  // namespace testimages
