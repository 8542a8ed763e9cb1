#include "log/logger.h"

#include <cstdio>
#include <mutex>
#include <new>
#include <unordered_map>

#include "pal/pal.h"
#include "recorder/records.h"

namespace zeb::log {
namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<uint64_t, std::shared_ptr<Logger>> loggers;
  uint64_t currentKey = 0;
  uint32_t outstandingHandles = 0;

  ~Registry();
};

// Trivially destructible, so it can still be read after the registry is gone:
// a message logged from a static destroyed later is dropped instead of
// touching a destroyed map.
std::atomic<bool> registryDestroyed{false};

Registry::~Registry() { registryDestroyed = true; }

Registry* liveRegistry() {
  if (registryDestroyed) return nullptr;
  static Registry instance;
  return &instance;
}

bool validLevel(int32_t level) { return level >= kError && level <= kDebug; }

std::shared_ptr<Logger> find(Registry& registry) {
  std::lock_guard<std::mutex> lock(registry.mutex);
  const auto found = registry.loggers.find(registry.currentKey);
  return found == registry.loggers.end() ? nullptr : found->second;
}

void eraseCurrent(Registry& registry) {
  std::lock_guard<std::mutex> lock(registry.mutex);
  registry.loggers.erase(registry.currentKey);
}

thread_local HeldMessages* heldMessages = nullptr;

void logWith(int32_t level, const char* format, va_list args) {
  if (heldMessages != nullptr) {
    heldMessages->hold(level, format, args);
    return;
  }
  if (const auto logger = current()) logger->log(level, format, args);
}

void deliver(int32_t level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  logWith(level, format, args);
  va_end(args);
}

}  // namespace

HeldMessages::HeldMessages() : outer_(heldMessages) { heldMessages = this; }

HeldMessages::~HeldMessages() {
  heldMessages = outer_;
  for (const auto& [level, text] : messages_) deliver(level, "%s", text.c_str());
}

void HeldMessages::hold(int32_t level, const char* format, va_list args) {
  va_list measuring;
  va_copy(measuring, args);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  messages_.emplace_back(level, std::move(text));
}

Logger::Logger(ZebLog_Callback_t callback, int32_t level, uint64_t epochNanoseconds)
    : callback_(callback), level_(level), epoch_(epochNanoseconds) {}

void Logger::log(int32_t level, const char* format, va_list args) const {
  if (!callback_ || level > level_.load()) return;
  callback_(format, static_cast<ZebLog_Level_t>(level), pal::systemClockNanoseconds() - epoch_,
            args);
}

Zeb_ErrorHandle_t create(ZebLog_Callback_t callback, ZebLog_Level_t level, Zeb_LogHandle_t* handle) {
  if (!validLevel(level)) return ZEB_LOG_ERROR_INVALID_ARGUMENT;
  if (!handle) return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  Registry* registry = liveRegistry();
  if (!registry) return ZEB_LOG_ERROR_INVALID_HANDLE;
  eraseCurrent(*registry);
  try {
    const auto logger = std::make_shared<Logger>(callback ? callback : defaultCallback, level,
                                                 pal::systemClockNanoseconds());
    const uint64_t key = makeHandle(logger.get());
    std::lock_guard<std::mutex> lock(registry->mutex);
    registry->loggers[key] = logger;
    registry->currentKey = key;
    ++registry->outstandingHandles;
  } catch (const std::bad_alloc&) {
    return ZEB_LOG_ERROR_INVALID_HANDLE;
  }
  *handle = reinterpret_cast<Zeb_LogHandle_t>(uintptr_t{1});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t setLevel(ZebLog_Level_t level) {
  const auto logger = current();
  if (!logger) return ZEB_LOG_ERROR_INVALID_HANDLE;
  if (!validLevel(level)) return ZEB_LOG_ERROR_INVALID_ARGUMENT;
  logger->setLevel(level);
  return ZEB_SUCCESS;
}

// Under the registry's lock, as logCreate and logFree may come from several threads.
Zeb_ErrorHandle_t release() {
  Registry* registry = liveRegistry();
  if (!registry) return ZEB_LOG_ERROR_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(registry->mutex);
  if (registry->loggers.count(registry->currentKey) == 0 || registry->outstandingHandles == 0)
    return ZEB_LOG_ERROR_INVALID_HANDLE;
  if (--registry->outstandingHandles == 0) registry->loggers.erase(registry->currentKey);
  return ZEB_SUCCESS;
}

std::shared_ptr<Logger> current() {
  Registry* registry = liveRegistry();
  return registry ? find(*registry) : nullptr;
}

void ensureRegistry() { liveRegistry(); }

void error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  logWith(kError, format, args);
  va_end(args);
}

void warning(const char* format, ...) {
  va_list args;
  va_start(args, format);
  logWith(kWarning, format, args);
  va_end(args);
}

void errorOrStandardError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (current() != nullptr) {
    logWith(kError, format, args);
  } else {
    std::fputs("ZebScribe: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
  }
  va_end(args);
}

}  // namespace zeb::log
