#include "scrambling_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace platform {

ScramblingLibrary::ScramblingLibrary(std::string libraryPath)
    : libraryPath_(std::move(libraryPath)) {}

ScramblingLibrary::~ScramblingLibrary() {
  if (handle_ != nullptr) {
    dlclose(handle_);
  }
}

std::int32_t ScramblingLibrary::FilePack(const std::string& path) {
  return Bind(filePack_, "FilePack")(path.c_str());
}

std::int32_t ScramblingLibrary::FileUnpack(const std::string& path) {
  return Bind(fileUnpack_, "FileUnpack")(path.c_str());
}

ScramblingLibrary::Export ScramblingLibrary::Bind(Export& cached, const char* name) {
  if (cached != nullptr) {
    return cached;
  }
  if (handle_ == nullptr) {
    // The library is opened by its full path in the working folder of the
    // moment: dlopen hands back an object it already holds under the same
    // name, so a relative name would find a library still loaded from another
    // folder instead of this folder's file (or its absence).
    std::error_code ignored;
    const std::filesystem::path fullPath = std::filesystem::absolute(libraryPath_, ignored);
    handle_ = dlopen(fullPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
      const char* reason = dlerror();
      struct stat status {};
      if (stat(libraryPath_.c_str(), &status) != 0) {
        throw ScramblingLibraryError("ファイルが見つかりません: " + libraryPath_);
      }
      throw ScramblingLibraryError("ライブラリ " + libraryPath_ + " を読み込めません: " +
                                   (reason != nullptr ? reason : "原因不明"));
    }
  }
  dlerror();
  void* symbol = dlsym(handle_, name);
  if (symbol == nullptr) {
    throw ScramblingLibraryError(std::string("DLL エントリ ポイント ") + name + " が " +
                                 libraryPath_ + " に見つかりません");
  }
  cached = reinterpret_cast<Export>(symbol);
  return cached;
}

}  // namespace platform
