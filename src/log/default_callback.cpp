#include <charconv>
#include <cstdio>

#include "log/default_format.h"
#include "log/logger.h"

namespace zeb::log {
namespace {

const char* levelTag(ZebLog_Level_t level) {
  switch (level) {
    case ZEB_LOG_LEVEL_ERROR: return " ERROR ";
    case ZEB_LOG_LEVEL_WARN: return "WARNING";
    case ZEB_LOG_LEVEL_INFO: return "  INFO ";
    case ZEB_LOG_LEVEL_VERBOSE: return "VERBOSE";
    case ZEB_LOG_LEVEL_DEBUG: return " DEBUG ";
    case ZEB_LOG_LEVEL_UNDEFINED: return "UNKNOWN";
  }
  return "";
}

// The milliseconds as "%8.1f" writes them in the C locale, whatever locale the
// client has set.
std::string millisecondsText(uint64_t timestamp) {
  char digits[32];
  const double milliseconds = static_cast<double>(timestamp) / 1000000.0;
  const auto end =
      std::to_chars(digits, digits + sizeof digits, milliseconds, std::chars_format::fixed, 1).ptr;
  std::string text(digits, end);
  if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');
  return text;
}

}  // namespace

std::string formatDefaultLine(const char* format, ZebLog_Level_t level, uint64_t timestamp,
                              va_list args) {
  char buffer[kDefaultLineBufferSize];
  const int used = std::snprintf(buffer, sizeof buffer, "%sms [%-7s] ",
                                 millisecondsText(timestamp).c_str(), levelTag(level));
  const auto prefixLength = static_cast<std::size_t>(used < 0 ? 0 : used);
  if (prefixLength < sizeof buffer) {
    std::vsnprintf(buffer + prefixLength, sizeof buffer - prefixLength, format, args);
  }
  return buffer;
}

void defaultCallback(const char* format, ZebLog_Level_t level, uint64_t timestamp, va_list args) {
  std::printf("%s\n", formatDefaultLine(format, level, timestamp, args).c_str());
}

}  // namespace zeb::log
