// The pseudo-random choice of a packing's rotation base.
//
// Each thread owns a generator that starts at state 1 and is never seeded
// again, so a thread's sequence of bases is fixed (its first four are 1, 3,
// 1, 4). FilePack draws once at the start of every call, also of a call that
// ends up leaving the file untouched.
#pragma once

namespace scrambler {

// The rotation bases a packing draws.
inline constexpr int kLowestRotationBase = 1;
inline constexpr int kHighestRotationBase = 5;

// Advances this thread's generator (state * 214013 + 2531011 mod 2^32, then
// r = (state >> 16) & 0x7FFF) and maps r onto a base: (4 * r) / 32767 + 1,
// which lies in 1..5.
int DrawRotationBase();

}  // namespace scrambler
