// The two exports of the scrambling library OrvDll (libOrvDll.so).
//
// Each takes the zero-terminated path of one file (relative paths resolve
// against the current folder) and returns 1 when the file was rewritten, 0
// when it was left untouched. Nothing else is exported and no memory crosses
// the boundary.
#pragma once

#include <cstdint>

#define ORVDLL_EXPORT extern "C" __attribute__((visibility("default")))

// Rewrites a plain file as a packed file. Every call first draws a rotation
// base from the calling thread's generator, also a call that returns 0.
ORVDLL_EXPORT std::int32_t FilePack(const char* path);

// Rewrites a packed file in its plain form.
ORVDLL_EXPORT std::int32_t FileUnpack(const char* path);
