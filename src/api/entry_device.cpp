#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/device.h"

namespace zeb::entry {

// The logger arguments are not used: the library logs through the process-wide logger.

Zeb_ErrorHandle_t deviceGetPlatformInfo(Recorder& recorder, Zeb_LogHandle_t /*logger*/,
                                        const ZebDevice_PlatformInfo_t** platformInfo) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::deviceGetPlatformInfo(recorder, platformInfo);
}

Zeb_ErrorHandle_t deviceGetInfrastructure(Recorder& recorder,
                                          ZebDevice_Infrastructure_t* deviceInfra) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::deviceGetInfrastructure(recorder, deviceInfra);
}

// Unlike contexts and profiles, *device is left as the client set it until
// the recording succeeds.
Zeb_ErrorHandle_t deviceCreate(Recorder& recorder, Zeb_LogHandle_t /*logger*/,
                               const ZebDevice_Config_t** config, Zeb_DeviceHandle_t* device) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  if (auto refusal = guard::refuseNull(device, "Provided device handle pointer is NULL",
                                       ZEB_COMMON_ERROR_INVALID_ARGUMENT))
    return *refusal;
  auto created = guard::createDevice(recorder);
  if (!created) return created.refusal;
  return guard::deliver(record::deviceCreate(recorder, *created.record, config), created.handle,
                        device);
}

Zeb_ErrorHandle_t deviceSetConfig(Recorder& recorder, Zeb_DeviceHandle_t device,
                                  const ZebDevice_Config_t** config) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveDevice(recorder, handleValue(device));
  if (!resolved) return resolved.refusal;
  return record::deviceSetConfig(recorder, *resolved.record, config);
}

Zeb_ErrorHandle_t deviceGetInfo(Recorder& recorder, Zeb_DeviceHandle_t device,
                                const ZebDevice_PlatformInfo_t** platformInfo) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveDevice(recorder, handleValue(device));
  if (!resolved) return resolved.refusal;
  return record::deviceGetInfo(recorder, *resolved.record, platformInfo);
}

Zeb_ErrorHandle_t deviceFree(Recorder& recorder, Zeb_DeviceHandle_t device) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveDevice(recorder, handleValue(device));
  if (!resolved) return resolved.refusal;
  return record::deviceFree(recorder, *resolved.record);
}

}  // namespace zeb::entry
