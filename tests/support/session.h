// A fresh recorder writing to "out/" in a temporary directory, capturing every log message.
#pragma once

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "api/client_handle.h"
#include "log/logger.h"
#include "pal/pal.h"
#include "recorder/model_frame.h"
#include "recorder/recorder.h"
#include "support/scoped_temp_dir.h"

namespace zeb::test {

// A handle value that no record is registered under.
inline constexpr uint64_t kUnknownHandle = 0x5eed;

template <class Handle> Handle as(uint64_t value) { return clientHandle<Handle>(value); }

using Logged = std::vector<std::pair<ZebLog_Level_t, std::string>>;

// The process-wide logger, at every level, for as long as the object lives.
class LogCapture {
 public:
  LogCapture() {
    captured().clear();
    Zeb_LogHandle_t handle = nullptr;
    log::create(capture, ZEB_LOG_LEVEL_DEBUG, &handle);
  }
  ~LogCapture() { log::release(), captured().clear(); }
  const Logged& messages() const { return captured(); }
  std::vector<std::string> texts() const {
    std::vector<std::string> texts;
    for (const auto& message : captured()) texts.push_back(message.second);
    return texts;
  }
  void clear() { captured().clear(); }

 private:
  static Logged& captured() { static Logged logged; return logged; }
  static void capture(const char* format, ZebLog_Level_t level, uint64_t, va_list args) {
    char buffer[2048];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    captured().emplace_back(level, buffer);
  }
};

// Restores the stream operations that tests swap for failing ones.
struct StreamOpsRestorer {
  ~StreamOpsRestorer() { pal::streamOps() = saved; }
  const pal::StreamOps saved = pal::streamOps();
};

struct Session {
  Session() { recorder.setOutputDirectory("out/"); }
  std::string model() const { return readFile("out/" + recorder.modelFileName()); }
  std::string data() const { return readFile("out/" + recorder.dataFileName()); }
  // The model file after its header: the blocks recorded so far.
  std::string blocks() const { return model().substr(std::min(model().size(), modelHeader(recorder.dataFileName()).size())); }

  // Destroyed in reverse: the recorder finishes while the log and directory exist.
  ScopedTempDir directory;
  LogCapture log;
  Recorder recorder;
};

}  // namespace zeb::test
