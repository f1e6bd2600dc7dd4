#include "colour_quantiser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>

namespace castdata {
namespace {

// One distinct colour of the image and its number of pixels.
struct WeightedColour {
  Rgb colour;
  std::int64_t count;
};

std::uint32_t Key(Rgb colour) {
  return std::uint32_t{colour.red} << 16 | std::uint32_t{colour.green} << 8 | colour.blue;
}

int Channel(Rgb colour, int axis) {
  return axis == 0 ? colour.red : axis == 1 ? colour.green : colour.blue;
}

Rgb FromKey(std::uint32_t key) {
  return Rgb{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
             static_cast<std::uint8_t>(key)};
}

// The key of every pixel, in pixel order.
std::vector<std::uint32_t> PixelKeys(const RgbaImage& image) {
  std::vector<std::uint32_t> keys;
  keys.reserve(image.rgba.size() / 4);
  for (std::size_t at = 0; at < image.rgba.size(); at += 4) {
    keys.push_back(Key({image.rgba[at], image.rgba[at + 1], image.rgba[at + 2]}));
  }
  return keys;
}

// The distinct colours of the pixels in ascending order, with their pixel
// counts, and their keys in the same order for looking them up.
struct Distinct {
  std::vector<WeightedColour> colours;
  std::vector<std::uint32_t> keys;
};

Distinct DistinctColours(std::vector<std::uint32_t> keys) {
  std::sort(keys.begin(), keys.end());
  Distinct distinct;
  for (const std::uint32_t key : keys) {
    if (distinct.keys.empty() || distinct.keys.back() != key) {
      distinct.keys.push_back(key);
      distinct.colours.push_back({FromKey(key), 0});
    }
    ++distinct.colours.back().count;
  }
  return distinct;
}

// What a set of weighted colours adds up to: enough for its mean and its
// squared error about the mean.
struct Totals {
  double count = 0;
  std::array<double, 3> sum{};
  double squares = 0;

  void Add(const WeightedColour& c) {
    count += c.count;
    for (int axis = 0; axis < 3; ++axis) {
      const double value = Channel(c.colour, axis);
      sum[axis] += c.count * value;
      squares += c.count * value * value;
    }
  }
  Totals Minus(const Totals& part) const {
    Totals rest;
    rest.count = count - part.count;
    for (int axis = 0; axis < 3; ++axis) rest.sum[axis] = sum[axis] - part.sum[axis];
    rest.squares = squares - part.squares;
    return rest;
  }
  double SquaredError() const {
    double meanSquares = 0;
    for (double s : sum) meanSquares += s * s;
    return squares - meanSquares / count;
  }
  Rgb Mean() const {
    const auto channel = [&](int axis) {
      return static_cast<std::uint8_t>(std::clamp(std::lround(sum[axis] / count), 0L, 255L));
    };
    return Rgb{channel(0), channel(1), channel(2)};
  }
};

// A box of the median cut: the colours [begin, end) of the working list.
struct Box {
  std::size_t begin;
  std::size_t end;
  Totals totals;
  double error;
};

Box MakeBox(std::span<const WeightedColour> colours, std::size_t begin, std::size_t end) {
  Box box{begin, end, {}, 0};
  for (std::size_t i = begin; i < end; ++i) box.totals.Add(colours[i]);
  box.error = box.totals.SquaredError();
  return box;
}

void SortAlong(std::span<WeightedColour> colours, int axis) {
  std::sort(colours.begin(), colours.end(), [axis](const WeightedColour& a, const WeightedColour& b) {
    const int ca = Channel(a.colour, axis);
    const int cb = Channel(b.colour, axis);
    return ca != cb ? ca < cb : Key(a.colour) < Key(b.colour);
  });
}

// Splits `box`, of two colours or more, where the two halves have the
// smallest squared error together, leaving its colours sorted along the
// chosen axis; the position of the split. Two different colours differ
// along some axis, so there is always a place to split.
std::size_t SplitBox(std::vector<WeightedColour>& colours, const Box& box) {
  const std::span<WeightedColour> inside(colours.begin() + box.begin, colours.begin() + box.end);
  std::size_t bestSplit = 1;
  int bestAxis = 0;
  double bestError = std::numeric_limits<double>::infinity();
  for (int axis = 0; axis < 3; ++axis) {
    SortAlong(inside, axis);
    Totals before;
    for (std::size_t i = 1; i < inside.size(); ++i) {
      before.Add(inside[i - 1]);
      // Only between different values, so that each half is a box along
      // this axis.
      if (Channel(inside[i - 1].colour, axis) == Channel(inside[i].colour, axis)) continue;
      const double error = before.SquaredError() + box.totals.Minus(before).SquaredError();
      if (error < bestError) {
        bestError = error;
        bestSplit = i;
        bestAxis = axis;
      }
    }
  }
  SortAlong(inside, bestAxis);
  return box.begin + bestSplit;
}

std::vector<Rgb> MedianCutPalette(std::vector<WeightedColour> colours) {
  std::vector<Box> boxes{MakeBox(colours, 0, colours.size())};
  while (boxes.size() < kMostPaletteColours) {
    std::optional<std::size_t> largest;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2) continue;
      if (!largest || boxes[b].error > boxes[*largest].error) largest = b;
    }
    if (!largest) break;
    const Box box = boxes[*largest];
    const std::size_t split = SplitBox(colours, box);
    boxes[*largest] = MakeBox(colours, box.begin, split);
    boxes.push_back(MakeBox(colours, split, box.end));
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) palette.push_back(box.totals.Mean());
  return palette;
}

std::int64_t Distance(Rgb a, Rgb b) {
  const std::int64_t red = a.red - b.red;
  const std::int64_t green = a.green - b.green;
  const std::int64_t blue = a.blue - b.blue;
  return red * red + green * green + blue * blue;
}

// The index of the palette colour nearest to `colour`, the first of equally
// near ones.
std::uint8_t Nearest(const std::vector<Rgb>& palette, Rgb colour) {
  std::size_t best = 0;
  std::int64_t bestDistance = Distance(palette[0], colour);
  for (std::size_t i = 1; i < palette.size(); ++i) {
    const std::int64_t distance = Distance(palette[i], colour);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// Each colour's nearest palette index and the total squared error they make.
struct Assignment {
  std::vector<std::uint8_t> nearest;
  std::int64_t error = 0;
};

Assignment Assign(const std::vector<Rgb>& palette, const std::vector<WeightedColour>& colours) {
  Assignment assignment;
  for (const WeightedColour& c : colours) {
    const std::uint8_t index = Nearest(palette, c.colour);
    assignment.nearest.push_back(index);
    assignment.error += c.count * Distance(palette[index], c.colour);
  }
  return assignment;
}

// Each palette colour moved to the mean of the colours assigned to it; one
// that no colour is nearest to stays.
std::vector<Rgb> Recentred(const std::vector<Rgb>& palette, const std::vector<WeightedColour>& colours,
                           const Assignment& assignment) {
  std::vector<Totals> totals(palette.size());
  for (std::size_t i = 0; i < colours.size(); ++i) totals[assignment.nearest[i]].Add(colours[i]);
  std::vector<Rgb> moved = palette;
  for (std::size_t p = 0; p < palette.size(); ++p) {
    if (totals[p].count > 0) moved[p] = totals[p].Mean();
  }
  return moved;
}

std::vector<Rgb> RefinedPalette(std::vector<Rgb> palette, const std::vector<WeightedColour>& colours) {
  Assignment assignment = Assign(palette, colours);
  for (int pass = 0; pass < kRefinementPasses; ++pass) {
    std::vector<Rgb> moved = Recentred(palette, colours, assignment);
    Assignment next = Assign(moved, colours);
    if (next.error >= assignment.error) break;
    palette = std::move(moved);
    assignment = std::move(next);
  }
  return palette;
}

}  // namespace

IndexedImage QuantiseColours(const RgbaImage& image) {
  if (!image.IsWellFormed()) throw std::invalid_argument("QuantiseColours: not a well-formed image");
  const std::vector<std::uint32_t> pixelKeys = PixelKeys(image);
  const Distinct distinct = DistinctColours(pixelKeys);

  IndexedImage out{image.width, image.height, {}, {}};
  std::vector<std::uint8_t> indexOfDistinct;
  if (distinct.colours.size() <= kMostPaletteColours) {
    for (std::size_t i = 0; i < distinct.colours.size(); ++i) {
      out.palette.push_back(distinct.colours[i].colour);
      indexOfDistinct.push_back(static_cast<std::uint8_t>(i));
    }
  } else {
    out.palette = RefinedPalette(MedianCutPalette(distinct.colours), distinct.colours);
    for (const WeightedColour& c : distinct.colours) indexOfDistinct.push_back(Nearest(out.palette, c.colour));
  }

  out.indices.reserve(pixelKeys.size());
  for (const std::uint32_t key : pixelKeys) {
    const auto found = std::lower_bound(distinct.keys.begin(), distinct.keys.end(), key);
    out.indices.push_back(indexOfDistinct[static_cast<std::size_t>(found - distinct.keys.begin())]);
  }
  return out;
}

}  // namespace castdata
