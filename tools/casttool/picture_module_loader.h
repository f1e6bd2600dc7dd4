// The picture module (picture_module/picture_module.h), loaded from
// casttool's own folder by the picture command alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace casttool {

// The 5174 bytes of the cast picture made from the image file `image`, by
// the module. castdata::Error naming the module and the reason when it cannot
// be loaded, or naming the image file and the reason when it gives no
// picture. The module stays loaded for the rest of the run: Qt's libraries
// are not made to be unloaded.
std::vector<std::uint8_t> CastPictureFromImageFile(const std::filesystem::path& image);

}  // namespace casttool
