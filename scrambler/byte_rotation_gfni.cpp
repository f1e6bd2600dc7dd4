// The GFNI paths: one affine bit-matrix transform (gf2p8affineqb) rotates
// every byte of a vector by the same amount, so each step takes two, one with
// the even bytes' matrix and one with the odd bytes', joined by the byte mask
// of the odd positions.
#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>

#include "byte_rotation_paths.h"

namespace scrambler::rotation {

__attribute__((target("gfni,avx2"))) void RotateGfniAvx2(const std::uint8_t* in, std::uint8_t* out,
                                                          std::size_t size, unsigned evenAmount,
                                                          unsigned oddAmount) {
  const __m256i evenMatrix = _mm256_set1_epi64x(static_cast<long long>(RotationMatrix(evenAmount)));
  const __m256i oddMatrix = _mm256_set1_epi64x(static_cast<long long>(RotationMatrix(oddAmount)));
  const __m256i oddBytes = _mm256_set1_epi16(static_cast<short>(0xFF00));

  std::size_t i = 0;
  for (; i + 32 <= size; i += 32) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
    const __m256i even = _mm256_gf2p8affine_epi64_epi8(bytes, evenMatrix, 0);
    const __m256i odd = _mm256_gf2p8affine_epi64_epi8(bytes, oddMatrix, 0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_blendv_epi8(even, odd, oddBytes));
  }
  RotateScalar(in + i, out + i, size - i, evenAmount, oddAmount);
}

namespace {

constexpr __mmask64 kOddBytes = 0xAAAAAAAAAAAAAAAAull;

// The 64 bytes rotated, those under `oddBytes` with the odd matrix and the
// others with the even one.
__attribute__((target("gfni,avx512bw"))) inline __m512i Rotate64(__m512i bytes, __mmask64 oddBytes,
                                                                 __m512i evenMatrix, __m512i oddMatrix) {
  const __m512i even = _mm512_gf2p8affine_epi64_epi8(bytes, evenMatrix, 0);
  return _mm512_mask_gf2p8affine_epi64_epi8(even, oddBytes, bytes, oddMatrix, 0);
}

// The mask of the first `count` (below 64) bytes of a step.
inline __mmask64 FirstBytes(std::size_t count) { return (__mmask64{1} << count) - 1; }

}  // namespace

// The bytes before the first 64-byte boundary of `out` and those after the
// last one go under byte masks, so that every store in between fills one
// cache line exactly. Behind an odd number of first bytes the odd positions
// of a step are its even ones.
__attribute__((target("gfni,avx512bw"))) void RotateGfniAvx512(const std::uint8_t* in, std::uint8_t* out,
                                                                std::size_t size, unsigned evenAmount,
                                                                unsigned oddAmount) {
  const __m512i evenMatrix = _mm512_set1_epi64(static_cast<long long>(RotationMatrix(evenAmount)));
  const __m512i oddMatrix = _mm512_set1_epi64(static_cast<long long>(RotationMatrix(oddAmount)));

  const std::size_t head = std::min(size, (64 - reinterpret_cast<std::uintptr_t>(out) % 64) % 64);
  if (head > 0) {
    const __mmask64 first = FirstBytes(head);
    const __m512i bytes = _mm512_maskz_loadu_epi8(first, in);
    _mm512_mask_storeu_epi8(out, first, Rotate64(bytes, kOddBytes, evenMatrix, oddMatrix));
  }
  const __mmask64 oddBytes = head % 2 == 0 ? kOddBytes : ~kOddBytes;
  std::size_t i = head;
  for (; i + 64 <= size; i += 64) {
    _mm512_storeu_si512(out + i, Rotate64(_mm512_loadu_si512(in + i), oddBytes, evenMatrix, oddMatrix));
  }
  if (i < size) {
    const __mmask64 last = FirstBytes(size - i);
    const __m512i bytes = _mm512_maskz_loadu_epi8(last, in + i);
    _mm512_mask_storeu_epi8(out + i, last, Rotate64(bytes, oddBytes, evenMatrix, oddMatrix));
  }
}

}  // namespace scrambler::rotation

#endif
