// Device configurations and the platform-information tree, written as C
// declarations of the recorded program.
#pragma once

#include <string>
#include <string_view>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Declares one configuration and appends its address to `elements` (nothing
// for a dropped custom configuration). Returns 0, 1000 or 1004.
Zeb_ErrorHandle_t serializeDeviceConfig(Recorder& recorder, ScribeDevice& device,
                                        const ZebDevice_Config_t& config, TextBuffer& elements,
                                        StatementBuilder& builder);

// Declare one node of the tree under `name`, children first, each child
// `{name}_{kind}_{i}` by its index. Return 0 or 1000.
Zeb_ErrorHandle_t serializePlatformInfo(const ZebDevice_PlatformInfo_t& info,
                                        std::string_view name, StatementBuilder& builder);
Zeb_ErrorHandle_t serializeHardwareDeviceInfo(const ZebDevice_HardwareDeviceInfo_t& info,
                                              std::string_view name, StatementBuilder& builder);
Zeb_ErrorHandle_t serializeCoreInfo(const ZebDevice_CoreInfo_t& info, std::string_view name,
                                    StatementBuilder& builder);

}  // namespace zeb::record
