// Device slots of the echo backend. Platform queries answer one static tree:
// one hardware device with two cores.
#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

ZebDevice_CoreInfo_t kCores[] = {
    {ZEB_DEVICE_CORE_INFO_VERSION_1, {{0, 1, nullptr}}},
    {ZEB_DEVICE_CORE_INFO_VERSION_1, {{1, 1, nullptr}}},
};
ZebDevice_HardwareDeviceInfo_t kHardwareDevices[] = {
    {ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1, {{0, 1, 2, kCores, nullptr}}},
};
const ZebDevice_PlatformInfo_t kPlatformInfo = {ZEB_DEVICE_PLATFORM_INFO_VERSION_1,
                                                {{1, kHardwareDevices}}};

// Device infrastructure is backend-specific; clients only need a valid pointer.
struct Infrastructure {
  uint32_t version = 1;
} infrastructure;

Zeb_ErrorHandle_t deviceGetPlatformInfo(Zeb_LogHandle_t logger,
                                        const ZebDevice_PlatformInfo_t** platformInfo) {
  Call call("deviceGetPlatformInfo");
  call.arg("log").handle(HandleKind::Log, logger);
  call.arg("info").output(platformInfo);
  call.fill(platformInfo, &kPlatformInfo);
  return call.finish();
}

// The tree handed out is static: freeing it only logs it.
Zeb_ErrorHandle_t deviceFreePlatformInfo(Zeb_LogHandle_t logger,
                                         const ZebDevice_PlatformInfo_t* platformInfo) {
  Call call("deviceFreePlatformInfo");
  call.arg("log").handle(HandleKind::Log, logger);
  call.arg("info").platformInfo(platformInfo);
  return call.finish();
}

Zeb_ErrorHandle_t deviceGetInfrastructure(ZebDevice_Infrastructure_t* deviceInfra) {
  Call call("deviceGetInfrastructure");
  call.arg("infra").output(deviceInfra);
  call.fill(deviceInfra, reinterpret_cast<ZebDevice_Infrastructure_t>(&infrastructure));
  return call.finish();
}

Zeb_ErrorHandle_t deviceCreate(Zeb_LogHandle_t logger, const ZebDevice_Config_t** config,
                               Zeb_DeviceHandle_t* device) {
  Call call("deviceCreate");
  call.arg("log").handle(HandleKind::Log, logger);
  call.arg("config").deviceConfigs(config);
  call.create(HandleKind::Device, device);
  return call.finish();
}

Zeb_ErrorHandle_t deviceSetConfig(Zeb_DeviceHandle_t device, const ZebDevice_Config_t** config) {
  Call call("deviceSetConfig");
  call.arg("device").handle(HandleKind::Device, device);
  call.arg("config").deviceConfigs(config);
  return call.finish();
}

Zeb_ErrorHandle_t deviceGetInfo(Zeb_DeviceHandle_t device,
                                const ZebDevice_PlatformInfo_t** platformInfo) {
  Call call("deviceGetInfo");
  call.arg("device").handle(HandleKind::Device, device);
  call.arg("info").output(platformInfo);
  call.fill(platformInfo, &kPlatformInfo);
  return call.finish();
}

Zeb_ErrorHandle_t deviceFree(Zeb_DeviceHandle_t device) {
  Call call("deviceFree");
  call.arg("device").handle(HandleKind::Device, device);
  return call.finish();
}

}  // namespace

void fillDeviceSlots(FunctionTable& table) {
  table.deviceGetPlatformInfo = deviceGetPlatformInfo;
  table.deviceFreePlatformInfo = deviceFreePlatformInfo;
  table.deviceGetInfrastructure = deviceGetInfrastructure;
  table.deviceCreate = deviceCreate;
  table.deviceSetConfig = deviceSetConfig;
  table.deviceGetInfo = deviceGetInfo;
  table.deviceFree = deviceFree;
}

}  // namespace zeb::echo
