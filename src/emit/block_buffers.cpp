#include "emit/block_buffers.h"

namespace zeb {
namespace {

// Room for as many builders as live at once in any likely nesting; past that,
// returned buffers are let go rather than grown for (which could throw).
constexpr std::size_t kSpareSlots = 8;

// Plain data, so it can still be read after every object of the library is gone.
bool spareBuffersDestroyed = false;

struct SpareBuffers {
  SpareBuffers() { spare.reserve(kSpareSlots); }
  ~SpareBuffers() { spareBuffersDestroyed = true; }
  std::vector<std::unique_ptr<BlockBuffers>> spare;
};

// None once destroyed at unload: a client's static destructors may still
// record calls, whose builders then take fresh buffers and let them go.
SpareBuffers* spareBuffers() {
  if (spareBuffersDestroyed) return nullptr;
  static SpareBuffers buffers;
  return &buffers;
}

}  // namespace

std::unique_ptr<BlockBuffers> takeBlockBuffers() {
  if (SpareBuffers* buffers = spareBuffers()) {
    if (!buffers->spare.empty()) {
      std::unique_ptr<BlockBuffers> taken = std::move(buffers->spare.back());
      buffers->spare.pop_back();
      return taken;
    }
  }
  return std::make_unique<BlockBuffers>();
}

void returnBlockBuffers(std::unique_ptr<BlockBuffers> returned) {
  returned->text.clear();
  returned->blobs.clear();
  returned->scratchInUse = 0;
  SpareBuffers* buffers = spareBuffers();
  if (buffers == nullptr) return;
  if (buffers->spare.size() < buffers->spare.capacity())
    buffers->spare.push_back(std::move(returned));
}

}  // namespace zeb
