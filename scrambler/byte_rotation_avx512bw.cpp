// The AVX-512BW path: the shifts of the portable path on 64 bytes at a time,
// the masked halves joined by bit selects, the first and last bytes done
// under byte masks instead of one by one.
#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>

#include "byte_rotation_paths.h"

namespace scrambler::rotation {
namespace {

// vpternlog's truth table for "mask ? a : b" with the operands (mask, a, b).
constexpr int kSelect = 0xCA;
constexpr __mmask64 kHighBytes = 0xAAAAAAAAAAAAAAAAull;  // of every 16-bit lane

// The shift counts and the masks of PairMasks, in vector registers.
struct WideMasks {
  __m128i lowRightShift, lowLeftShift, highRightShift, highLeftShift;
  __m512i lowRight, highRight;
};

__attribute__((target("avx512bw"))) inline WideMasks WideMasksFor(unsigned lowAmount, unsigned highAmount) {
  const PairMasks m = MasksFor(lowAmount, highAmount);
  return WideMasks{_mm_cvtsi32_si128(static_cast<int>(m.low)),
                   _mm_cvtsi32_si128(static_cast<int>(8 - m.low)),
                   _mm_cvtsi32_si128(static_cast<int>(m.high)),
                   _mm_cvtsi32_si128(static_cast<int>(8 - m.high)),
                   _mm512_set1_epi16(static_cast<short>(m.lowRight)),
                   _mm512_set1_epi16(static_cast<short>(m.highRight))};
}

// Rotates the bytes under `mask` of the 64 at `in` into `out`. Within its own
// byte a rotation takes the bits that xRight selects from the right shift and
// the others from the left shift.
__attribute__((target("avx512bw"))) inline void Rotate64(const std::uint8_t* in, std::uint8_t* out,
                                                         __mmask64 mask, const WideMasks& w) {
  const __m512i lanes = _mm512_maskz_loadu_epi8(mask, in);
  const __m512i low = _mm512_ternarylogic_epi64(w.lowRight, _mm512_srl_epi16(lanes, w.lowRightShift),
                                                _mm512_sll_epi16(lanes, w.lowLeftShift), kSelect);
  const __m512i high = _mm512_ternarylogic_epi64(w.highRight, _mm512_srl_epi16(lanes, w.highRightShift),
                                                 _mm512_sll_epi16(lanes, w.highLeftShift), kSelect);
  _mm512_mask_storeu_epi8(out, mask, _mm512_mask_blend_epi8(kHighBytes, low, high));
}

// The mask of the first `count` (below 64) bytes of a step.
inline __mmask64 FirstBytes(std::size_t count) { return (__mmask64{1} << count) - 1; }

}  // namespace

// As the AVX-512 GFNI path: the bytes before the first 64-byte boundary of
// `out` and those after the last go under byte masks, every store between
// fills one cache line. A lane starts at an even position, so behind an odd
// number of first bytes the low byte of a lane is an odd one: the amounts
// change places.
__attribute__((target("avx512bw"))) void RotateAvx512bw(const std::uint8_t* in, std::uint8_t* out,
                                                         std::size_t size, unsigned evenAmount,
                                                         unsigned oddAmount) {
  const std::size_t head = std::min(size, (64 - reinterpret_cast<std::uintptr_t>(out) % 64) % 64);
  if (head > 0) Rotate64(in, out, FirstBytes(head), WideMasksFor(evenAmount, oddAmount));
  const WideMasks w = head % 2 == 0 ? WideMasksFor(evenAmount, oddAmount) : WideMasksFor(oddAmount, evenAmount);
  std::size_t i = head;
  for (; i + 64 <= size; i += 64) Rotate64(in + i, out + i, ~__mmask64{0}, w);
  if (i < size) Rotate64(in + i, out + i, FirstBytes(size - i), w);
}

}  // namespace scrambler::rotation

#endif
