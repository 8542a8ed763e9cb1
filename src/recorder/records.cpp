#include "recorder/records.h"

#include <atomic>
#include <new>

#include "log/logger.h"

namespace zeb {
namespace {

// Every record lives at an aligned address, and the reversed mask is odd, so no
// record's handle is 0.
constexpr uint64_t kHandleMask = 0xA5F0C3E1B4D29687u;
// Handles made from an index differ in the byte that reversal makes an
// address's top one: an index handle equals an address-made one only for an
// address of the top byte 0xFF, which no user-space address has.
constexpr uint64_t kIndexHandleMask = kHandleMask ^ 0xFFu;

// Tensor ids are unique in the whole process and never reused.
std::atomic<uint32_t> nextTensorId{1};

// Both tensor versions hold id and name at the same place.
uint32_t& idOf(Zeb_Tensor_t& tensor) {
  return tensor.version == ZEB_TENSOR_VERSION_2 ? tensor.v2.id : tensor.v1.id;
}

const char* clientNameOf(const Zeb_Tensor_t& tensor) {
  return tensor.version == ZEB_TENSOR_VERSION_2 ? tensor.v2.name : tensor.v1.name;
}

}  // namespace

const std::string& TensorNames::next(const std::string& owner) {
  std::string& name = names_.emplace_back();
  appendAll(name, owner, "_tensor_", counter_++);
  return name;
}

Zeb_ErrorHandle_t ScribeContext::registerTensor(Zeb_Tensor_t& tensor, const std::string& variable) {
  const uint32_t id = nextTensorId.fetch_add(1);
  const char* clientName = clientNameOf(tensor);
  if (!tensorIds_.try_emplace(id, &variable).second) {
    const bool named = clientName != nullptr && tensorClientNames_.count(clientName) != 0;
    if (named) {
      zeb::log::error("Tensor with name %s already exists in the context.\n", clientName);
      return ZEB_TENSOR_ERROR_NAME_DUPLICATED;
    }
    zeb::log::error("Tensor name hash collision occurred, tensor with name %s must be renamed.\n",
                    clientName ? clientName : "NULL");
    return ZEB_TENSOR_ERROR_NAME_HASH_COLLISION;
  }
  idOf(tensor) = id;
  if (clientName != nullptr && tensorClientNames_.find(clientName) == tensorClientNames_.end())
    tensorClientNames_.emplace(clientName);
  return ZEB_SUCCESS;
}

const std::string* ScribeContext::findTensorName(uint32_t id) const {
  const auto found = tensorIds_.find(id);
  return found == tensorIds_.end() ? nullptr : found->second;
}

Zeb_ErrorHandle_t ScribeGraph::registerTensor(Zeb_Tensor_t& tensor, const std::string& variable) {
  return context->registerTensor(tensor, variable);
}

const std::string* ScribeGraph::findTensorName(uint32_t id) const {
  return context->findTensorName(id);
}

namespace {

uint64_t reverseBytes(uint64_t bytes) {
  uint64_t reversed = 0;
  for (int i = 0; i < 8; ++i) {
    reversed = (reversed << 8) | (bytes & 0xFFu);
    bytes >>= 8;
  }
  return reversed;
}

}  // namespace

uint64_t makeHandle(const void* address) {
  if (!address) return 0;
  return reverseBytes(reinterpret_cast<uintptr_t>(address)) ^ kHandleMask;
}

uint64_t makeIndexHandle(uint64_t index) { return reverseBytes(index + 1) ^ kIndexHandleMask; }

uint64_t indexOfHandle(uint64_t handle) { return reverseBytes(handle ^ kIndexHandleMask) - 1; }

uint64_t ScribeContext::createGraph(const std::string& variableName, const std::string& graphName) {
  graphNames.insert(variableName);
  try {
    const auto graph = std::make_shared<ScribeGraph>(this, variableName, graphName);
    const uint64_t handle = makeHandle(graph.get());
    graphs_[handle] = graph;
    return handle;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

std::shared_ptr<ScribeGraph> ScribeContext::findGraph(uint64_t handle) const {
  const auto found = graphs_.find(handle);
  return found == graphs_.end() ? nullptr : found->second;
}

std::pair<uint64_t, std::shared_ptr<ScribeGraph>> ScribeContext::findGraphIf(
    const std::function<bool(const ScribeGraph&)>& predicate) const {
  for (const auto& [handle, graph] : graphs_) {
    if (predicate(*graph)) return {handle, graph};
  }
  return {0, nullptr};
}

}  // namespace zeb
