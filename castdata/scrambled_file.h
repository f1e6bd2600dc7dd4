// Reading the plain bytes of a game data file that is stored as a packed file
// ("DAT/USER.DAT", "DAT/Orv_bwpn.DAT").
//
// Two ways, with the same result:
// - ReadGameFileInPlace, the editor's: unpack the file on disk with the
//   scrambling library's FileUnpack, read it, and pack it again with FilePack.
//   The game's own files therefore pass through the one library that writes
//   them.
// - ReadGameFileInMemory, for tools that must not touch the game's files:
//   read the bytes and unscramble them in memory with the scrambler core.
//
// In both, a file that is not packed is read as it stands, just as FileUnpack
// leaves such a file untouched. The fields are then read from the returned
// bytes with ReadProgressData or ReadWeaponCatalogue.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace castdata {

// The two functions of the scrambling library, as the caller has them: the
// editor hands in the functions it loaded from the library at run time, a
// test its own. Each takes a zero-terminated path and returns 1 when it
// rewrote the file, 0 when it left it untouched; the result is not examined.
// A function may throw (for instance when the library cannot be loaded).
struct ScramblerFunctions {
  std::function<std::int32_t(const char* path)> filePack;
  std::function<std::int32_t(const char* path)> fileUnpack;
};

// The three steps: fileUnpack(path), read the whole file, filePack(path).
// filePack is called on every way out, also when fileUnpack throws or the
// file cannot be read, so an error never leaves the game's file unscrambled
// on disk. Throws castdata::Error naming the file and the reason when the
// file cannot be read; an exception from fileUnpack goes on to the caller
// after filePack was called. An exception from filePack goes on to the
// caller after a successful reading, and is dropped in favour of the first
// error after a failed one. Results of both functions are not examined.
std::vector<std::uint8_t> ReadGameFileInPlace(const std::filesystem::path& path,
                                              const ScramblerFunctions& scrambler);

// The plain bytes of the file at `path`; the file is never written. Throws
// castdata::Error naming the file and the reason when it cannot be read.
std::vector<std::uint8_t> ReadGameFileInMemory(const std::filesystem::path& path);

}  // namespace castdata
