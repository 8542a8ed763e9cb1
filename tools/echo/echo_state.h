// The echo backend's process-wide state: issued handles and tensor ids, the
// graphs known by name, and the log file. Every call holds its lock while it
// works, so log lines and ordinals follow the order in which calls arrive.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "canonical.h"

namespace zeb::echo {

struct EchoSettings {
  uintptr_t firstHandle = 0x1000;
  uint32_t firstTensorId = 1000;
  std::string logPath;  // empty: no logging
  std::map<std::string, Zeb_ErrorHandle_t, std::less<>> failures;  // by member

  // Defaults, with what the environment variables ask.
  static EchoSettings fromEnvironment();
};

// A logger a client made, which the backend's messages go through.
struct EchoLogger {
  ZebLog_Callback_t callback = nullptr;
  int32_t level = 0;
  uint64_t epochNanoseconds = 0;
};

class EchoState {
 public:
  explicit EchoState(const EchoSettings& settings);
  ~EchoState();
  EchoState(const EchoState&) = delete;
  EchoState& operator=(const EchoState&) = delete;

 private:
  friend class Call;

  std::mutex mutex_;
  EchoSettings settings_;
  Ordinals ordinals_;
  uintptr_t nextHandle_;
  uint32_t nextTensorId_;
  std::FILE* log_ = nullptr;
  std::map<std::pair<const void*, std::string>, uintptr_t> graphsByName_;
  // The loggers by handle, and the newest one's, which messages go through.
  std::map<const void*, EchoLogger> loggers_;
  const void* newestLogger_ = nullptr;
};

// Nanoseconds since 1970 on the system clock, as loggers count their time.
uint64_t nanosecondsNow();

// The state of this process, made from the environment on first use.
EchoState& echoState();
// Starts over with fresh state (tests run one scenario per state).
void resetEchoState(const EchoSettings& settings);

// One received call: composes its line under the state lock and writes it.
class Call {
 public:
  explicit Call(std::string_view name);

  Line& arg(std::string_view name) { return line_.arg(name); }
  void result(std::string_view text) { line_.result(text); }

  // Issues a fresh handle of the kind into *out and names it as the result;
  // a null out receives nothing and the result is NULL.
  template <class Handle>
  void create(HandleKind kind, Handle* out) {
    result(out && !failing() ? issue(kind, *out) : "NULL");
  }

  template <class Handle>
  std::string issue(HandleKind kind, Handle& out) {
    const uintptr_t raw = state_.nextHandle_++;
    out = reinterpret_cast<Handle>(raw);
    return state_.ordinals_.addHandle(kind, out);
  }

  // Creates a graph remembered under its context and name for graphRetrieve.
  void createGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out);
  // The graph of that context and name, or a fresh one when there is none.
  void retrieveGraph(Zeb_ContextHandle_t context, const char* name, Zeb_GraphHandle_t* out);
  // Assigns the next tensor id into the client's description.
  void assignTensorId(Zeb_Tensor_t* tensor);

  // Whether the environment makes this call fail: then it issues, assigns
  // and fills nothing.
  bool failing() const { return failure_ != 0; }
  // Writes value into *out, unless out is null or the call fails.
  template <class T, class Value>
  void fill(T* out, Value value) {
    if (out != nullptr && !failing()) *out = value;
  }
  // The log family: the client's loggers, which later messages go through.
  void addLogger(Zeb_LogHandle_t handle, const EchoLogger& logger);
  void setLoggerLevel(Zeb_LogHandle_t handle, int32_t level);
  void removeLogger(Zeb_LogHandle_t handle);

  // Writes the line and releases the state; answers success, or the failure
  // the environment asks for, which the newest logger is then told about.
  Zeb_ErrorHandle_t finish();

 private:
  EchoState& state_;
  std::unique_lock<std::mutex> lock_;
  // The log family's lines carry "log:" before the member.
  std::string_view member() const { return name_.substr(name_.rfind(':') + 1); }

  Line line_;
  std::string_view name_;
  Zeb_ErrorHandle_t failure_ = 0;
};

}  // namespace zeb::echo
