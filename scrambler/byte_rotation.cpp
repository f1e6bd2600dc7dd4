#include "byte_rotation.h"

#include <stdexcept>

#include "byte_rotation_paths.h"

namespace scrambler {
namespace {

rotation::Path PathFunction(RotationPath path) {
  switch (path) {
#if defined(__x86_64__)
    case RotationPath::kGfniAvx512:
      return rotation::RotateGfniAvx512;
    case RotationPath::kAvx512bw:
      return rotation::RotateAvx512bw;
    case RotationPath::kGfniAvx2:
      return rotation::RotateGfniAvx2;
    case RotationPath::kAvx2:
      return rotation::RotateAvx2;
#endif
    case RotationPath::kSse2:
      return rotation::RotateSse2;
    case RotationPath::kScalar:
      return rotation::RotateScalar;
    default:
      return nullptr;
  }
}

// The chosen path's function, found once per process.
rotation::Path ChosenFunction() {
  static const rotation::Path chosen = PathFunction(ChosenRotationPath());
  return chosen;
}

}  // namespace

const char* RotationPathName(RotationPath path) {
  switch (path) {
    case RotationPath::kGfniAvx512:
      return "gfni-avx512";
    case RotationPath::kAvx512bw:
      return "avx512bw";
    case RotationPath::kGfniAvx2:
      return "gfni-avx2";
    case RotationPath::kAvx2:
      return "avx2";
    case RotationPath::kSse2:
      return "sse2";
    case RotationPath::kScalar:
      return "scalar";
  }
  return "unknown";
}

// __builtin_cpu_supports also asks whether the operating system saves the
// wide registers, so a feature it reports may be used. The processor is
// examined first, for a caller that asks before the program's constructors
// have run.
bool ProcessorSupports(RotationPath path) {
#if defined(__x86_64__)
  __builtin_cpu_init();
#endif
  switch (path) {
#if defined(__x86_64__)
    case RotationPath::kGfniAvx512:
      return __builtin_cpu_supports("gfni") && __builtin_cpu_supports("avx512bw");
    case RotationPath::kAvx512bw:
      return __builtin_cpu_supports("avx512bw");
    case RotationPath::kGfniAvx2:
      return __builtin_cpu_supports("gfni") && __builtin_cpu_supports("avx2");
    case RotationPath::kAvx2:
      return __builtin_cpu_supports("avx2");
#endif
    case RotationPath::kSse2:
    case RotationPath::kScalar:
      return true;
    default:
      return false;
  }
}

RotationPath ChosenRotationPath() {
  for (RotationPath path : kRotationPaths) {
    if (ProcessorSupports(path)) return path;
  }
  return RotationPath::kScalar;
}

void RotatePairsRight(std::span<const std::uint8_t> in, std::uint8_t* out, unsigned evenAmount,
                      unsigned oddAmount) {
  ChosenFunction()(in.data(), out, in.size(), evenAmount & 7, oddAmount & 7);
}

void RotatePairsRightWith(RotationPath path, std::span<const std::uint8_t> in, std::uint8_t* out,
                          unsigned evenAmount, unsigned oddAmount) {
  if (!ProcessorSupports(path)) {
    throw std::invalid_argument(std::string("this processor cannot run ") + RotationPathName(path));
  }
  PathFunction(path)(in.data(), out, in.size(), evenAmount & 7, oddAmount & 7);
}

namespace rotation {

void RotateScalar(const std::uint8_t* in, std::uint8_t* out, std::size_t size, unsigned evenAmount,
                  unsigned oddAmount) {
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned amount = (i % 2 == 0) ? evenAmount : oddAmount;
    out[i] = static_cast<std::uint8_t>((in[i] >> amount) | (in[i] << ((8 - amount) & 7)));
  }
}

}  // namespace rotation
}  // namespace scrambler
