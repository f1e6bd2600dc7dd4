#include "cast_picture_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "cast_picture_fixture.h"
#include "little_endian.h"
#include "test_images.h"

namespace {

using castdata::DecodeCastPicture;
using castdata::IndexedImage;
using castdata::IsCastPicture;
using castdata::Rgb;
using castdata::RgbaImage;

using Bytes = std::vector<std::uint8_t>;

// Three colours; the index of pixel (x, y) is (x + 2y) mod 3, so no two rows
// or columns in a row are alike.
IndexedImage ThreeColours() {
  IndexedImage picture{64, 64, {{10, 20, 30}, {200, 100, 0}, {1, 2, 3}}, {}};
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) picture.indices.push_back(std::uint8_t((x + 2 * y) % 3));
  }
  return picture;
}

RgbaImage Expanded(const IndexedImage& picture) {
  return testimages::ImageOf(64, 64, [&](int x, int y) {
    const Rgb c = picture.palette[picture.indices[std::size_t(y) * 64 + x]];
    return testimages::Rgba{c.red, c.green, c.blue, 255};
  });
}

TEST(CastPictureFormat, WritesTheBitmapHeadersPaletteAndBottomUpRows) {
  const IndexedImage picture = ThreeColours();
  const Bytes bytes = castdata::EncodeCastPicture(picture);
  ASSERT_EQ(bytes.size(), 5174U);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  struct Field {
    std::size_t offset;
    std::size_t size;
    std::uint32_t value;
  };
  for (const Field& f : {Field{2, 4, 5174}, Field{6, 4, 0}, Field{10, 4, 1078}, Field{14, 4, 40}, Field{18, 4, 64},
                         Field{22, 4, 64}, Field{26, 2, 1}, Field{28, 2, 8}, Field{30, 4, 0}, Field{34, 4, 4096},
                         Field{38, 4, 2835}, Field{42, 4, 2835}, Field{46, 4, 256}, Field{50, 4, 0}}) {
    const std::uint32_t value = f.size == 2 ? std::uint16_t(castdata::Int16At(bytes, f.offset))
                                            : castdata::Uint32At(bytes, f.offset);
    EXPECT_EQ(value, f.value) << "offset " << f.offset;
  }
  // Blue, green, red, 0; the 253 unused entries all zero.
  EXPECT_EQ(Bytes(bytes.begin() + 54, bytes.begin() + 66), (Bytes{30, 20, 10, 0, 0, 100, 200, 0, 3, 2, 1, 0}));
  EXPECT_TRUE(std::all_of(bytes.begin() + 66, bytes.begin() + 1078, [](std::uint8_t b) { return b == 0; }));
  // The top row is stored last, the bottom row first.
  for (int x = 0; x < 64; ++x) {
    EXPECT_EQ(bytes[1078 + 63 * 64 + x], picture.indices[x]) << x;
    EXPECT_EQ(bytes[1078 + x], picture.indices[63 * 64 + x]) << x;
  }
  EXPECT_EQ(DecodeCastPicture(bytes), Expanded(picture));
}

// The picture `bytes` with the 32-bit field at `offset` set to `value`.
Bytes With(Bytes bytes, std::size_t offset, std::uint32_t value) {
  castdata::PutUint32(bytes, offset, value);
  return bytes;
}

TEST(CastPictureFormat, AcceptsTheVariantsOtherProgramsWrite) {
  const IndexedImage picture = ThreeColours();
  const Bytes ours = castdata::EncodeCastPicture(picture);
  // Rows stored top row first, marked by a negative height.
  Bytes topDown = With(ours, 22, std::uint32_t(-64));
  for (int y = 0; y < 64; ++y) {
    std::copy_n(ours.begin() + 1078 + (63 - y) * 64, 64, topDown.begin() + 1078 + y * 64);
  }
  // A palette of three entries, the pixels at once after it, the file padded to 5174.
  Bytes shortPalette = With(With(ours, 46, 3), 10, 54 + 12);
  std::copy(ours.begin() + 1078, ours.end(), shortPalette.begin() + 66);
  struct Case {
    std::string what;
    Bytes bytes;
  };
  for (const Case& c : {Case{"ours", ours}, Case{"file size 0", With(ours, 2, 0)}, Case{"image size 0", With(ours, 34, 0)},
                        Case{"colours used 0", With(ours, 46, 0)}, Case{"top-down", topDown},
                        Case{"three palette entries", shortPalette}}) {
    EXPECT_TRUE(IsCastPicture(c.bytes)) << c.what << ": " << castdata::CastPictureProblem(c.bytes).value_or("");
    EXPECT_EQ(DecodeCastPicture(c.bytes), Expanded(picture)) << c.what;
  }
  EXPECT_TRUE(IsCastPicture(gamefixture::MakeCastPicture(3)));
}

TEST(CastPictureFormat, RefusesWhatIsNoCastPicture) {
  const Bytes ours = castdata::EncodeCastPicture(ThreeColours());
  Bytes longer = ours;
  longer.push_back(0);
  Bytes notBm = ours;
  notBm[1] = 'A';
  const auto withShort = [&](std::size_t offset, std::uint16_t value) {
    Bytes bytes = ours;
    castdata::PutInt16(bytes, offset, std::int16_t(value));
    return bytes;
  };
  struct Case {
    std::string what;
    Bytes bytes;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {"empty", {}, "大きさが5174バイトではありません（0バイト）"},
      {"one byte short", Bytes(ours.begin(), ours.end() - 1), "大きさが5174バイトではありません（5173バイト）"},
      {"one byte long", longer, "大きさが5174バイトではありません（5175バイト）"},
      {"no BM", notBm, "BMPファイルではありません"},
      {"OS/2 header", With(ours, 14, 12), "BMPファイルではありません"},
      {"32 wide", With(ours, 18, 32), "64×64の画像ではありません（32×64）"},
      {"65 high", With(ours, 22, 65), "64×64の画像ではありません（64×65）"},
      {"two planes", withShort(26, 2), "256色（8ビット）の画像ではありません"},
      {"4 bits", withShort(28, 4), "256色（8ビット）の画像ではありません"},
      {"24 bits", withShort(28, 24), "256色（8ビット）の画像ではありません"},
      {"run-length", With(ours, 30, 1), "圧縮された画像です"},
      {"257 colours", With(ours, 46, 257), "パレットが256色を超えています"},
      {"pixels cut off", With(ours, 10, 1079), "画素の位置が正しくありません"},
      {"pixels inside the palette", With(ours, 10, 1077), "画素の位置が正しくありません"},
      {"pixel offset wraps", With(ours, 10, 0xFFFFFFFF), "画素の位置が正しくありません"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(castdata::CastPictureProblem(c.bytes), c.problem) << c.what;
    EXPECT_FALSE(IsCastPicture(c.bytes)) << c.what;
    EXPECT_EQ(DecodeCastPicture(c.bytes), std::nullopt) << c.what;
  }
}

TEST(CastPictureFormat, APixelBeyondThePaletteReadsAsBlack) {
  Bytes bytes = With(castdata::EncodeCastPicture(ThreeColours()), 46, 2);
  bytes[1078 + 63 * 64] = 255;  // top left
  bytes[1078 + 63 * 64 + 1] = 2;  // beyond the two entries now in use
  const std::optional<RgbaImage> image = DecodeCastPicture(bytes);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->ColourAt(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(image->ColourAt(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(image->ColourAt(3, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(image->ColourAt(4, 0), (Rgb{200, 100, 0}));
}

}  // namespace
