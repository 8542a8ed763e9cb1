// Small makers for the API's configuration records, whose anonymous unions
// C++17 cannot initialise by member name. Shared by the hand-written and the
// random scenarios and by the unit tests.
#pragma once

#include <cstdint>

#include "ZebInterface.h"

namespace zeb::e2e {

// A zeroed record of the option: custom configurations stay NULL.
template <class Config, class Option>
Config withOption(Option option) {
  Config config{};
  config.option = option;
  return config;
}

inline ZebBackend_Config_t backendCustomNull() {
  return withOption<ZebBackend_Config_t>(ZEB_BACKEND_CONFIG_OPTION_CUSTOM);
}
inline ZebBackend_Config_t backendErrorReporting(int32_t level, uint32_t storageLimit) {
  auto config = withOption<ZebBackend_Config_t>(ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING);
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), storageLimit};
  return config;
}
inline ZebBackend_Config_t backendPlatform(const char* platformOption) {
  auto config = withOption<ZebBackend_Config_t>(ZEB_BACKEND_CONFIG_OPTION_PLATFORM);
  config.platformOption = platformOption;
  return config;
}

inline ZebContext_Config_t contextOption(ZebContext_ConfigOption_t option) {
  return withOption<ZebContext_Config_t>(option);
}
inline ZebContext_Config_t contextCustomNull() {
  return contextOption(ZEB_CONTEXT_CONFIG_OPTION_CUSTOM);
}
inline ZebContext_Config_t contextPriority(int32_t priority) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_PRIORITY);
  config.priority = static_cast<Zeb_Priority_t>(priority);
  return config;
}
inline ZebContext_Config_t contextErrorReporting(int32_t level, uint32_t storageLimit) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING);
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), storageLimit};
  return config;
}
inline ZebContext_Config_t contextOemString(const char* oemString) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING);
  config.oemString = oemString;
  return config;
}
inline ZebContext_Config_t contextAsyncDepth(uint32_t depth) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH);
  config.asyncExeQueueDepth = {ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, depth};
  return config;
}
inline ZebContext_Config_t contextEnableGraphs(const char* const* graphNames) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS);
  config.enableGraphs = graphNames;
  return config;
}
inline ZebContext_Config_t contextMemoryLimitHint(uint64_t bytes) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT);
  config.memoryLimitHint = bytes;
  return config;
}
inline ZebContext_Config_t contextPersistentBinary(uint8_t isPersistent) {
  auto config = contextOption(ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY);
  config.isPersistentBinary = isPersistent;
  return config;
}

inline ZebDevice_CoreInfo_t deviceCore(uint32_t coreId, uint32_t coreType) {
  return {ZEB_DEVICE_CORE_INFO_VERSION_1, {coreId, coreType, nullptr}};
}
inline ZebDevice_HardwareDeviceInfo_t hardwareDevice(uint32_t deviceId, uint32_t deviceType,
                                                     uint32_t numCores,
                                                     ZebDevice_CoreInfo_t* cores) {
  return {ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1,
          {deviceId, deviceType, numCores, cores, nullptr}};
}
inline ZebDevice_PlatformInfo_t platformInfo(uint32_t numHwDevices,
                                             ZebDevice_HardwareDeviceInfo_t* hwDevices) {
  return {ZEB_DEVICE_PLATFORM_INFO_VERSION_1, {numHwDevices, hwDevices}};
}
inline ZebDevice_Config_t devicePlatformInfo(const ZebDevice_PlatformInfo_t* info) {
  auto config = withOption<ZebDevice_Config_t>(ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO);
  config.hardwareInfo = info;
  return config;
}
inline ZebDevice_Config_t deviceCustomNull() {
  return withOption<ZebDevice_Config_t>(ZEB_DEVICE_CONFIG_OPTION_CUSTOM);
}

inline ZebProfile_Config_t profileMaxEvents(uint64_t maxEvents) {
  auto config = withOption<ZebProfile_Config_t>(ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS);
  config.numMaxEvents = maxEvents;
  return config;
}
inline ZebProfile_Config_t profileCustomNull() {
  return withOption<ZebProfile_Config_t>(ZEB_PROFILE_CONFIG_OPTION_CUSTOM);
}

}  // namespace zeb::e2e
