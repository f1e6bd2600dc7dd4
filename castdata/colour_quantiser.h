// Reducing an image's colours to a palette of at most 256, as an 8-bit
// picture holds them.
//
// - An image of 256 or fewer distinct colours keeps every colour exactly:
//   the palette is its colours in ascending order (red, then green, then
//   blue).
// - Otherwise the palette comes from a median cut in the variance-minimising
//   form: starting from one box that holds every colour (each weighted by its
//   number of pixels), the box with the largest squared error is split, at
//   the place along red, green or blue that leaves the two halves with the
//   smallest squared error together, until there are 256 boxes; each box
//   gives its mean colour. Then k-means passes move each palette colour to
//   the mean of the pixels nearest to it, for as long as a pass lowers the
//   total squared error (at most kRefinementPasses), and the best palette
//   found is kept.
// - Every pixel takes its nearest palette colour (squared distance in RGB;
//   of equally near ones the first).
//
// There is no error diffusion: at 64 x 64 pixels with 256 colours a palette
// colour serves a handful of pixels, and dither would add visible grain and
// a larger error against the image for no gain.
//
// The work grows with the number of distinct colours times the palette's
// size: it is meant for a picture of a few thousand pixels, as the cast
// picture's 4096.
//
// The result depends on the pixels alone: the same image always gives the
// same palette and the same indices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rgba_image.h"

namespace castdata {

inline constexpr std::size_t kMostPaletteColours = 256;
inline constexpr int kRefinementPasses = 8;

// An image of palette indices.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;           // 1 to 256 colours
  std::vector<std::uint8_t> indices;  // width * height, rows top-down

  bool operator==(const IndexedImage&) const = default;
};

// The colours of `image` (alpha is ignored: lay the image over a background
// first, as ScaleToCastPicture does) reduced to at most 256. Throws
// std::invalid_argument for an image that is not well formed.
IndexedImage QuantiseColours(const RgbaImage& image);

}  // namespace castdata
