// Recording of the backend family.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

// On success *backend receives the new backend handle.
Zeb_ErrorHandle_t backendCreate(Recorder& recorder, const ZebBackend_Config_t** config,
                                uint64_t* backend);
Zeb_ErrorHandle_t backendSetConfig(Recorder& recorder, uint64_t backend,
                                   const ZebBackend_Config_t** config);
Zeb_ErrorHandle_t backendRegisterOpPackage(Recorder& recorder, uint64_t backend,
                                           const char* packagePath, const char* interfaceProvider,
                                           const char* target);
Zeb_ErrorHandle_t backendGetSupportedOperations(Recorder& recorder, uint64_t backend,
                                                uint32_t* numOperations,
                                                const ZebBackend_OperationName_t** operations);
Zeb_ErrorHandle_t backendFree(Recorder& recorder, uint64_t backend);

// The variable name of a backend handle: "NULL" for 0; nothing (and logged)
// when the handle names no backend.
std::optional<std::string> backendVariable(Recorder& recorder, uint64_t backend);

}  // namespace zeb::record
