#include "support/session.h"

#include <cstdio>

#include "log/logger.h"

namespace zeb::test {
namespace {

Logged captured;

void capture(const char* format, ZebLog_Level_t level, uint64_t, va_list args) {
  char buffer[2048];
  std::vsnprintf(buffer, sizeof buffer, format, args);
  captured.emplace_back(level, buffer);
}

}  // namespace

LogCapture::LogCapture() {
  captured.clear();
  Zeb_LogHandle_t handle = nullptr;
  log::create(capture, ZEB_LOG_LEVEL_DEBUG, &handle);
}

LogCapture::~LogCapture() {
  log::release();
  captured.clear();
}

const Logged& LogCapture::messages() const { return captured; }

std::vector<std::string> LogCapture::texts() const {
  std::vector<std::string> texts;
  for (const auto& message : captured) texts.push_back(message.second);
  return texts;
}

void LogCapture::clear() { captured.clear(); }

}  // namespace zeb::test
