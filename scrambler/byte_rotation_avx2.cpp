// The AVX2 path: the shifts of the portable path on 32 bytes at a time.
#if defined(__x86_64__)

#include <immintrin.h>

#include "byte_rotation_paths.h"

namespace scrambler::rotation {

__attribute__((target("avx2"))) void RotateAvx2(const std::uint8_t* in, std::uint8_t* out,
                                                 std::size_t size, unsigned evenAmount,
                                                 unsigned oddAmount) {
  const PairMasks m = MasksFor(evenAmount, oddAmount);
  const __m128i lowRightShift = _mm_cvtsi32_si128(static_cast<int>(m.low));
  const __m128i lowLeftShift = _mm_cvtsi32_si128(static_cast<int>(8 - m.low));
  const __m128i highRightShift = _mm_cvtsi32_si128(static_cast<int>(m.high));
  const __m128i highLeftShift = _mm_cvtsi32_si128(static_cast<int>(8 - m.high));
  const __m256i lowRight = _mm256_set1_epi16(static_cast<short>(m.lowRight));
  const __m256i lowLeft = _mm256_set1_epi16(static_cast<short>(m.lowLeft));
  const __m256i highRight = _mm256_set1_epi16(static_cast<short>(m.highRight));
  const __m256i highLeft = _mm256_set1_epi16(static_cast<short>(m.highLeft));

  std::size_t i = 0;
  for (; i + 32 <= size; i += 32) {
    const __m256i lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
    const __m256i low = _mm256_or_si256(_mm256_and_si256(_mm256_srl_epi16(lanes, lowRightShift), lowRight),
                                        _mm256_and_si256(_mm256_sll_epi16(lanes, lowLeftShift), lowLeft));
    const __m256i high = _mm256_or_si256(_mm256_and_si256(_mm256_srl_epi16(lanes, highRightShift), highRight),
                                         _mm256_and_si256(_mm256_sll_epi16(lanes, highLeftShift), highLeft));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_or_si256(low, high));
  }
  RotateScalar(in + i, out + i, size - i, evenAmount, oddAmount);
}

}  // namespace scrambler::rotation

#endif
