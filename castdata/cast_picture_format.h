// The cast picture cast/NAME.bmp: a Windows bitmap of 64 x 64 pixels with 256
// colours, 5174 bytes. The upload refuses a picture of any other length, and a
// cast package carries exactly 5174 bytes of picture.
//
// Layout as written, offsets in bytes, numbers little-endian; the last column
// is what the reader accepts from other programs:
//
// | Offset | Size | Field                        | Written        | Accepted              |
// |--------|------|------------------------------|----------------|-----------------------|
// | 0      | 2    | signature                    | "BM"           | "BM"                  |
// | 2      | 4    | file size                    | 5174           | any                   |
// | 6      | 4    | reserved                     | 0              | any                   |
// | 10     | 4    | pixel offset P               | 1078           | palette end to 1078   |
// | 14     | 4    | info header size H           | 40             | 40, 108 or 124        |
// | 18     | 4    | width                        | 64             | 64                    |
// | 22     | 4    | height                       | 64: bottom-up  | 64, or -64: top-down  |
// | 26     | 2    | planes                       | 1              | 1                     |
// | 28     | 2    | bits per pixel               | 8              | 8                     |
// | 30     | 4    | compression                  | 0: none        | 0                     |
// | 34     | 4    | image size                   | 4096           | any                   |
// | 38     | 4    | horizontal pixels per metre  | 2835 (72 dpi)  | any                   |
// | 42     | 4    | vertical pixels per metre    | 2835           | any                   |
// | 46     | 4    | colours used N               | 256            | 0 (meaning 256) to 256|
// | 50     | 4    | important colours            | 0: all         | any                   |
// | 14 + H | 4 N  | palette: blue, green, red, 0 | 256 entries,   | N entries             |
// |        |      |                              | unused all 0   |                       |
// | P      | 4096 | pixels: one palette index    | 64 a row, no   | the same              |
// |        |      | each                         | padding        |                       |
//
// The whole file is exactly 5174 bytes in either case: 14 + 40 + 1024 + 4096
// as written. Rows are 64 bytes, a multiple of 4, so they need no padding. A
// pixel whose index lies beyond the palette reads as black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "colour_quantiser.h"
#include "rgba_image.h"

namespace castdata {

inline constexpr std::size_t kCastPictureSize = 5174;  // a 64x64 picture with 256 colours

// The bytes of the 64 x 64 `picture`. Throws std::invalid_argument for a
// picture of another size, an empty palette or one of more than 256 colours,
// or an index beyond the palette.
std::vector<std::uint8_t> EncodeCastPicture(const IndexedImage& picture);

// nullopt when `bytes` are a cast picture as the table above accepts it;
// otherwise why not, in Japanese ("大きさが5174バイトではありません（100バイト）").
std::optional<std::string> CastPictureProblem(std::span<const std::uint8_t> bytes);

bool IsCastPicture(std::span<const std::uint8_t> bytes);

// The 64 x 64 pixels of a cast picture, opaque, rows top-down; nullopt for
// bytes that are not one (CastPictureProblem says why).
std::optional<RgbaImage> DecodeCastPicture(std::span<const std::uint8_t> bytes);

}  // namespace castdata
