// The line that the default log callback prints, kept apart so that its
// format can be checked without capturing standard output.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

#include "ZebInterface.h"

namespace zeb::log {

// Size of the default callback's buffer, terminating NUL included.
inline constexpr std::size_t kDefaultLineBufferSize = 1024;

// "%8.1fms [%-7s] " with the milliseconds and the level tag, then the message,
// cut off at the buffer's size.
std::string formatDefaultLine(const char* format, ZebLog_Level_t level, uint64_t timestamp,
                              va_list args);

}  // namespace zeb::log
