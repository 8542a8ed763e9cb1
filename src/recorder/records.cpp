#include "recorder/records.h"

#include <algorithm>
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

std::string_view TensorNames::next(std::string_view owner) {
  return names_.store(owner, "_tensor_", counter_++);
}

void ClientNames::add(std::string_view name) {
  texts_ += name;
  texts_ += '\0';
}

bool ClientNames::contains(std::string_view name) const {
  const std::string_view texts(texts_);
  for (std::size_t at = 0; at < texts.size();) {
    const std::size_t end = texts.find('\0', at);
    if (texts.substr(at, end - at) == name) return true;
    at = end + 1;
  }
  return false;
}

std::vector<TensorIds::Entry>::const_iterator TensorIds::lowerBound(uint32_t id) const {
  return std::lower_bound(entries_.begin(), entries_.end(), id,
                          [](const Entry& entry, uint32_t key) { return entry.first < key; });
}

bool TensorIds::insert(uint32_t id, std::string_view variable) {
  if (entries_.empty() || entries_.back().first < id) {
    entries_.emplace_back(id, variable);
    return true;
  }
  // Only once the process-wide counter has wrapped around.
  const auto at = lowerBound(id);
  if (at != entries_.end() && at->first == id) return false;
  entries_.emplace(at, id, variable);
  return true;
}

std::string_view TensorIds::find(uint32_t id) const {
  // A context's ids are mostly consecutive, so the entry as far from the first
  // as the id is from the first id is usually the one: no search, and one place
  // read in an array that grows with the graph.
  if (!entries_.empty() && id >= entries_.front().first) {
    const std::size_t guess = id - entries_.front().first;
    if (guess < entries_.size() && entries_[guess].first == id) return entries_[guess].second;
  }
  const auto at = lowerBound(id);
  return at != entries_.end() && at->first == id ? at->second : std::string_view();
}

std::string_view TensorIds::take(uint32_t id) {
  const auto at = lowerBound(id);
  if (at == entries_.end() || at->first != id) return {};
  const std::string_view variable = at->second;
  entries_.erase(at);
  return variable;
}

void advanceTensorIdsPast(uint32_t id) {
  if (id == UINT32_MAX) return;
  uint32_t next = nextTensorId.load();
  while (next <= id && !nextTensorId.compare_exchange_weak(next, id + 1)) {
  }
}

ContextContents& ScribeContext::contents() {
  if (!contents_) contents_ = std::make_unique<ContextContents>();
  return *contents_;
}

BinaryVariables& ScribeContext::binaryVariables() {
  if (!binaryVariables_) binaryVariables_ = std::make_unique<BinaryVariables>();
  return *binaryVariables_;
}

std::string_view ScribeContext::newUnclaimedTensorName() {
  return contents().tensorNames.next(
      name, [this](std::string_view tensor) { return claimedAhead(tensor, kTensorName); });
}

std::string_view ScribeGraph::newUnclaimedTensorName() {
  return tensorNames_.next(
      name, [this](std::string_view tensor) { return context->claimedAhead(tensor, kTensorName); });
}

Zeb_ErrorHandle_t ScribeContext::registerTensor(Zeb_Tensor_t& tensor, std::string_view variable) {
  ContextContents& contents = this->contents();
  const uint32_t id = nextTensorId.fetch_add(1);
  const char* clientName = clientNameOf(tensor);
  if (!contents.tensorIds.insert(id, variable)) {
    const bool named = clientName != nullptr && contents.tensorClientNames.contains(clientName);
    if (named) {
      zeb::log::error("Tensor with name %s already exists in the context.\n", clientName);
      return ZEB_TENSOR_ERROR_NAME_DUPLICATED;
    }
    zeb::log::error("Tensor name hash collision occurred, tensor with name %s must be renamed.\n",
                    clientName ? clientName : "NULL");
    return ZEB_TENSOR_ERROR_NAME_HASH_COLLISION;
  }
  idOf(tensor) = id;
  if (clientName != nullptr) contents.tensorClientNames.add(clientName);
  return ZEB_SUCCESS;
}

// The real backend may give an id again that the context holds: the newest
// tensor takes it.
void ScribeContext::rebindTensorId(uint32_t scribeId, std::optional<uint32_t> realId) {
  TensorIds& ids = contents().tensorIds;
  const std::string_view variable = ids.take(scribeId);
  if (!realId || variable.empty()) return;
  ids.take(*realId);
  ids.insert(*realId, variable);
  advanceTensorIdsPast(*realId);
}

std::string_view ScribeContext::findTensorName(uint32_t id) const {
  return contents_ ? contents_->tensorIds.find(id) : std::string_view();
}

Zeb_ErrorHandle_t ScribeGraph::registerTensor(Zeb_Tensor_t& tensor, std::string_view variable) {
  return context->registerTensor(tensor, variable);
}

std::string_view ScribeGraph::findTensorName(uint32_t id) const {
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

bool ScribeContext::hasGraphVariable(const std::string& variableName) const {
  return contents_ && contents_->graphNames.count(variableName) != 0;
}

uint64_t ScribeContext::createGraph(const std::string& candidate, const std::string& graphName) {
  try {
    ContextContents& contents = this->contents();
    const std::string variable = chooseGraphVariable(candidate);
    const auto graph = std::make_shared<ScribeGraph>(this, variable, graphName);
    graph->namesClaimed = contents.claims && contents.claims->ownsClaims(variable);
    contents.graphNames.emplace(candidate, graph.get());
    if (variable != candidate) contents.renamedGraphs.emplace(variable, graph.get());
    const uint64_t handle = makeHandle(graph.get());
    contents.graphs[handle] = graph;
    return handle;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

// Its variable stays among the renamed graphs', so that no later name meets
// it; its client's name no longer refuses a graph.
void ScribeContext::retireGraph(uint64_t handle) {
  if (!contents_) return;
  const auto found = contents_->graphs.find(handle);
  if (found == contents_->graphs.end()) return;
  const std::shared_ptr<ScribeGraph> graph = found->second;
  contents_->graphs.erase(found);
  for (auto named = contents_->graphNames.begin(); named != contents_->graphNames.end(); ++named) {
    if (named->second != graph.get()) continue;
    contents_->graphNames.erase(named);
    break;
  }
  contents_->renamedGraphs.emplace(graph->name, graph.get());
  contents_->retiredGraphs.push_back(graph);
}

std::shared_ptr<ScribeGraph> ScribeContext::findGraph(uint64_t handle) const {
  if (!contents_) return nullptr;
  const auto found = contents_->graphs.find(handle);
  return found == contents_->graphs.end() ? nullptr : found->second;
}

std::pair<uint64_t, std::shared_ptr<ScribeGraph>> ScribeContext::findGraphIf(
    const std::function<bool(const ScribeGraph&)>& predicate) const {
  if (!contents_) return {0, nullptr};
  for (const auto& [handle, graph] : contents_->graphs) {
    if (predicate(*graph)) return {handle, graph};
  }
  return {0, nullptr};
}

}  // namespace zeb
