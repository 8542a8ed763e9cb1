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
  Zeb_Tensor_t tensor = {.version = ZEB_TENSOR_VERSION_1};
  tensor.v1.name = "weights";
  tensor.v1.type = ZEB_TENSOR_TYPE_STATIC;
  tensor.v1.dataType = ZEB_DATATYPE_UINT_8;
  tensor.v1.rank = 1;
  tensor.v1.dimensions = dims;
  tensor.v1.memType = ZEB_TENSORMEMTYPE_RAW;
  tensor.v1.clientBuf.data = bytes;
  tensor.v1.clientBuf.dataSize = sizeof bytes;
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
