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

}  // namespace

std::string formatDefaultLine(const char* format, ZebLog_Level_t level, uint64_t timestamp,
                              va_list args) {
  char buffer[kDefaultLineBufferSize];
  const double milliseconds = static_cast<double>(timestamp) / 1000000.0;
  const int used =
      std::snprintf(buffer, sizeof buffer, "%8.1fms [%-7s] ", milliseconds, levelTag(level));
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
