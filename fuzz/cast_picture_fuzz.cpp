// The cast picture reader on any bytes. Bytes are a cast picture exactly
// when the check finds no problem, and then the reader decodes them into 64 x
// 64 opaque pixels. An accepted picture is kept byte for byte when it is to be
// written, and one of 256 colours or fewer is written anew without losing a
// colour.
#include <cstdint>

#include "cast_picture.h"
#include "cast_picture_format.h"
#include "fuzz_check.h"
#include "picture_colours.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzzcheck::Bytes(data, size);
  const std::optional<std::string> problem = castdata::CastPictureProblem(input);
  const std::optional<castdata::RgbaImage> image = castdata::DecodeCastPicture(input);
  FUZZ_CHECK(castdata::IsCastPicture(input) == !problem);
  FUZZ_CHECK(image.has_value() == !problem);
  if (problem) {
    FUZZ_CHECK(!problem->empty() && fuzzcheck::IsUtf8(*problem));
    return 0;
  }

  FUZZ_CHECK(size == castdata::kCastPictureSize && data[0] == 'B' && data[1] == 'M');
  FUZZ_CHECK(image->width == 64 && image->height == 64 && image->IsWellFormed());
  for (std::size_t at = 3; at < image->rgba.size(); at += 4) FUZZ_CHECK(image->rgba[at] == 255);

  const std::vector<std::uint8_t> kept = castdata::CastPictureToWrite("fuzz.bmp", input, *image);
  FUZZ_CHECK(std::equal(kept.begin(), kept.end(), input.begin(), input.end()));
  // A palette of 256 plus black for indices beyond it: a 257th colour can
  // only come from there.
  if (fuzzcheck::DistinctColours(*image) <= 256) {
    const std::vector<std::uint8_t> again = castdata::MakeCastPicture(*image);
    FUZZ_CHECK(castdata::DecodeCastPicture(again) == image);
  }
  return 0;
}
