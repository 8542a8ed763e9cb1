// Recording of operation configurations: nodes added to a graph, and the
// validation of an operation by a backend.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, ScribeGraph& graph,
                               const Zeb_OpConfig_t& opConfig);
Zeb_ErrorHandle_t backendValidateOpConfig(Recorder& recorder, uint64_t backend,
                                          const Zeb_OpConfig_t& opConfig);

}  // namespace zeb::record
