// Bulk data that a block reads back with fread.
#pragma once

#include <cstdint>

namespace zeb {

// The client's buffer itself, never copied into the block, appended to the
// data file when the block is written.
struct Blob {
  const void* data;
  uint64_t elementSize;
  uint64_t elementCount;
};

}  // namespace zeb
