#include "support/log_capture.h"

#include <cstdio>

#include "log/logger.h"

namespace zeb::test {
namespace {

std::vector<LoggedMessage>& captured() {
  static std::vector<LoggedMessage> messages;
  return messages;
}

void capture(const char* format, ZebLog_Level_t level, uint64_t, va_list args) {
  char buffer[2048];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  captured().push_back({level, buffer});
}

}  // namespace

LogCapture::LogCapture(ZebLog_Level_t maxLevel) {
  captured().clear();
  Zeb_LogHandle_t handle = nullptr;
  zeb::log::create(capture, maxLevel, &handle);
}

LogCapture::~LogCapture() {
  zeb::log::release();
  captured().clear();
}

const std::vector<LoggedMessage>& LogCapture::messages() const { return captured(); }

std::vector<std::string> LogCapture::texts() const {
  std::vector<std::string> texts;
  for (const auto& message : captured()) texts.push_back(message.text);
  return texts;
}

void LogCapture::clear() { captured().clear(); }

}  // namespace zeb::test
