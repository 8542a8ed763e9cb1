#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "api/provider.h"
#include "record/backend.h"
#include "record/node.h"

namespace zeb::entry {

namespace {
constexpr const char* kBuildId = "v2.22.0.240425235059_92863";
}  // namespace

// The logger argument is not used: the library logs through the process-wide logger.
Zeb_ErrorHandle_t backendCreate(Recorder& recorder, Zeb_LogHandle_t /*logger*/,
                                const ZebBackend_Config_t** config, Zeb_BackendHandle_t* backend) {
  // Checked before the start, so a NULL pointer is refused even when the output cannot open.
  if (auto refusal = guard::refuseNull(backend, "Provided backend handle pointer is NULL",
                                       ZEB_BACKEND_ERROR_INVALID_ARGUMENT))
    return *refusal;
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  uint64_t handle = 0;
  const Zeb_ErrorHandle_t code = record::backendCreate(recorder, config, &handle);
  return guard::deliver(code, handle, backend);
}

Zeb_ErrorHandle_t backendSetConfig(Recorder& recorder, Zeb_BackendHandle_t backend,
                                   const ZebBackend_Config_t** config) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::backendSetConfig(recorder, handleValue(backend), config);
}

// Answered here: a client may ask before anything is recorded, and nothing is.
Zeb_ErrorHandle_t backendGetApiVersion(Zeb_ApiVersion_t* version) {
  if (version == nullptr) return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
  *version = kApiVersion;
  return 0;
}

Zeb_ErrorHandle_t backendGetBuildId(const char** id) {
  if (id == nullptr) return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
  *id = kBuildId;
  return 0;
}

Zeb_ErrorHandle_t backendRegisterOpPackage(Recorder& recorder, Zeb_BackendHandle_t backend,
                                           const char* packagePath, const char* interfaceProvider,
                                           const char* target) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::backendRegisterOpPackage(recorder, handleValue(backend), packagePath,
                                          interfaceProvider, target);
}

Zeb_ErrorHandle_t backendGetSupportedOperations(Recorder& recorder, Zeb_BackendHandle_t backend,
                                                uint32_t* numOperations,
                                                const ZebBackend_OperationName_t** operations) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::backendGetSupportedOperations(recorder, handleValue(backend), numOperations,
                                               operations);
}

Zeb_ErrorHandle_t backendValidateOpConfig(Recorder& recorder, Zeb_BackendHandle_t backend,
                                          Zeb_OpConfig_t opConfig) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::backendValidateOpConfig(recorder, handleValue(backend), opConfig);
}

Zeb_ErrorHandle_t backendFree(Recorder& recorder, Zeb_BackendHandle_t backend) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::backendFree(recorder, handleValue(backend));
}

}  // namespace zeb::entry
