// The written form of graph configurations.
#pragma once

#include <string>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Declares each configuration of the NULL-terminated list (followed by an
// empty line) and then `const ZebGraph_Config_t* {graph}_config_{n}[]`, whose
// name it returns in array. Returns 0, or 6000 for a configuration that
// cannot be recorded.
Zeb_ErrorHandle_t writeGraphConfigs(Recorder& recorder, const ScribeGraph& graph,
                                    const ZebGraph_Config_t** configs, StatementBuilder& builder,
                                    TextBuffer& array);

}  // namespace zeb::record
