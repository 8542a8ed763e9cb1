// The written form of one context configuration.
#pragma once

#include <string>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Declares the configuration in the builder under a name derived from `owner`
// (`{owner}_priority_0`, ...) and appends `&{name}` to the elements of the
// caller's array; a dropped custom configuration appends nothing. Returns 0,
// or 5000 when the configuration cannot be recorded.
Zeb_ErrorHandle_t serializeContextConfig(Recorder& recorder, const ZebContext_Config_t& config,
                                         std::vector<std::string>& elements,
                                         StatementBuilder& builder, const std::string& owner);

}  // namespace zeb::record
