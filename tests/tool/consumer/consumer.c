/* Records into ./recording/ through ZebScribe linked as a library: a backend,
 * a context, a context tensor with four bytes of data, and their frees. */
#include <stdio.h>

#include "ZebInterface.h"
#include "ZebScribe.h"

static int record(ZEB_INTERFACE_VER_TYPE api) {
  Zeb_BackendHandle_t backend = NULL;
  Zeb_ContextHandle_t context = NULL;
  uint8_t bytes[4] = {1, 2, 3, 4};
  uint32_t dims[1] = {4};
  Zeb_Tensor_t tensor = {.version = ZEB_TENSOR_VERSION_1,
                         .v1 = {.name = "weights", .type = ZEB_TENSOR_TYPE_STATIC, .dataType = ZEB_DATATYPE_UINT_8,
                                .rank = 1, .dimensions = dims, .memType = ZEB_TENSORMEMTYPE_RAW,
                                .clientBuf = {.data = bytes, .dataSize = sizeof bytes}}};
  return api.backendCreate(NULL, NULL, &backend) ||
         api.contextCreate(backend, NULL, NULL, &context) ||
         api.tensorCreateContextTensor(context, &tensor) || api.contextFree(context, NULL) ||
         api.backendFree(backend);
}

int main(void) {
  const ZebScribe_Config_t directory = {.option = ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY,
                                        .outputDirectory = "recording"};
  const ZebScribe_Config_t* config[] = {&directory, NULL};
  const ZebInterface_t** providers = NULL;
  uint32_t count = 0;
  if (ZebScribe_initialize(config) != 0 || ZebInterface_getProviders(&providers, &count) != 0 ||
      count == 0) {
    fprintf(stderr, "ZebScribe did not start\n");
    return 1;
  }
  return record(providers[0]->ZEB_INTERFACE_VER_NAME) ? 2 : 0;
}
