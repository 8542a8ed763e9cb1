/* Zeb API: logging. */
#ifndef ZEB_LOG_H
#define ZEB_LOG_H

#include <stdarg.h>

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef ZEB_ENUM(ZebLog_Level) {
  ZEB_LOG_LEVEL_ERROR = 1,
  ZEB_LOG_LEVEL_WARN = 2,
  ZEB_LOG_LEVEL_INFO = 3,
  ZEB_LOG_LEVEL_VERBOSE = 4,
  ZEB_LOG_LEVEL_DEBUG = 5,
  ZEB_LOG_LEVEL_UNDEFINED = 0x7FFFFFFF
} ZebLog_Level_t;

typedef ZEB_ENUM(ZebLog_Error) {
  ZEB_LOG_ERROR_INVALID_HANDLE = 11002,
  ZEB_LOG_ERROR_INVALID_ARGUMENT = 11003,
  ZEB_LOG_ERROR_INITIALIZATION = 11999
} ZebLog_Error_t;

/* Called with the format string, the level, the nanoseconds since the logger
 * was created and the format's arguments. */
typedef void (*ZebLog_Callback_t)(const char* fmt, ZebLog_Level_t level, uint64_t timestamp,
                                  va_list args);

#ifdef __cplusplus
}
#endif

#endif
