#include "emit/block_buffers.h"

#include <mutex>

namespace zeb {
namespace {

// Room for as many builders as live at once in any likely nesting; past that,
// returned buffers are let go rather than grown for (which could throw).
constexpr std::size_t kSpareSlots = 8;

struct SpareBuffers {
  SpareBuffers() { spare.reserve(kSpareSlots); }
  std::mutex mutex;
  std::vector<std::unique_ptr<BlockBuffers>> spare;
};

// Never destroyed: a client's static destructors may still record calls
// after this library's own statics are gone.
SpareBuffers& spareBuffers() {
  static SpareBuffers* const buffers = new SpareBuffers;
  return *buffers;
}

}  // namespace

std::unique_ptr<BlockBuffers> takeBlockBuffers() {
  SpareBuffers& buffers = spareBuffers();
  {
    const std::lock_guard<std::mutex> lock(buffers.mutex);
    if (!buffers.spare.empty()) {
      std::unique_ptr<BlockBuffers> taken = std::move(buffers.spare.back());
      buffers.spare.pop_back();
      return taken;
    }
  }
  return std::make_unique<BlockBuffers>();
}

void returnBlockBuffers(std::unique_ptr<BlockBuffers> returned) {
  returned->text.clear();
  returned->blobs.clear();
  returned->scratchInUse = 0;
  SpareBuffers& buffers = spareBuffers();
  const std::lock_guard<std::mutex> lock(buffers.mutex);
  if (buffers.spare.size() < buffers.spare.capacity()) buffers.spare.push_back(std::move(returned));
}

}  // namespace zeb
