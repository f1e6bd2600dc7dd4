#include "picture_module.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "image_file.h"

extern "C" void CastToolPictureFromImageFile(const char* path, CastToolPictureResult result, void* context) {
  std::vector<std::uint8_t> picture;
  try {
    picture = pictureimport::CastPictureFromImageFile(path);
  } catch (const std::exception& error) {
    result(context, nullptr, 0, error.what());
    return;
  }
  result(context, picture.data(), picture.size(), nullptr);
}
