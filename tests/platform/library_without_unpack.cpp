// A stand-in for a broken scrambling library: it exports FilePack alone, so
// that binding FileUnpack fails.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t FilePack(const char*) { return 1; }
