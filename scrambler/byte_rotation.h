// The rotation of bytes at the heart of packing and unpacking, done with the
// widest instructions the processor has.
//
// Every byte is rotated right; the bytes at even positions (counted from the
// start of the run) by one amount, those at odd positions by another. Each
// way of doing it (a "path") gives the same bytes; the library picks the
// widest one the processor supports once, at its first use:
//
// | path        | instructions                      | bytes a step |
// |-------------|-----------------------------------|--------------|
// | gfni-avx512 | GFNI bit-matrix multiply, AVX-512 | 64           |
// | avx512bw    | AVX-512BW shifts and bit selects  | 64           |
// | gfni-avx2   | GFNI bit-matrix multiply, AVX2    | 32           |
// | avx2        | AVX2 shifts, ands and ors         | 32           |
// | sse2        | 128-bit vector shifts (portable)  | 16           |
// | scalar      | one byte at a time                | 1            |
//
// The scalar path is the rule the others are checked against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace scrambler {

enum class RotationPath { kGfniAvx512, kAvx512bw, kGfniAvx2, kAvx2, kSse2, kScalar };

// Every path, the widest first: the order in which the library prefers them.
inline constexpr RotationPath kRotationPaths[] = {
    RotationPath::kGfniAvx512, RotationPath::kAvx512bw, RotationPath::kGfniAvx2,
    RotationPath::kAvx2,       RotationPath::kSse2,     RotationPath::kScalar,
};

// The path's name as the table above gives it.
const char* RotationPathName(RotationPath path);

// Whether this processor (and its operating system) can run `path`.
bool ProcessorSupports(RotationPath path);

// The path the library uses: the first of kRotationPaths the processor supports.
RotationPath ChosenRotationPath();

// Rotates the bytes of `in` right into `out`, byte i by `evenAmount` when i is
// even and by `oddAmount` when it is odd (each 0..7). `out` is as long as
// `in` and is either the very same bytes (rotation in place) or does not
// overlap them at all. Uses the chosen path.
void RotatePairsRight(std::span<const std::uint8_t> in, std::uint8_t* out, unsigned evenAmount,
                      unsigned oddAmount);

// The same through a named path, which the processor must support; for tests
// and benchmarks that compare the paths.
void RotatePairsRightWith(RotationPath path, std::span<const std::uint8_t> in, std::uint8_t* out,
                          unsigned evenAmount, unsigned oddAmount);

}  // namespace scrambler
