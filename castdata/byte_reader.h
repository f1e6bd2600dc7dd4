// Positioned reads from the bytes of a fixed-layout file held in memory.
//
// Offsets count bytes from 0. A file that is shorter than its layout reads
// as if it went on with zero bytes: a field wholly past the end is 0, a field
// that straddles the end keeps the bytes that are there and reads zeros for
// the rest. So a short or truncated file yields well-defined values instead
// of a read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace castdata {

// The signed 16-bit little-endian number at `offset`.
std::int16_t Int16At(std::span<const std::uint8_t> bytes, std::size_t offset);

// The `count` bytes from `offset`, as raw bytes (not decoded).
std::string BytesAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count);

}  // namespace castdata
