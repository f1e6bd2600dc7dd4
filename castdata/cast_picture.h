// The cast picture made from any image the player chose or drew.
//
// Picture programs rarely save what the game needs (most write 24-bit
// bitmaps, or palettes of fewer than 256 entries), so an image is brought to
// the cast picture's form here: scaled to 64 x 64 covering the square
// (picture_scaling.h), laid over white where it is transparent, its colours
// reduced to at most 256 (colour_quantiser.h) and written as the 5174-byte
// bitmap (cast_picture_format.h). A file that already is a cast picture is
// never rewritten: its bytes are taken as they are.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "rgba_image.h"

namespace castdata {

// The 5174 bytes of the cast picture made from `image`. Throws
// std::invalid_argument for an image that is not well formed.
std::vector<std::uint8_t> MakeCastPicture(const RgbaImage& image);

// The bytes to write as the cast picture for the image file `source`, whose
// bytes are `sourceBytes` and which the caller decoded into `decoded`: the
// file's own bytes when they are a cast picture already (IsCastPicture),
// otherwise MakeCastPicture(decoded). Throws castdata::Error naming `source`
// when it is no cast picture and `decoded` holds no image (a file the caller
// could not decode is handed in as an empty image).
std::vector<std::uint8_t> CastPictureToWrite(const std::filesystem::path& source,
                                             std::span<const std::uint8_t> sourceBytes,
                                             const RgbaImage& decoded);

}  // namespace castdata
