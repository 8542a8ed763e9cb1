/* Zeb API: contexts. */
#ifndef ZEB_CONTEXT_H
#define ZEB_CONTEXT_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t Zeb_ContextBinarySize_t;

typedef ZEB_ENUM(ZebContext_ConfigOption) {
  ZEB_CONTEXT_CONFIG_OPTION_CUSTOM = 0,
  ZEB_CONTEXT_CONFIG_OPTION_PRIORITY = 1,
  ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING = 2,
  ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING = 3,
  ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH = 4,
  ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS = 5,
  ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT = 6,
  ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY = 7,
  ZEB_CONTEXT_CONFIG_UNDEFINED = 0x7FFFFFFF
} ZebContext_ConfigOption_t;

typedef ZEB_ENUM(ZebContext_AsyncExecutionQueueDepthType) {
  ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC = 0,
  ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_UNDEFINED = 0x7FFFFFFF
} ZebContext_AsyncExecutionQueueDepthType_t;

typedef struct {
  ZebContext_AsyncExecutionQueueDepthType_t type;
  union {
    uint32_t depth;
  };
} ZebContext_AsyncExecutionQueueDepth_t;

typedef struct ZebContext_CustomConfigOpaque* ZebContext_CustomConfig_t;

typedef struct {
  ZebContext_ConfigOption_t option;
  union {
    ZebContext_CustomConfig_t customConfig;
    Zeb_Priority_t priority;
    Zeb_ErrorReportingConfig_t errorConfig;
    const char* oemString;
    ZebContext_AsyncExecutionQueueDepth_t asyncExeQueueDepth;
    const char* const* enableGraphs;
    uint64_t memoryLimitHint;
    uint8_t isPersistentBinary;
  };
} ZebContext_Config_t;

typedef ZEB_ENUM(ZebContext_Error) {
  ZEB_CONTEXT_ERROR_INVALID_ARGUMENT = 5000,
  ZEB_CONTEXT_ERROR_INVALID_HANDLE = 5002,
  ZEB_CONTEXT_ERROR_BINARY_WRITE = 5005,
  ZEB_CONTEXT_ERROR_GENERAL = 5999
} ZebContext_Error_t;

#ifdef __cplusplus
}
#endif

#endif
