// The cast picture made from any image: the input's first two bytes give the
// image's width and height (1 to 160 each), the rest its RGBA pixels, repeated
// as far as the image needs. Whatever the image, the result is a cast picture
// of 5174 bytes whose pixels are the scaled image's own colours whenever that
// has 256 colours or fewer.
#include <cstdint>

#include "cast_picture.h"
#include "cast_picture_format.h"
#include "fuzz_check.h"
#include "picture_colours.h"
#include "picture_scaling.h"

namespace {

castdata::RgbaImage ImageFrom(std::span<const std::uint8_t> input) {
  castdata::RgbaImage image;
  image.width = 1 + (input.size() > 0 ? input[0] % 160 : 0);
  image.height = 1 + (input.size() > 1 ? input[1] % 160 : 0);
  const std::span<const std::uint8_t> pixels = input.size() > 2 ? input.subspan(2) : input.first(0);
  image.rgba.resize(std::size_t(image.width) * std::size_t(image.height) * 4);
  for (std::size_t i = 0; i < image.rgba.size(); ++i) {
    image.rgba[i] = pixels.empty() ? 0 : pixels[i % pixels.size()];
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const castdata::RgbaImage image = ImageFrom(fuzzcheck::Bytes(data, size));
  const std::vector<std::uint8_t> picture = castdata::MakeCastPicture(image);
  FUZZ_CHECK(picture.size() == castdata::kCastPictureSize);
  const std::optional<castdata::RgbaImage> decoded = castdata::DecodeCastPicture(picture);
  FUZZ_CHECK(decoded.has_value());
  const castdata::RgbaImage scaled = castdata::ScaleToCastPicture(image);
  if (fuzzcheck::DistinctColours(scaled) <= 256) FUZZ_CHECK(*decoded == scaled);
  return 0;
}
