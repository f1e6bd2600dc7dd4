// Reading a whole file, and replacing a whole file so that a crash or a full
// disk leaves either the old contents or the new ones, never a mix.
//
// A replacement writes the new contents to a temporary file in the same
// folder (named ".NAME.XXXXXX", which no pattern of the game's files matches;
// see temporary_file.h), flushes and syncs it, gives it the old file's owner,
// group and permissions, and renames it over the old file. A symbolic link at
// the path is followed unless the caller asks for Links::kReplace (see
// there). A hard link is not: the name is replaced, and the file's other
// names keep the old contents.
//
// A replacement does no more than writing the file in place could: a file
// the process may not write is refused (EACCES), and so is one whose owner
// and group the new file cannot be given (a file of another user in a folder
// the process may write), rather than changing the file's owner. On any
// failure the temporary file is removed and the old file is left as it was.
// Before it writes, a replacement removes the leftovers that crashed writes
// of the same file left beside it.
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

// The bytes of the file at `path`, or nullopt with the system's reason.
std::optional<std::vector<std::uint8_t>> Read(const std::filesystem::path& path,
                                              std::string* reason = nullptr);

// The same bytes behind `leadingRoom` zero bytes, room for a caller that puts
// something in front of them without moving them (a header).
std::optional<std::vector<std::uint8_t>> ReadBehindRoom(const std::filesystem::path& path,
                                                        std::size_t leadingRoom,
                                                        std::string* reason = nullptr);

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

  // Writes `contents` to a synced temporary file beside `path`, which stays
  // locked until it is committed or removed.
  bool Stage(const std::filesystem::path& path, std::span<const std::uint8_t> contents,
             std::string* reason = nullptr, Links links = Links::kFollow);

  // Renames the temporary file over `path`.
  bool Commit(std::string* reason = nullptr);

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;  // of the temporary file, holding its lock
};

}  // namespace wholefile
