// Any image brought to the cast picture's 64 x 64 pixels.
//
// The picture covers its square: the image is cropped at its centre to a
// square as wide as its shorter side (whole source pixels; of an odd
// difference the extra column goes to the right, the extra row to the
// bottom), and that square is scaled to 64 x 64 with the same factor on both
// axes, so nothing is stretched.
//
// - Shrinking averages the area each picture pixel covers, a source pixel
//   that lies partly inside counted by the part inside.
// - Enlarging interpolates bilinearly between the four nearest source pixel
//   centres; beyond the outermost centres the edge pixels hold. A 1 x 1 image
//   becomes a flat picture.
// - A square of exactly 64 x 64 pixels comes out unchanged.
//
// The cast picture has no transparency. Every source pixel is laid over the
// background, white, by its alpha before it is averaged. As laying over a
// background is linear in the colour, this is the same as averaging
// alpha-weighted colours and laying the result over white once: the colour
// of a transparent pixel never shows, however bright it is.
#pragma once

#include "rgba_image.h"

namespace castdata {

inline constexpr int kCastPictureSide = 64;
inline constexpr Rgb kCastPictureBackground{255, 255, 255};

// The 64 x 64 picture of `image`, every pixel opaque (alpha 255). Throws
// std::invalid_argument for an image that is not well formed.
RgbaImage ScaleToCastPicture(const RgbaImage& image);

}  // namespace castdata
