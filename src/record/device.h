// Recording of the device family.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

Zeb_ErrorHandle_t deviceCreate(Recorder& recorder, ScribeDevice& device,
                               const ZebDevice_Config_t** config);
Zeb_ErrorHandle_t deviceSetConfig(Recorder& recorder, ScribeDevice& device,
                                  const ZebDevice_Config_t** config);
Zeb_ErrorHandle_t deviceFree(Recorder& recorder, ScribeDevice& device);
Zeb_ErrorHandle_t deviceGetInfo(Recorder& recorder, ScribeDevice& device,
                                const ZebDevice_PlatformInfo_t** platformInfo);
Zeb_ErrorHandle_t deviceGetPlatformInfo(Recorder& recorder,
                                        const ZebDevice_PlatformInfo_t** platformInfo);
Zeb_ErrorHandle_t deviceGetInfrastructure(Recorder& recorder,
                                          ZebDevice_Infrastructure_t* deviceInfra);

}  // namespace zeb::record
