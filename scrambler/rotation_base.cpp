#include "rotation_base.h"

#include <cstdint>

namespace scrambler {
namespace {
thread_local std::uint32_t generatorState = 1;
}

int DrawRotationBase() {
  generatorState = generatorState * 214013u + 2531011u;
  const int r = static_cast<int>((generatorState >> 16) & 0x7FFF);
  return (4 * r) / 32767 + 1;
}

}  // namespace scrambler
