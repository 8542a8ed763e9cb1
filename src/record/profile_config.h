// Profile configurations, written as C declarations of the recorded program.
#pragma once

#include <string>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Declares one configuration and appends its address to `elements` (nothing
// for a dropped custom configuration). Returns 0 or 1004.
Zeb_ErrorHandle_t serializeProfileConfig(Recorder& recorder, ScribeProfile& profile,
                                         const ZebProfile_Config_t& config,
                                         TextBuffer& elements,
                                         StatementBuilder& builder);

}  // namespace zeb::record
