// Every family's configuration arrays (devices with platform trees), at creation and set later.
#include "fuzz_builder.h"

namespace {

using zeb::fuzz::Builder;

Zeb_ErrorReportingConfig_t errorConfig(Builder& build) {
  return {Zeb_ErrorReportingLevel_t(build.choose({0, 1, 2})), build.count(1000)};
}

ZebBackend_Config_t backendConfig(Builder& build) {
  ZebBackend_Config_t config{};
  config.option = ZebBackend_ConfigOption_t(build.choose({0, 1, 2}));
  if (config.option == ZEB_BACKEND_CONFIG_OPTION_CUSTOM) config.customConfig = build.opaque<ZebBackend_CustomConfig_t>();
  else if (config.option == ZEB_BACKEND_CONFIG_OPTION_PLATFORM) config.platformOption = build.string();
  else config.errorConfig = errorConfig(build);
  return config;
}

ZebContext_Config_t contextConfig(Builder& build) {
  ZebContext_Config_t config{};
  config.option = ZebContext_ConfigOption_t(build.choose({0, 1, 2, 3, 4, 5, 6, 7}));
  const uint32_t names = build.count(3);
  switch (config.option) {
    case ZEB_CONTEXT_CONFIG_OPTION_CUSTOM: config.customConfig = build.opaque<ZebContext_CustomConfig_t>(); break;
    case ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING: config.errorConfig = errorConfig(build); break;
    case ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING: config.oemString = build.string(); break;
    case ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH:
      config.asyncExeQueueDepth = {ZebContext_AsyncExecutionQueueDepthType_t(build.choose({0})), {build.count(64)}};
      break;
    case ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS:
      config.enableGraphs =
          build.array<const char*>(names + 1, [&, i = 0u]() mutable { return i++ < names ? build.string() : nullptr; });
      break;
    case ZEB_CONTEXT_CONFIG_OPTION_PRIORITY: config.priority = Zeb_Priority_t(build.any<int32_t>()); break;
    case ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY: config.isPersistentBinary = build.any<uint8_t>(); break;
    default: config.memoryLimitHint = build.any<uint64_t>();  // and an option the recorder does not know
  }
  return config;
}

ZebDevice_HardwareDeviceInfo_t hardwareDevice(Builder& build) {
  ZebDevice_HardwareDeviceInfo_t device{};
  device.version = ZebDevice_HardwareDeviceInfoVersion_t(build.choose({1}));
  device.v1.deviceId = build.count(8), device.v1.deviceType = build.count(8), device.v1.numCores = build.count(3);
  device.v1.cores = build.array<ZebDevice_CoreInfo_t>(device.v1.numCores, [&] {
    ZebDevice_CoreInfo_t core{ZebDevice_CoreInfoVersion_t(build.choose({1})), {}};
    core.v1 = {build.count(8), build.count(8), build.opaque<ZebDevice_CoreInfoExtension_t>()};
    return core;
  });
  device.v1.deviceInfoExtension = build.opaque<ZebDevice_DeviceInfoExtension_t>();
  return device;
}

ZebDevice_Config_t deviceConfig(Builder& build) {
  ZebDevice_Config_t config{};
  config.option = ZebDevice_ConfigOption_t(build.choose({0, 1}));
  if (config.option != ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO) {
    config.customConfig = build.opaque<ZebDevice_CustomConfig_t>();
    return config;
  }
  config.hardwareInfo = build.array<ZebDevice_PlatformInfo_t>(build.data.ConsumeBool(), [&] {
    ZebDevice_PlatformInfo_t info{ZebDevice_PlatformInfoVersion_t(build.choose({1})), {}};
    info.v1.numHwDevices = build.count(3);
    info.v1.hwDevices = build.array<ZebDevice_HardwareDeviceInfo_t>(info.v1.numHwDevices, [&] { return hardwareDevice(build); });
    return info;
  });
  return config;
}

ZebGraph_Config_t graphConfig(Builder& build) {
  ZebGraph_Config_t config{};
  config.option = ZebGraph_ConfigOption_t(build.choose({0, 1, 2, 3}));
  if (config.option == ZEB_GRAPH_CONFIG_OPTION_CUSTOM) config.customConfig = build.opaque<ZebGraph_CustomConfig_t>();
  else config.priority = Zeb_Priority_t(build.choose({0, 100, 200, 300}));
  return config;
}

ZebProfile_Config_t profileConfig(Builder& build) {
  ZebProfile_Config_t config{};
  config.option = ZebProfile_ConfigOption_t(build.choose({0, 1}));
  if (config.option == ZEB_PROFILE_CONFIG_OPTION_CUSTOM) config.customConfig = build.opaque<ZebProfile_CustomConfig_t>();
  else config.numMaxEvents = build.any<uint64_t>();
  return config;
}

template <class Config>
const Config** configs(Builder& build, Config (*make)(Builder&)) {
  return build.list<Config>(build.count(4), [&] { return make(build); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  Builder build(data);
  const auto& api = zeb::fuzz::api();
  Zeb_BackendHandle_t backend = nullptr;
  api.backendCreate(nullptr, configs(build, backendConfig), &backend);
  api.backendSetConfig(backend, configs(build, backendConfig));
  Zeb_DeviceHandle_t device = nullptr;
  api.deviceCreate(nullptr, configs(build, deviceConfig), &device);
  api.deviceSetConfig(device, configs(build, deviceConfig));
  Zeb_ContextHandle_t context = nullptr;
  api.contextCreate(backend, device, configs(build, contextConfig), &context);
  api.contextSetConfig(context, configs(build, contextConfig));
  Zeb_GraphHandle_t graph = nullptr;
  api.graphCreate(context, "g", configs(build, graphConfig), &graph);
  api.graphSetConfig(graph, configs(build, graphConfig));
  Zeb_ProfileHandle_t profile = nullptr;
  api.profileCreate(backend, ZebProfile_Level_t(build.choose({1, 2})), &profile);
  api.profileSetConfig(profile, configs(build, profileConfig));
  api.profileFree(profile);
  api.contextFree(context, nullptr);
  api.deviceFree(device);
  api.backendFree(backend);
  return 0;
}
