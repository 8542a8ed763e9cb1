// The process-wide logger behind the API's log functions.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ZebInterface.h"

namespace zeb::log {

enum Level : int32_t {
  kError = ZEB_LOG_LEVEL_ERROR,
  kWarning = ZEB_LOG_LEVEL_WARN,
  kInfo = ZEB_LOG_LEVEL_INFO,
  kVerbose = ZEB_LOG_LEVEL_VERBOSE,
  kDebug = ZEB_LOG_LEVEL_DEBUG,
};

class Logger {
 public:
  Logger(ZebLog_Callback_t callback, int32_t level, uint64_t epochNanoseconds);

  int32_t level() const { return level_.load(); }
  void setLevel(int32_t level) { level_.store(level); }
  // Passes the message to the callback when its level is at most the logger's.
  void log(int32_t level, const char* format, va_list args) const;

 private:
  ZebLog_Callback_t callback_;
  std::atomic<int32_t> level_;
  uint64_t epoch_;
};

// The API's log functions (slots 25 to 27); they return the API's codes.
Zeb_ErrorHandle_t create(ZebLog_Callback_t callback, ZebLog_Level_t level, Zeb_LogHandle_t* handle);
Zeb_ErrorHandle_t setLevel(ZebLog_Level_t level);
Zeb_ErrorHandle_t release();

// The current logger, or an empty reference when none exists.
std::shared_ptr<Logger> current();

// Makes sure the registry exists. Objects that log from their destructors call
// this in their constructors, so that the registry is destroyed after them.
void ensureRegistry();

// Logs through the current logger; dropped when there is none.
void error(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void warning(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Through the current logger; on standard error when there is none, for what
// a user must see even from an application that makes no logger.
void errorOrStandardError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Messages logged on this thread while one lives are delivered when it goes.
// The recorder holds them while a failed write is cut back: a client's
// callback that calls the API again then finds whole files.
class HeldMessages {
 public:
  HeldMessages();
  ~HeldMessages();
  HeldMessages(const HeldMessages&) = delete;
  HeldMessages& operator=(const HeldMessages&) = delete;

  void hold(int32_t level, const char* format, va_list args);

 private:
  std::vector<std::pair<int32_t, std::string>> messages_;
  HeldMessages* outer_;
};

// The callback used when logCreate is given none: prints to standard output.
void defaultCallback(const char* format, ZebLog_Level_t level, uint64_t timestamp, va_list args);

}  // namespace zeb::log
