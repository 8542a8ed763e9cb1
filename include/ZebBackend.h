/* Zeb API: backends. */
#ifndef ZEB_BACKEND_H
#define ZEB_BACKEND_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef ZEB_ENUM(ZebBackend_ConfigOption) {
  ZEB_BACKEND_CONFIG_OPTION_CUSTOM = 0,
  ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING = 1,
  ZEB_BACKEND_CONFIG_OPTION_PLATFORM = 2,
  ZEB_BACKEND_CONFIG_OPTION_UNDEFINED = 0x7FFFFFFF
} ZebBackend_ConfigOption_t;

typedef struct ZebBackend_CustomConfigOpaque* ZebBackend_CustomConfig_t;

typedef struct {
  ZebBackend_ConfigOption_t option;
  union {
    ZebBackend_CustomConfig_t customConfig;
    Zeb_ErrorReportingConfig_t errorConfig;
    const char* platformOption;
  };
} ZebBackend_Config_t;

typedef struct {
  const char* opPackageName;
  const char* name;
} ZebBackend_OperationName_t;

typedef ZEB_ENUM(ZebBackend_Error) {
  ZEB_BACKEND_ERROR_CANNOT_INITIALIZE = 4000,
  ZEB_BACKEND_ERROR_INVALID_ARGUMENT = 4004,
  ZEB_BACKEND_ERROR_INVALID_HANDLE = 4011,
  ZEB_BACKEND_ERROR_GENERAL = 4999
} ZebBackend_Error_t;

#ifdef __cplusplus
}
#endif

#endif
