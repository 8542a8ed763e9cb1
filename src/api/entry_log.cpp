#include "api/entry_points.h"
#include "log/logger.h"

namespace zeb::entry {

// There is one process-wide logger whatever handle the client holds, so the
// handle arguments are not examined.

Zeb_ErrorHandle_t logCreate(ZebLog_Callback_t callback, ZebLog_Level_t maxLogLevel,
                            Zeb_LogHandle_t* logger) {
  return log::create(callback, maxLogLevel, logger);
}

Zeb_ErrorHandle_t logSetLogLevel(Zeb_LogHandle_t /*logger*/, ZebLog_Level_t maxLogLevel) {
  return log::setLevel(maxLogLevel);
}

Zeb_ErrorHandle_t logFree(Zeb_LogHandle_t /*logger*/) { return log::release(); }

}  // namespace zeb::entry
