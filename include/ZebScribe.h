/* ZebScribe's own API: where and how the recording is written. */
#ifndef ZEB_SCRIBE_H
#define ZEB_SCRIBE_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Answer of the queries that only a real backend can answer, once recorded. */
#define ZEB_SCRIBE_QUERY_RECORDED 4950
/* A ZebScribe_initialize option came at a time or in a combination not allowed. */
#define ZEB_SCRIBE_ERROR_OPTION_ORDER 4951

typedef ZEB_UENUM(ZebScribe_ConfigOption) {
  ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY = 0,
  ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP = 1,
  ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID = 2,
  ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG = 3,
  ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER = 4,
  ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER = 5,
  /* Pass-through: a Zeb backend library that every call goes on to once it is
   * recorded, and whose answers the client receives; NULL for none. Before
   * the first recorded call only. */
  ZEB_SCRIBE_CONFIG_OPTION_FORWARD = 6
} ZebScribe_ConfigOption_t;

typedef struct {
  const char* modelFileName;
  const char* dataFileName;
} ZebScribe_FileConfig_t;

typedef struct {
  ZebScribe_ConfigOption_t option;
  union {
    const char* outputDirectory;
    uint8_t appendTimestamp;
    uint32_t backendId;
    ZebScribe_FileConfig_t fileConfig;
    uint8_t writeOutputHeader;
    uint8_t writeOutputFooter;
    const char* forwardLibrary;
  };
} ZebScribe_Config_t;

/* config: NULL-terminated array of option records, or NULL. */
ZEB_API Zeb_ErrorHandle_t ZebScribe_initialize(const ZebScribe_Config_t** config);

typedef Zeb_ErrorHandle_t (*ZebScribe_InitializeFn_t)(const ZebScribe_Config_t** config);

#ifdef __cplusplus
}
#endif

#endif
