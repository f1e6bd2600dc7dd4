// What the picture fuzz targets count in an image.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rgba_image.h"

namespace fuzzcheck {

// The number of distinct colours of `image`, alpha left out.
inline std::size_t DistinctColours(const castdata::RgbaImage& image) {
  std::vector<std::uint32_t> keys;
  for (std::size_t at = 0; at + 3 < image.rgba.size(); at += 4) {
    keys.push_back(std::uint32_t{image.rgba[at]} << 16 | std::uint32_t{image.rgba[at + 1]} << 8 | image.rgba[at + 2]);
  }
  std::sort(keys.begin(), keys.end());
  return static_cast<std::size_t>(std::unique(keys.begin(), keys.end()) - keys.begin());
}

}  // namespace fuzzcheck
