/* Zeb API: profiles and profiling events. */
#ifndef ZEB_PROFILE_H
#define ZEB_PROFILE_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t ZebProfile_EventId_t;

typedef ZEB_ENUM(ZebProfile_Level) {
  ZEB_PROFILE_LEVEL_BASIC = 1,
  ZEB_PROFILE_LEVEL_DETAILED = 2,
  ZEB_PROFILE_LEVEL_UNDEFINED = 0x7FFFFFFF
} ZebProfile_Level_t;

typedef ZEB_UENUM(ZebProfile_ConfigOption) {
  ZEB_PROFILE_CONFIG_OPTION_CUSTOM = 0,
  ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS = 1,
  ZEB_PROFILE_CONFIG_OPTION_UNDEFINED = 0x7FFFFFFF
} ZebProfile_ConfigOption_t;

typedef struct ZebProfile_CustomConfigOpaque* ZebProfile_CustomConfig_t;

typedef struct {
  ZebProfile_ConfigOption_t option;
  union {
    ZebProfile_CustomConfig_t customConfig;
    uint64_t numMaxEvents;
  };
} ZebProfile_Config_t;

typedef uint32_t ZebProfile_EventType_t;
typedef uint32_t ZebProfile_EventUnit_t;

typedef struct {
  ZebProfile_EventType_t type;
  uint64_t value;
  ZebProfile_EventUnit_t unit;
  const char* identifier;
} ZebProfile_EventData_t;

typedef ZEB_ENUM(ZebProfile_ExtendedEventDataVersion) {
  ZEB_PROFILE_EXTENDED_EVENT_DATA_VERSION_1 = 1,
  ZEB_PROFILE_EXTENDED_EVENT_DATA_VERSION_UNDEFINED = 0x7FFFFFFF
} ZebProfile_ExtendedEventDataVersion_t;

typedef struct {
  ZebProfile_EventType_t type;
  double value;
  uint64_t timestamp;
  ZebProfile_EventUnit_t unit;
  const char* identifier;
} ZebProfile_ExtendedEventDataV1_t;

typedef struct {
  ZebProfile_ExtendedEventDataVersion_t version;
  union {
    ZebProfile_ExtendedEventDataV1_t v1;
  };
} ZebProfile_ExtendedEventData_t;

typedef ZEB_ENUM(ZebProfile_Error) {
  ZEB_PROFILE_ERROR_INVALID_HANDLE = 12000,
  ZEB_PROFILE_ERROR_GENERAL = 12999
} ZebProfile_Error_t;

#ifdef __cplusplus
}
#endif

#endif
