/* Zeb API: graphs. */
#ifndef ZEB_GRAPH_H
#define ZEB_GRAPH_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef ZEB_ENUM(ZebGraph_ConfigOption) {
  ZEB_GRAPH_CONFIG_OPTION_CUSTOM = 0,
  ZEB_GRAPH_CONFIG_OPTION_PROFILING_STATE = 1,
  ZEB_GRAPH_CONFIG_OPTION_NUM_PROFILING_EXECUTIONS = 2,
  ZEB_GRAPH_CONFIG_OPTION_PRIORITY = 3,
  ZEB_GRAPH_CONFIG_OPTION_UNDEFINED = 0x7FFFFFFF
} ZebGraph_ConfigOption_t;

typedef struct ZebGraph_CustomConfigOpaque* ZebGraph_CustomConfig_t;

typedef struct {
  ZebGraph_ConfigOption_t option;
  union {
    ZebGraph_CustomConfig_t customConfig;
    Zeb_Priority_t priority;
  };
} ZebGraph_Config_t;

/* Execution-environment entries: the first field names the kind of entry. */
typedef struct {
  uint32_t kind;
  const void* value;
} ZebGraph_ExecutionEnvironment_t;

typedef ZEB_ENUM(ZebGraph_Error) {
  ZEB_GRAPH_ERROR_INVALID_ARGUMENT = 6000,
  ZEB_GRAPH_ERROR_INVALID_HANDLE = 6001,
  ZEB_GRAPH_ERROR_GRAPH_NAME_DUPLICATED = 6003,
  ZEB_GRAPH_ERROR_INVALID_TENSOR = 6004,
  ZEB_GRAPH_ERROR_GENERAL = 6999
} ZebGraph_Error_t;

#ifdef __cplusplus
}
#endif

#endif
