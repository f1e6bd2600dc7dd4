// An image file of any format the installed Qt image readers take (PNG,
// JPEG, BMP, GIF, WebP with Debian's qt6-image-formats-plugins, ...) made into
// the bytes of a cast picture: the player's drawing or photo, whatever
// program saved it.
//
// A file that already is a cast picture is taken byte for byte; any other
// image is converted by castdata (cast_picture.h). A JPEG's orientation tag
// is applied, so a photo stands as the camera held it; of an animation the
// first frame is taken.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "rgba_image.h"

namespace pictureimport {

// No image file a player would use comes near this; a larger file (a film
// dropped by mistake) is refused before it is read into memory.
inline constexpr std::uintmax_t kLargestImageFile = 64u << 20;

// The image in `bytes`, 8-bit RGBA not premultiplied, rows top-down; an
// empty image when no installed reader takes the bytes.
castdata::RgbaImage DecodeImage(std::span<const std::uint8_t> bytes);

// The 5174 bytes to write as the cast picture made from the image file
// `file`. Throws castdata::Error naming the file and the reason when it
// cannot be read, is not a regular file, is larger than kLargestImageFile
// or holds no image.
std::vector<std::uint8_t> CastPictureFromImageFile(const std::filesystem::path& file);

}  // namespace pictureimport
