#include "cast_picture.h"

#include "cast_file_path.h"
#include "cast_picture_format.h"
#include "colour_quantiser.h"
#include "error.h"
#include "picture_scaling.h"

namespace castdata {

std::vector<std::uint8_t> MakeCastPicture(const RgbaImage& image) {
  return EncodeCastPicture(QuantiseColours(ScaleToCastPicture(image)));
}

std::vector<std::uint8_t> CastPictureToWrite(const std::filesystem::path& source,
                                             std::span<const std::uint8_t> sourceBytes,
                                             const RgbaImage& decoded) {
  if (IsCastPicture(sourceBytes)) return {sourceBytes.begin(), sourceBytes.end()};
  if (!decoded.IsWellFormed()) throw Error(CannotRead(source, "画像ファイルではないか、壊れています"));
  return MakeCastPicture(decoded);
}

}  // namespace castdata
