#include "little_endian.h"

#include <algorithm>
#include <limits>

namespace castdata {
namespace {

std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return offset < bytes.size() ? bytes[offset] : 0;
}

}  // namespace

std::int16_t Int16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
  const unsigned low = ByteAt(bytes, offset);
  // The last possible offset has no second byte (offset + 1 would wrap to 0).
  const bool hasHigh = offset < std::numeric_limits<std::size_t>::max();
  const unsigned high = hasHigh ? ByteAt(bytes, offset + 1) : 0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

std::uint32_t Uint32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && offset + i >= offset; ++i) {
    value |= std::uint32_t{ByteAt(bytes, offset + i)} << (8 * i);
  }
  return value;
}

std::string BytesAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count) {
  std::string out(count, '\0');
  if (offset >= bytes.size()) return out;
  const std::size_t available = std::min(count, bytes.size() - offset);
  for (std::size_t i = 0; i < available; ++i) out[i] = static_cast<char>(bytes[offset + i]);
  return out;
}

void PutInt16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<std::uint8_t>(bits & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

void PutUint32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace castdata
