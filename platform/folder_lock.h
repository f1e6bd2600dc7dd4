// An exclusive lock on a folder, so that two programs that write a set of
// files in it (two imports of a cast, an import and a save) take turns and
// the set ends whole from one of them.
//
// The lock is flock(2) on the lock file FOLDER/.lock, which the holder
// creates, fills with its name and process number, and removes again when it
// lets go:
//
// | Lock file      | Meaning                                                  |
// |----------------|----------------------------------------------------------|
// | missing        | nobody holds the lock                                    |
// | there, locked  | held: it reads "PROGRAM PID", the holder (empty for a    |
// |                | moment while the holder writes it)                       |
// | there, unlocked| left by a holder that was killed; the next one takes it  |
//
// A taker that finds the file removed under it (its holder let go while it
// waited) opens it again, so two takers never hold two different files. The
// name ".lock" ends in none of the game's extensions, so nothing takes the
// file for a cast or a package.
//
// The lock is held per thread and folder: a thread that already holds the
// lock of a folder takes it again at once (the package scan holds it over
// its imports), and lets go only when its outermost FolderLock goes.
//
// In a folder where nothing can be created (missing, read-only, not the
// process's own) no lock file can be made; no write can happen there either,
// so the taker goes on without the lock and each write fails with its own
// reason.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kLockFileName = ".lock";

// How long a taker waits for a lock held by another program before it gives
// up: a few seconds, far longer than an import or a save takes.
inline constexpr std::chrono::milliseconds kLockPatience{3000};

// The patience every FolderLock waits with unless it is given its own:
// kLockPatience until changed (tests of a held lock shorten it).
std::chrono::milliseconds LockPatience();
void SetLockPatience(std::chrono::milliseconds patience);

class FolderLock {
 public:
  // Takes the lock of `folder`, waiting at most `patience` for another
  // holder to let go.
  explicit FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds patience = LockPatience());
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // nullopt when the lock is held (or the folder takes no writes, above);
  // otherwise why not, naming the lock file and, when another program holds
  // it, that program and its process number. Nothing may be written then.
  const std::optional<std::string>& Problem() const { return problem_; }

 private:
  std::filesystem::path lockFile_;
  std::optional<std::string> problem_;
  bool holding_ = false;                                // counted in this thread's held locks
  std::pair<unsigned long, unsigned long> folderId_{};  // device and inode of the folder
};

}  // namespace platform
