// The scrambling library OrvDll, loaded at run time.
//
// The editor does not link the library: it opens it from the game folder's
// "dat/" (the working folder's, in any letter case) and binds FilePack and FileUnpack
// by name, each at its first call, the way the game's own tools do. The file
// is the one in the working folder of that first call, opened by its full
// path, never a library loaded earlier from another folder. A library
// that cannot be opened, or that lacks the function asked for, is an error
// whose description names the library file; a later call tries again.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// Where the editor finds the library, inside the game folder.
inline constexpr char kScramblingLibraryPath[] = "dat/libOrvDll.so";

// The library or one of its functions cannot be had. what() is the Japanese
// description that the start-up shows as it stands.
class ScramblingLibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScramblingLibrary {
 public:
  // Nothing is opened here; `libraryPath` is opened at the first call.
  explicit ScramblingLibrary(std::string libraryPath = kScramblingLibraryPath);
  ScramblingLibrary(const ScramblingLibrary&) = delete;
  ScramblingLibrary& operator=(const ScramblingLibrary&) = delete;
  ~ScramblingLibrary();

  // The library's FilePack and FileUnpack on the file at `path`: 1 when the
  // file was rewritten, 0 when it was left untouched. Throw
  // ScramblingLibraryError when the library or the function cannot be had.
  std::int32_t FilePack(const std::string& path);
  std::int32_t FileUnpack(const std::string& path);

  // Opens the library and binds both functions without calling either, for
  // a caller that may find it need not call them: a missing library is then
  // told all the same. Throws ScramblingLibraryError as the calls do.
  void Load();

  // The library's path: as given until the first call, then the file that
  // call opened.
  const std::string& LibraryPath() const { return libraryPath_; }

 private:
  using Export = std::int32_t (*)(const char* path);

  Export Bind(Export& cached, const char* name);

  std::string libraryPath_;
  void* handle_ = nullptr;
  Export filePack_ = nullptr;
  Export fileUnpack_ = nullptr;
};

}  // namespace platform
