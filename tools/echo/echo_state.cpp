#include "echo_state.h"

#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "echo_backend.h"

namespace zeb::echo {
namespace {

std::mutex holderMutex;
std::unique_ptr<EchoState> holder;

}  // namespace

uint64_t nanosecondsNow() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count());
}

EchoSettings EchoSettings::fromEnvironment() {
  EchoSettings settings;
  if (const char* path = std::getenv(kLogVariable)) settings.logPath = path;
  for (const char* failing = std::getenv(kFailVariable); failing != nullptr && *failing != '\0';) {
    const char* colon = std::strchr(failing, ':');
    if (colon == nullptr) break;
    char* end = nullptr;
    settings.failures[std::string(failing, colon)] = std::strtoull(colon + 1, &end, 10);
    failing = *end == ',' ? end + 1 : nullptr;
  }
  return settings;
}

EchoState::EchoState(const EchoSettings& settings)
    : settings_(settings), nextHandle_(settings.firstHandle), nextTensorId_(settings.firstTensorId) {
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
    : state_(echoState()), lock_(state_.mutex_), line_(state_.ordinals_, name), name_(name) {
  // The log family's lines carry "log:" before the member.
  const auto failing = state_.settings_.failures.find(member());
  if (failing != state_.settings_.failures.end()) failure_ = failing->second;
}

void Call::createGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out) {
  create(HandleKind::Graph, out);
  if (out != nullptr && name != nullptr && !failing()) {
    state_.graphsByName_[{context, name}] = reinterpret_cast<uintptr_t>(*out);
  }
}

void Call::retrieveGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out) {
  if (out != nullptr && name != nullptr && !failing()) {
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
  const bool known = tensor != nullptr && !failing() &&
                     (tensor->version == ZEB_TENSOR_VERSION_1 || tensor->version == ZEB_TENSOR_VERSION_2);
  if (!known) {
    line_.result("NULL");
    return;
  }
  const uint32_t id = state_.nextTensorId_++;
  // Both versions keep the id at the same place; write it through the version in use.
  (tensor->version == ZEB_TENSOR_VERSION_1 ? tensor->v1.id : tensor->v2.id) = id;
  line_.result(state_.ordinals_.addTensorId(id));
}

void Call::addLogger(Zeb_LogHandle_t handle, const EchoLogger& logger) {
  if (failing()) return;
  state_.loggers_[handle] = logger;
  state_.newestLogger_ = handle;
}

void Call::setLoggerLevel(Zeb_LogHandle_t handle, int32_t level) {
  const auto found = state_.loggers_.find(handle);
  if (found != state_.loggers_.end() && !failing()) found->second.level = level;
}

void Call::removeLogger(Zeb_LogHandle_t handle) {
  if (failing()) return;
  state_.loggers_.erase(handle);
  if (state_.newestLogger_ == handle) state_.newestLogger_ = nullptr;
}

namespace {

void deliver(const EchoLogger& logger, const char* format, ...) {
  va_list args;
  va_start(args, format);
  logger.callback(format, ZEB_LOG_LEVEL_ERROR, nanosecondsNow() - logger.epochNanoseconds, args);
  va_end(args);
}

}  // namespace

// The message goes out once the state is released: the client's callback may
// call the backend again.
Zeb_ErrorHandle_t Call::finish() {
  if (failing()) line_.arg("failed").number(failure_);
  if (state_.log_ != nullptr) {
    const std::string text = line_.finish();
    std::fwrite(text.data(), 1, text.size(), state_.log_);
    std::fflush(state_.log_);
  }
  EchoLogger logger;
  const auto newest = state_.loggers_.find(state_.newestLogger_);
  if (failing() && newest != state_.loggers_.end()) logger = newest->second;
  lock_.unlock();
  if (logger.callback != nullptr && logger.level >= ZEB_LOG_LEVEL_ERROR)
    deliver(logger, "echo backend: %s fails with %llu, as %s asks", std::string(member()).c_str(),
            static_cast<unsigned long long>(failure_), kFailVariable);
  return failure_;
}

}  // namespace zeb::echo
