// Reading a whole file, and replacing a whole file so that a crash or a full
// disk leaves either the old contents or the new ones, never a mix.
//
// A replacement writes the new contents to a temporary file in the same
// folder (named ".NAME.XXXXXX", which no pattern of the game's files matches),
// flushes and syncs it, gives it the old file's owner and permissions, and
// renames it over the old file. A symbolic link at the path is followed unless
// the caller asks for Links::kReplace (see there). On any failure the
// temporary file is removed and the old file is left as it was.
//
// This is the one way every part of the system rewrites a file: the
// scrambling library (which links nothing else of this system, hence it lives
// here), the profile functions, the cast files, package imports and uploads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wholefile {

// What a replacement does with a symbolic link at the path it is given.
enum class Links {
  // The file the link points to is replaced and the link stays: the user's
  // own arrangement of the game's files (a save, the game files).
  kFollow,
  // The link itself is replaced by the new file, which gets the permissions
  // of a new file; what the link points to is left byte for byte. For
  // contents that come from outside (a cast package), which must never
  // land outside the folder they are written to.
  kReplace,
};

// The bytes of the file at `path`, or nullopt with the system's reason. The
// buffer has room for `spareCapacity` bytes more, for a caller that adds to it
// without moving it.
std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path,
                                              std::string* reason = nullptr,
                                              std::size_t spareCapacity = 0);

// Replaces the file at `path` (or creates it) with `contents`.
bool Replace(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
             std::string* reason = nullptr, Links links = Links::kFollow);

// A replacement in two steps, so that several files can be written as a set:
// stage each of them, then commit each. A staged file that is never committed
// is removed when the object goes.
class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&& other) noexcept;
  ~StagedFile();

  // Writes `contents` to a synced temporary file beside `path`.
  bool Stage(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
             std::string* reason = nullptr, Links links = Links::kFollow);

  // Renames the temporary file over `path`.
  bool Commit(std::string* reason = nullptr);

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
};

}  // namespace wholefile
