// Small makers for the API's configuration records, whose anonymous unions
// C++17 cannot initialise by member name. Shared by the hand-written and the
// random scenarios.
#pragma once

#include <cstdint>

#include "ZebInterface.h"

namespace zeb::e2e {

inline ZebBackend_Config_t backendCustomNull() {
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_CUSTOM;
  config.customConfig = nullptr;
  return config;
}

inline ZebBackend_Config_t backendErrorReporting(int32_t level, uint32_t storageLimit) {
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING;
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), storageLimit};
  return config;
}

inline ZebBackend_Config_t backendPlatform(const char* platformOption) {
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_PLATFORM;
  config.platformOption = platformOption;
  return config;
}

inline ZebContext_Config_t contextOption(ZebContext_ConfigOption_t option) {
  ZebContext_Config_t config{};
  config.option = option;
  return config;
}

inline ZebContext_Config_t contextCustomNull() {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_CUSTOM);
  config.customConfig = nullptr;
  return config;
}

inline ZebContext_Config_t contextPriority(int32_t priority) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_PRIORITY);
  config.priority = static_cast<Zeb_Priority_t>(priority);
  return config;
}

inline ZebContext_Config_t contextErrorReporting(int32_t level, uint32_t storageLimit) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING);
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), storageLimit};
  return config;
}

inline ZebContext_Config_t contextOemString(const char* oemString) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING);
  config.oemString = oemString;
  return config;
}

inline ZebContext_Config_t contextAsyncDepth(uint32_t depth) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH);
  config.asyncExeQueueDepth.type = ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC;
  config.asyncExeQueueDepth.depth = depth;
  return config;
}

inline ZebContext_Config_t contextEnableGraphs(const char* const* graphNames) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS);
  config.enableGraphs = graphNames;
  return config;
}

inline ZebContext_Config_t contextMemoryLimitHint(uint64_t bytes) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT);
  config.memoryLimitHint = bytes;
  return config;
}

inline ZebContext_Config_t contextPersistentBinary(uint8_t isPersistent) {
  ZebContext_Config_t config = contextOption(ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY);
  config.isPersistentBinary = isPersistent;
  return config;
}

inline ZebDevice_CoreInfo_t deviceCore(uint32_t coreId, uint32_t coreType) {
  ZebDevice_CoreInfo_t core{};
  core.version = ZEB_DEVICE_CORE_INFO_VERSION_1;
  core.v1 = {coreId, coreType, nullptr};
  return core;
}

inline ZebDevice_HardwareDeviceInfo_t hardwareDevice(uint32_t deviceId, uint32_t deviceType,
                                                     uint32_t numCores,
                                                     ZebDevice_CoreInfo_t* cores) {
  ZebDevice_HardwareDeviceInfo_t device{};
  device.version = ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1;
  device.v1 = {deviceId, deviceType, numCores, cores, nullptr};
  return device;
}

inline ZebDevice_PlatformInfo_t platformInfo(uint32_t numHwDevices,
                                             ZebDevice_HardwareDeviceInfo_t* hwDevices) {
  ZebDevice_PlatformInfo_t info{};
  info.version = ZEB_DEVICE_PLATFORM_INFO_VERSION_1;
  info.v1 = {numHwDevices, hwDevices};
  return info;
}

inline ZebDevice_Config_t devicePlatformInfo(const ZebDevice_PlatformInfo_t* info) {
  ZebDevice_Config_t config{};
  config.option = ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO;
  config.hardwareInfo = info;
  return config;
}

inline ZebDevice_Config_t deviceCustomNull() {
  ZebDevice_Config_t config{};
  config.option = ZEB_DEVICE_CONFIG_OPTION_CUSTOM;
  config.customConfig = nullptr;
  return config;
}

inline ZebProfile_Config_t profileMaxEvents(uint64_t maxEvents) {
  ZebProfile_Config_t config{};
  config.option = ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS;
  config.numMaxEvents = maxEvents;
  return config;
}

inline ZebProfile_Config_t profileCustomNull() {
  ZebProfile_Config_t config{};
  config.option = ZEB_PROFILE_CONFIG_OPTION_CUSTOM;
  config.customConfig = nullptr;
  return config;
}

}  // namespace zeb::e2e
