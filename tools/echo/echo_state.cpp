#include "echo_state.h"

#include <cstdlib>
#include <memory>

#include "echo_backend.h"

namespace zeb::echo {
namespace {

std::mutex holderMutex;
std::unique_ptr<EchoState> holder;

}  // namespace

EchoSettings EchoSettings::fromEnvironment() {
  EchoSettings settings;
  if (const char* path = std::getenv(kLogVariable)) settings.logPath = path;
  return settings;
}

EchoState::EchoState(const EchoSettings& settings)
    : nextHandle_(settings.firstHandle), nextTensorId_(settings.firstTensorId) {
  // Appending lets several processes of one scenario share a log file.
  if (!settings.logPath.empty()) log_ = std::fopen(settings.logPath.c_str(), "ab");
}

EchoState::~EchoState() {
  if (log_ != nullptr) std::fclose(log_);
}

EchoState& echoState() {
  std::lock_guard<std::mutex> lock(holderMutex);
  if (!holder) holder = std::make_unique<EchoState>(EchoSettings::fromEnvironment());
  return *holder;
}

void resetEchoState(const EchoSettings& settings) {
  std::lock_guard<std::mutex> lock(holderMutex);
  holder = std::make_unique<EchoState>(settings);
}

Call::Call(std::string_view name)
    : state_(echoState()), lock_(state_.mutex_), line_(state_.ordinals_, name) {}

void Call::createGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out) {
  create(HandleKind::Graph, out);
  if (out != nullptr && name != nullptr) {
    state_.graphsByName_[{context, name}] = reinterpret_cast<uintptr_t>(*out);
  }
}

void Call::retrieveGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out) {
  if (out != nullptr && name != nullptr) {
    const auto found = state_.graphsByName_.find({context, name});
    if (found != state_.graphsByName_.end()) {
      *out = reinterpret_cast<Zeb_GraphHandle_t>(found->second);
      line_.result(state_.ordinals_.handle(HandleKind::Graph, *out));
      return;
    }
  }
  createGraph(context, name, out);
}

void Call::assignTensorId(Zeb_Tensor_t* tensor) {
  const bool known = tensor != nullptr && (tensor->version == ZEB_TENSOR_VERSION_1 ||
                                           tensor->version == ZEB_TENSOR_VERSION_2);
  if (!known) {
    line_.result("NULL");
    return;
  }
  const uint32_t id = state_.nextTensorId_++;
  // Both versions keep the id at the same place; write it through the version in use.
  (tensor->version == ZEB_TENSOR_VERSION_1 ? tensor->v1.id : tensor->v2.id) = id;
  line_.result(state_.ordinals_.addTensorId(id));
}

Zeb_ErrorHandle_t Call::finish() {
  if (state_.log_ != nullptr) {
    const std::string text = line_.finish();
    std::fwrite(text.data(), 1, text.size(), state_.log_);
    std::fflush(state_.log_);
  }
  lock_.unlock();
  return ZEB_SUCCESS;
}

}  // namespace zeb::echo
