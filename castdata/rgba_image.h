// An image in memory, as the picture code takes it in and gives it back: the
// caller decodes any picture file (with whatever library it links) into one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace castdata {

// One colour, 8 bits a channel.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  auto operator<=>(const Rgb&) const = default;
};

// `width` x `height` pixels of four bytes each (red, green, blue, alpha, alpha
// 255 = opaque, not premultiplied), rows top-down, no padding between rows.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  // Whether the image has at least one pixel and exactly the bytes its size
  // asks for.
  bool IsWellFormed() const {
    return width > 0 && height > 0 &&
           rgba.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  }

  // The colour of the pixel at column x, row y (from the top), alpha left out.
  Rgb ColourAt(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
    return Rgb{rgba[at], rgba[at + 1], rgba[at + 2]};
  }

  bool operator==(const RgbaImage&) const = default;
};

}  // namespace castdata
