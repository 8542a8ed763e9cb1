// Small makers for the API's configuration records, whose anonymous unions
// C++17 cannot initialise by member name. Shared by the hand-written and the
// random scenarios and by the unit tests.
#pragma once

#include <cstdint>

#include "ZebInterface.h"

namespace zeb::e2e {

// A zeroed record of the option (custom configurations stay NULL), with one
// member of its union set.
template <class Config, class Option>
Config withOption(Option option) {
  Config config{};
  config.option = option;
  return config;
}
template <class Config, class Option, class Member, class Value>
Config withOption(Option option, Member Config::*member, Value value) {
  Config config = withOption<Config>(option);
  config.*member = static_cast<Member>(value);
  return config;
}

using BackendConfig = ZebBackend_Config_t;
using ContextConfig = ZebContext_Config_t;
using ProfileConfig = ZebProfile_Config_t;

inline BackendConfig backendCustomNull() {
  return withOption<BackendConfig>(ZEB_BACKEND_CONFIG_OPTION_CUSTOM);
}
inline BackendConfig backendErrorReporting(int32_t level, uint32_t storageLimit) {
  return withOption(ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, &BackendConfig::errorConfig,
                    Zeb_ErrorReportingConfig_t{Zeb_ErrorReportingLevel_t(level), storageLimit});
}
inline BackendConfig backendPlatform(const char* option) {
  return withOption(ZEB_BACKEND_CONFIG_OPTION_PLATFORM, &BackendConfig::platformOption, option);
}

inline ContextConfig contextOption(ZebContext_ConfigOption_t option) {
  return withOption<ContextConfig>(option);
}
inline ContextConfig contextCustomNull() { return contextOption(ZEB_CONTEXT_CONFIG_OPTION_CUSTOM); }
inline ContextConfig contextPriority(int32_t priority) {
  return withOption(ZEB_CONTEXT_CONFIG_OPTION_PRIORITY, &ContextConfig::priority, priority);
}
inline ContextConfig contextErrorReporting(int32_t level, uint32_t storageLimit) {
  return withOption(ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING, &ContextConfig::errorConfig,
                    Zeb_ErrorReportingConfig_t{Zeb_ErrorReportingLevel_t(level), storageLimit});
}
inline ContextConfig contextOemString(const char* oemString) {
  return withOption(ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING, &ContextConfig::oemString, oemString);
}
inline ContextConfig contextAsyncDepth(uint32_t depth) {
  return withOption(ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH,
                    &ContextConfig::asyncExeQueueDepth,
                    ZebContext_AsyncExecutionQueueDepth_t{
                        ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, depth});
}
inline ContextConfig contextEnableGraphs(const char* const* graphNames) {
  return withOption(ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS, &ContextConfig::enableGraphs, graphNames);
}
inline ContextConfig contextMemoryLimitHint(uint64_t bytes) {
  return withOption(ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT, &ContextConfig::memoryLimitHint, bytes);
}
inline ContextConfig contextPersistentBinary(uint8_t isPersistent) {
  return withOption(ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY, &ContextConfig::isPersistentBinary,
                    isPersistent);
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
  return withOption(ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, &ZebDevice_Config_t::hardwareInfo,
                    info);
}
inline ZebDevice_Config_t deviceCustomNull() {
  return withOption<ZebDevice_Config_t>(ZEB_DEVICE_CONFIG_OPTION_CUSTOM);
}

inline ProfileConfig profileMaxEvents(uint64_t maxEvents) {
  return withOption(ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, &ProfileConfig::numMaxEvents, maxEvents);
}
inline ProfileConfig profileCustomNull() {
  return withOption<ProfileConfig>(ZEB_PROFILE_CONFIG_OPTION_CUSTOM);
}

}  // namespace zeb::e2e
