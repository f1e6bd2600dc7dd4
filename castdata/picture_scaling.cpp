#include "picture_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace castdata {
namespace {

// A source pixel (its index along one axis of the cropped square) and its
// share in one picture pixel.
struct Contribution {
  int source;
  double weight;
};

// For each of the 64 picture pixels along one axis, the source pixels it is
// made of, their weights summing to 1. Both axes of the square share them.
std::vector<std::vector<Contribution>> AxisContributions(int side) {
  std::vector<std::vector<Contribution>> contributions(kCastPictureSide);
  const double step = static_cast<double>(side) / kCastPictureSide;
  for (int i = 0; i < kCastPictureSide; ++i) {
    std::vector<Contribution>& into = contributions[i];
    if (side >= kCastPictureSide) {
      // The area [begin, end) in source pixels, computed from whole numbers
      // so that a factor of 1 gives weights of exactly 1.
      const double begin = static_cast<double>(static_cast<long long>(i) * side) / kCastPictureSide;
      const double end = static_cast<double>(static_cast<long long>(i + 1) * side) / kCastPictureSide;
      for (int k = static_cast<int>(std::floor(begin)); k < side && k < end; ++k) {
        const double covered = std::min(end, k + 1.0) - std::max(begin, static_cast<double>(k));
        if (covered > 0) into.push_back({k, covered / step});
      }
    } else {
      const double centre = std::clamp((i + 0.5) * step - 0.5, 0.0, side - 1.0);
      const int before = static_cast<int>(std::floor(centre));
      const double fraction = centre - before;
      into.push_back({before, 1.0 - fraction});
      if (fraction > 0) into.push_back({before + 1, fraction});
    }
  }
  return contributions;
}

using Colour = std::array<double, 3>;

// The source pixel at byte `at` laid over the background by its alpha.
Colour OverBackground(const std::vector<std::uint8_t>& rgba, std::size_t at) {
  const double alpha = rgba[at + 3];
  const std::array<double, 3> background = {double(kCastPictureBackground.red),
                                            double(kCastPictureBackground.green),
                                            double(kCastPictureBackground.blue)};
  Colour out;
  for (int c = 0; c < 3; ++c) out[c] = (rgba[at + c] * alpha + background[c] * (255.0 - alpha)) / 255.0;
  return out;
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

RgbaImage ScaleToCastPicture(const RgbaImage& image) {
  if (!image.IsWellFormed()) throw std::invalid_argument("ScaleToCastPicture: not a well-formed image");
  const int side = std::min(image.width, image.height);
  const std::size_t left = static_cast<std::size_t>((image.width - side) / 2);
  const std::size_t top = static_cast<std::size_t>((image.height - side) / 2);
  const std::vector<std::vector<Contribution>> contributions = AxisContributions(side);

  // First across: every row of the square becomes 64 columns.
  std::vector<Colour> rows(static_cast<std::size_t>(side) * kCastPictureSide, Colour{});
  for (std::size_t y = 0; y < static_cast<std::size_t>(side); ++y) {
    const std::size_t rowStart = (top + y) * static_cast<std::size_t>(image.width) + left;
    for (int x = 0; x < kCastPictureSide; ++x) {
      Colour& sum = rows[y * kCastPictureSide + x];
      for (const Contribution& from : contributions[x]) {
        const Colour colour = OverBackground(image.rgba, (rowStart + from.source) * 4);
        for (int c = 0; c < 3; ++c) sum[c] += from.weight * colour[c];
      }
    }
  }

  // Then down: the 64 columns of the rows become the 64 rows of the picture.
  RgbaImage picture{kCastPictureSide, kCastPictureSide,
                    std::vector<std::uint8_t>(kCastPictureSide * kCastPictureSide * 4)};
  for (int y = 0; y < kCastPictureSide; ++y) {
    for (int x = 0; x < kCastPictureSide; ++x) {
      Colour sum{};
      for (const Contribution& from : contributions[y]) {
        const Colour& colour = rows[static_cast<std::size_t>(from.source) * kCastPictureSide + x];
        for (int c = 0; c < 3; ++c) sum[c] += from.weight * colour[c];
      }
      std::uint8_t* pixel = &picture.rgba[(static_cast<std::size_t>(y) * kCastPictureSide + x) * 4];
      for (int c = 0; c < 3; ++c) pixel[c] = ToByte(sum[c]);
      pixel[3] = 255;
    }
  }
  return picture;
}

}  // namespace castdata
