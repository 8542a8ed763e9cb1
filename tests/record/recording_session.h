// What the recording tests of every family share: a started recorder writing
// into a temporary directory, the captured log, and a switch that makes every
// model-file write fail.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pal/stream_ops_override.h"
#include "recorder/model_frame.h"
#include "recorder/recorder.h"
#include "support/log_capture.h"
#include "support/scoped_temp_dir.h"

namespace zeb::test {

using Messages = std::vector<std::pair<ZebLog_Level_t, std::string>>;

struct RecordingSession {
  RecordingSession() {
    recorder.setOutputDirectory((directory.path() / "out").string() + "/");
    EXPECT_EQ(recorder.start(), 0u);
    log.clear();
  }

  // The model file after its header: the blocks recorded so far.
  std::string blocks() const {
    const std::string text = readFile(recorder.outputDirectory() + recorder.modelFileName());
    const std::string header = modelHeader(recorder.dataFileName());
    EXPECT_EQ(text.compare(0, header.size(), header), 0) << "model header missing";
    return text.size() < header.size() ? std::string() : text.substr(header.size());
  }

  // A refused model-file write leaves its own message first.
  void expectFailedWriteLogged() const {
    ASSERT_FALSE(log.messages().empty());
    EXPECT_EQ(log.messages()[0].text.rfind("Size of string written(0)", 0), 0u)
        << log.messages()[0].text;
  }

  Messages messages() const {
    Messages result;
    for (const auto& message : log.messages()) result.emplace_back(message.level, message.text);
    return result;
  }

  // Destroyed in reverse: the recorder closes its files before the log and the
  // directory go away.
  ScopedTempDir directory;
  LogCapture log;
  Recorder recorder;
};

// Every model-file write fails while the object lives.
class FailingWrites {
 public:
  FailingWrites() { streams_.ops().write = StreamOpsOverride::writeNothing; }

 private:
  StreamOpsOverride streams_;
};

inline Messages error(const std::string& text) { return {{ZEB_LOG_LEVEL_ERROR, text}}; }
inline Messages warning(const std::string& text) { return {{ZEB_LOG_LEVEL_WARN, text}}; }

// A block as written: each line indented by three blanks (empty lines stay
// empty), and the empty line that ends every block.
inline std::string block(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += (line.empty() ? "" : "   ") + line + "\n";
  return text + "\n";
}

}  // namespace zeb::test
