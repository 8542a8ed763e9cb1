/* Zeb API: devices and platform information. */
#ifndef ZEB_DEVICE_H
#define ZEB_DEVICE_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZebDevice_CoreInfoExtensionOpaque* ZebDevice_CoreInfoExtension_t;
typedef struct ZebDevice_DeviceInfoExtensionOpaque* ZebDevice_DeviceInfoExtension_t;
typedef struct ZebDevice_CustomConfigOpaque* ZebDevice_CustomConfig_t;
typedef struct ZebDevice_InfrastructureOpaque* ZebDevice_Infrastructure_t;

typedef ZEB_ENUM(ZebDevice_CoreInfoVersion) {
  ZEB_DEVICE_CORE_INFO_VERSION_1 = 1,
  ZEB_DEVICE_CORE_INFO_VERSION_UNDEFINED = 0x7FFFFFFF
} ZebDevice_CoreInfoVersion_t;

typedef struct {
  uint32_t coreId;
  uint32_t coreType;
  ZebDevice_CoreInfoExtension_t coreInfoExtension;
} ZebDevice_CoreInfoV1_t;

typedef struct {
  ZebDevice_CoreInfoVersion_t version;
  union {
    ZebDevice_CoreInfoV1_t v1;
  };
} ZebDevice_CoreInfo_t;

typedef ZEB_ENUM(ZebDevice_HardwareDeviceInfoVersion) {
  ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1 = 1,
  ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_UNDEFINED = 0x7FFFFFFF
} ZebDevice_HardwareDeviceInfoVersion_t;

typedef struct {
  uint32_t deviceId;
  uint32_t deviceType;
  uint32_t numCores;
  ZebDevice_CoreInfo_t* cores;
  ZebDevice_DeviceInfoExtension_t deviceInfoExtension;
} ZebDevice_HardwareDeviceInfoV1_t;

typedef struct {
  ZebDevice_HardwareDeviceInfoVersion_t version;
  union {
    ZebDevice_HardwareDeviceInfoV1_t v1;
  };
} ZebDevice_HardwareDeviceInfo_t;

typedef ZEB_ENUM(ZebDevice_PlatformInfoVersion) {
  ZEB_DEVICE_PLATFORM_INFO_VERSION_1 = 1,
  ZEB_DEVICE_PLATFORM_INFO_VERSION_UNDEFINED = 0x7FFFFFFF
} ZebDevice_PlatformInfoVersion_t;

typedef struct {
  uint32_t numHwDevices;
  ZebDevice_HardwareDeviceInfo_t* hwDevices;
} ZebDevice_PlatformInfoV1_t;

typedef struct {
  ZebDevice_PlatformInfoVersion_t version;
  union {
    ZebDevice_PlatformInfoV1_t v1;
  };
} ZebDevice_PlatformInfo_t;

typedef ZEB_ENUM(ZebDevice_ConfigOption) {
  ZEB_DEVICE_CONFIG_OPTION_CUSTOM = 0,
  ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO = 1,
  ZEB_DEVICE_CONFIG_OPTION_UNDEFINED = 0x7FFFFFFF
} ZebDevice_ConfigOption_t;

typedef struct {
  ZebDevice_ConfigOption_t option;
  union {
    ZebDevice_CustomConfig_t customConfig;
    const ZebDevice_PlatformInfo_t* hardwareInfo;
  };
} ZebDevice_Config_t;

typedef ZEB_ENUM(ZebDevice_Error) {
  ZEB_DEVICE_ERROR_INVALID_HANDLE = 14000,
  ZEB_DEVICE_ERROR_GENERAL = 14999
} ZebDevice_Error_t;

#ifdef __cplusplus
}
#endif

#endif
