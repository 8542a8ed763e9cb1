// Client handles are opaque pointers that carry the recorder's 64-bit handle
// values; this is the one place that converts between the two.
#pragma once

#include <cstdint>

namespace zeb {

template <class Handle>
uint64_t handleValue(Handle handle) {
  return static_cast<uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

template <class Handle>
Handle clientHandle(uint64_t value) {
  return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(value));
}

}  // namespace zeb
