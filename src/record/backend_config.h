// The written form of one backend configuration.
#pragma once

#include <string>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Declares the configuration in the builder and appends `&{name}, ` to the
// elements of the caller's array; a dropped custom configuration appends
// nothing. Returns 0, or 4004 when the configuration cannot be recorded.
Zeb_ErrorHandle_t writeBackendConfig(Recorder& recorder, const ZebBackend_Config_t& config,
                                     TextBuffer& elements, StatementBuilder& builder);

}  // namespace zeb::record
