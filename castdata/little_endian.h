// Positioned reads and writes of little-endian numbers in the bytes of a
// fixed-layout file held in memory.
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
#include <vector>

namespace castdata {

// The signed 16-bit little-endian number at `offset`.
std::int16_t Int16At(std::span<const std::uint8_t> bytes, std::size_t offset);

// The unsigned 32-bit little-endian number at `offset`.
std::uint32_t Uint32At(std::span<const std::uint8_t> bytes, std::size_t offset);

// The `count` bytes from `offset`, as raw bytes (not decoded).
std::string BytesAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count);

// Writes `value` at `offset` of a buffer that already reaches past the field.
void PutInt16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int16_t value);
void PutUint32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace castdata
