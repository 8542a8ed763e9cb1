// What the process holds: the heap's bytes in use, and resident memory.
#pragma once

#include <cstdint>

namespace zeb::bench {

// Bytes the heap has handed out and not taken back.
uint64_t heapInUse();
// The largest resident set the process has had so far (VmHWM), in bytes.
uint64_t peakResidentBytes();

}  // namespace zeb::bench
