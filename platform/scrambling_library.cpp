#include "scrambling_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "game_folder.h"

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

void ScramblingLibrary::Load() {
  Bind(filePack_, "FilePack");
  Bind(fileUnpack_, "FileUnpack");
}

ScramblingLibrary::Export ScramblingLibrary::Bind(Export& cached, const char* name) {
  if (cached != nullptr) {
    return cached;
  }
  if (handle_ == nullptr) {
    // A relative path is inside the working folder, the game folder, and
    // found there in any letter case ("DAT/libOrvDll.so"). The library is
    // opened by its full path: dlopen hands back an object it already holds
    // under the same name, so a relative name would find a library still
    // loaded from another folder instead of this folder's file (or its
    // absence).
    const std::filesystem::path located = std::filesystem::path(libraryPath_).is_absolute()
                                              ? std::filesystem::path(libraryPath_)
                                              : GameFolder().Resolve(libraryPath_);
    std::error_code ignored;
    const std::filesystem::path fullPath = std::filesystem::absolute(located, ignored);
    handle_ = dlopen(fullPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
      const char* reason = dlerror();
      struct stat status {};
      if (stat(located.c_str(), &status) != 0) {
        throw ScramblingLibraryError("ファイルが見つかりません: " + located.generic_string());
      }
      throw ScramblingLibraryError("ライブラリ " + located.generic_string() + " を読み込めません: " +
                                   (reason != nullptr ? reason : "原因不明"));
    }
    libraryPath_ = located.generic_string();
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
