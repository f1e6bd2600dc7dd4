#include "picture_module_loader.h"

#include <dlfcn.h>

#include <optional>
#include <string>

#include "cast_file_path.h"
#include "error.h"
#include "game_folder_search.h"
#include "picture_module.h"

namespace casttool {
namespace {

struct Outcome {
  std::vector<std::uint8_t> picture;
  std::optional<std::string> error;
};

void Keep(void* context, const unsigned char* bytes, std::size_t size, const char* error) {
  auto& outcome = *static_cast<Outcome*>(context);
  if (error != nullptr) {
    outcome.error = error;
  } else {
    outcome.picture.assign(bytes, bytes + size);
  }
}

}  // namespace

std::vector<std::uint8_t> CastPictureFromImageFile(const std::filesystem::path& image) {
  const std::filesystem::path module = platform::ExecutableFolder() / CASTTOOL_PICTURE_MODULE;
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw castdata::Error(castdata::CannotRead(module, ::dlerror()));
  void* function = ::dlsym(handle, CASTTOOL_PICTURE_FUNCTION);
  if (function == nullptr) throw castdata::Error(castdata::CannotRead(module, ::dlerror()));
  Outcome outcome;
  reinterpret_cast<decltype(&CastToolPictureFromImageFile)>(function)(image.c_str(), Keep, &outcome);
  if (outcome.error) throw castdata::Error(*outcome.error);
  return std::move(outcome.picture);
}

}  // namespace casttool
