// A started recorder for the tests of recorded blocks, and the text of a block
// as it is written.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "recorder/model_frame.h"
#include "support/session.h"

namespace zeb::test {

struct RecordingSession : Session {
  RecordingSession() {
    EXPECT_EQ(recorder.start(), 0u);
    log.clear();
  }

  // The model file after its header: the blocks recorded so far.
  std::string blocks() const {
    const std::string text = model();
    return text.substr(std::min(text.size(), modelHeader(recorder.dataFileName()).size()));
  }
  std::string data() const { return readFile("out/" + recorder.dataFileName()); }
  const Logged& messages() const { return log.messages(); }
};

// Writes that come up short.
inline std::size_t writeNothing(const void*, std::size_t, std::size_t, std::FILE*) { return 0; }
inline std::size_t writeOneLess(const void* buffer, std::size_t size, std::size_t count,
                                std::FILE* file) {
  return count == 0 ? 0 : std::fwrite(buffer, size, count - 1, file);
}

// Every write of the output files comes up short while the object lives.
class FailingWrites {
 public:
  FailingWrites() { pal::streamOps().write = writeOneLess; }

 private:
  StreamOpsRestorer restorer_;
};

inline Logged error(const std::string& text) { return {{ZEB_LOG_LEVEL_ERROR, text}}; }
inline Logged warning(const std::string& text) { return {{ZEB_LOG_LEVEL_WARN, text}}; }

// A block as written: each line indented by three blanks (empty lines stay
// empty), and the empty line that ends every block.
inline std::string block(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += (line.empty() ? "" : "   ") + line + "\n";
  return text + "\n";
}

}  // namespace zeb::test
