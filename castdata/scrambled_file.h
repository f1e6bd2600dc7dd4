// Reading the plain bytes of a game data file that is stored as a packed file
// ("DAT/USER.DAT", "DAT/Orv_bwpn.DAT").
//
// Three ways, with the same result:
// - ReadGameFile, the editor's start-up: the file is read in memory, and
//   written only when unpacking it and packing it again would leave other
//   bytes on disk than it holds, through the scrambling library's FilePack and
//   FileUnpack as ever. A packed file whose rotation base is one that FilePack
//   draws is what unpacking and packing leave (with the base drawn then; the
//   game reads any), so a start-up on the game's files as the game and this
//   editor leave them writes nothing, and no crash can catch a file lying
//   unpacked:
//
//   | File on disk                                     | Written                   |
//   |--------------------------------------------------|---------------------------|
//   | packed, rotation base 1 to 5, plain form that    | nothing                   |
//   | does not itself look packed                      |                           |
//   | not packed                                       | FilePack: one rewrite     |
//   | packed otherwise (a base FilePack never writes,  | FileUnpack, then FilePack |
//   | or a plain form that looks packed)               | (ReadGameFileInPlace)     |
//
// - ReadGameFileInPlace: unpack the file on disk with FileUnpack, read it,
//   and pack it again with FilePack.
// - ReadGameFileInMemory, for tools that must not touch the game's files:
//   read the bytes and unscramble them in memory with the scrambler core.
//
// In all, a file that is not packed is read as it stands, just as FileUnpack
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
  // Makes sure both functions can be had, calling neither; throws as they
  // would when not. Optional: a caller without a library to load leaves it
  // empty.
  std::function<void()> load;
};

// The editor's reading (the table above). `load` runs first, so a library
// that cannot be had is an error even when nothing is to be written. Throws
// castdata::Error naming the file and the reason when the file cannot be
// read, and passes on what the functions throw.
std::vector<std::uint8_t> ReadGameFile(const std::filesystem::path& path, const ScramblerFunctions& scrambler);

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
