// The packed file: a per-byte bit rotation whose amount stands in plain in a
// four-byte header, so that unpacking needs nothing but the file itself.
//
// | Offset | Size | Content                                                    |
// |--------|------|------------------------------------------------------------|
// | 0      | 1    | 0x83                                                       |
// | 1      | 1    | 0x16                                                       |
// | 2      | 1    | rotation base + 3 (the packer writes 0x04..0x08)           |
// | 3      | 1    | 0x3D                                                       |
// | 4      | n    | the n plain bytes; byte i rotated right by base + (i mod 2) |
//
// A buffer counts as packed when it has at least 4 bytes and bytes 0, 1 and 3
// hold 0x83, 0x16 and 0x3D; byte 2 plays no part in the recognition.
//
// These functions work in memory only. The library OrvDll wraps them for
// files, and castdata uses them to read a game file without touching it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace scrambler {

inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::uint8_t kMagic0 = 0x83;
inline constexpr std::uint8_t kMagic1 = 0x16;
inline constexpr std::uint8_t kMagic3 = 0x3D;
inline constexpr int kBaseOffset = 3;  // byte 2 = rotation base + 3

bool IsPacked(std::span<const std::uint8_t> bytes);

// The packed form of `plain`, rotated with `rotationBase` (1..5).
std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> plain, int rotationBase);

// The plain form of a buffer that IsPacked accepts. The rotation amounts are
// taken modulo 8, so any byte 2 gives a well-defined result.
std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> packed);

// The same two transforms in the caller's own buffer, for a whole file that
// should not be held twice, with no byte moved. PackBuffer takes kHeaderSize
// bytes of room followed by the plain bytes, writes the header into the room
// and rotates the plain bytes where they lie. UnpackBuffer takes a buffer that
// IsPacked accepts, rotates its payload back where it lies and gives those
// bytes, the plain file.
void PackBuffer(std::span<std::uint8_t> buffer, int rotationBase);
std::span<std::uint8_t> UnpackBuffer(std::span<std::uint8_t> buffer);

}  // namespace scrambler
