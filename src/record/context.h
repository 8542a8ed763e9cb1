// Recording of the context family.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

Zeb_ErrorHandle_t contextCreate(Recorder& recorder, ScribeContext& context, uint64_t backend,
                                uint64_t device, const ZebContext_Config_t** config);
Zeb_ErrorHandle_t contextSetConfig(Recorder& recorder, ScribeContext& context,
                                   const ZebContext_Config_t** config);
// Records the free and releases the context.
Zeb_ErrorHandle_t contextFree(Recorder& recorder, uint64_t context, uint64_t profile);

}  // namespace zeb::record
