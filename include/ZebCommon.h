/* Zeb API: types shared by every family (handles, versions, error codes). */
#ifndef ZEB_COMMON_H
#define ZEB_COMMON_H

#include <stddef.h>
#include <stdint.h>

/* Every Zeb enumeration is 32 bits wide; C++ needs the underlying type spelled
 * out so that out-of-range values passed by clients (-1, 0x7FFFFFFF) stay defined. */
#ifdef __cplusplus
#define ZEB_ENUM(tag) enum tag : int32_t
#define ZEB_UENUM(tag) enum tag : uint32_t
#else
#define ZEB_ENUM(tag) enum tag
#define ZEB_UENUM(tag) enum tag
#endif

/* Exported entry points of a backend library. */
#if defined(ZEB_BUILDING_BACKEND)
#if defined(_WIN32)
#define ZEB_API __declspec(dllexport)
#else
#define ZEB_API __attribute__((visibility("default")))
#endif
#else
#define ZEB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t Zeb_ErrorHandle_t;

typedef struct Zeb_BackendOpaque* Zeb_BackendHandle_t;
typedef struct Zeb_ContextOpaque* Zeb_ContextHandle_t;
typedef struct Zeb_GraphOpaque* Zeb_GraphHandle_t;
typedef struct Zeb_DeviceOpaque* Zeb_DeviceHandle_t;
typedef struct Zeb_ProfileOpaque* Zeb_ProfileHandle_t;
typedef struct Zeb_LogOpaque* Zeb_LogHandle_t;
typedef struct Zeb_SignalOpaque* Zeb_SignalHandle_t;
typedef struct Zeb_MemOpaque* Zeb_MemHandle_t;

typedef struct {
  uint32_t major;
  uint32_t minor;
  uint32_t patch;
} Zeb_Version_t;

typedef struct {
  Zeb_Version_t coreApiVersion;
  Zeb_Version_t backendApiVersion;
} Zeb_ApiVersion_t;

typedef ZEB_ENUM(Zeb_CommonError) {
  ZEB_SUCCESS = 0,
  ZEB_COMMON_ERROR_NOT_SUPPORTED = 1000,
  ZEB_COMMON_ERROR_MEM_ALLOC = 1002,
  ZEB_COMMON_ERROR_INVALID_ARGUMENT = 1004
} Zeb_CommonError_t;

typedef ZEB_ENUM(Zeb_Priority) {
  ZEB_PRIORITY_LOW = 0,
  ZEB_PRIORITY_NORMAL = 100,
  ZEB_PRIORITY_DEFAULT = 100,
  ZEB_PRIORITY_NORMAL_HIGH = 150,
  ZEB_PRIORITY_HIGH = 200,
  ZEB_PRIORITY_UNDEFINED = 0x7FFFFFFF
} Zeb_Priority_t;

typedef ZEB_ENUM(Zeb_ErrorReportingLevel) {
  ZEB_ERROR_REPORTING_LEVEL_BRIEF = 1,
  ZEB_ERROR_REPORTING_LEVEL_DETAILED = 2,
  ZEB_ERROR_REPORTING_LEVEL_UNDEFINED = 0x7FFFFFFF
} Zeb_ErrorReportingLevel_t;

typedef struct {
  Zeb_ErrorReportingLevel_t reportingLevel;
  uint32_t storageLimit;
} Zeb_ErrorReportingConfig_t;

#ifdef __cplusplus
}
#endif

#endif
