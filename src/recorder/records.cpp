#include "recorder/records.h"

#include <new>

namespace zeb {
namespace {

// Every record lives at an aligned address, and the reversed mask is odd, so no
// record's handle is 0.
constexpr uint64_t kHandleMask = 0xA5F0C3E1B4D29687u;

}  // namespace

uint64_t makeHandle(const void* address) {
  if (!address) return 0;
  uint64_t bytes = reinterpret_cast<uintptr_t>(address);
  uint64_t reversed = 0;
  for (int i = 0; i < 8; ++i) {
    reversed = (reversed << 8) | (bytes & 0xFFu);
    bytes >>= 8;
  }
  return reversed ^ kHandleMask;
}

uint64_t ScribeContext::createGraph(const std::string& variableName, const std::string& graphName) {
  graphNames.insert(variableName);
  try {
    const auto graph = std::make_shared<ScribeGraph>(this, variableName, graphName);
    const uint64_t handle = makeHandle(graph.get());
    std::lock_guard<std::mutex> lock(graphsMutex_);
    graphs_[handle] = graph;
    return handle;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

std::shared_ptr<ScribeGraph> ScribeContext::findGraph(uint64_t handle) const {
  std::lock_guard<std::mutex> lock(graphsMutex_);
  const auto found = graphs_.find(handle);
  return found == graphs_.end() ? nullptr : found->second;
}

std::pair<uint64_t, std::shared_ptr<ScribeGraph>> ScribeContext::findGraphIf(
    const std::function<bool(const ScribeGraph&)>& predicate) const {
  std::lock_guard<std::mutex> lock(graphsMutex_);
  for (const auto& [handle, graph] : graphs_) {
    if (predicate(*graph)) return {handle, graph};
  }
  return {0, nullptr};
}

}  // namespace zeb
