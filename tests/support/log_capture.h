// Collects the messages that the library logs while the object lives.
#pragma once

#include <string>
#include <vector>

#include "ZebInterface.h"

namespace zeb::test {

struct LoggedMessage {
  ZebLog_Level_t level;
  std::string text;
};

class LogCapture {
 public:
  explicit LogCapture(ZebLog_Level_t maxLevel = ZEB_LOG_LEVEL_DEBUG);
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::vector<LoggedMessage>& messages() const;
  std::vector<std::string> texts() const;
  void clear();
};

}  // namespace zeb::test
