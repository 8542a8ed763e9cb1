/* Loads the library, makes one call that starts the recorder without
 * recording a block, and unloads it, so that the model file holds the frame
 * alone. Usage: frame_driver <library> */
#include <dlfcn.h>
#include <stdio.h>

#include "ZebInterface.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <library>\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  ZebInterface_GetProvidersFn_t getProviders;
  *(void**)&getProviders = dlsym(library, "ZebInterface_getProviders");
  const ZebInterface_t** providers = NULL;
  uint32_t count = 0;
  if (!getProviders || getProviders(&providers, &count) != 0 || count != 1) return 1;

  const char* message = NULL;
  Zeb_ErrorHandle_t result = providers[0]->ZEB_INTERFACE_VER_NAME.errorGetMessage(1000, &message);
  if (result != ZEB_COMMON_ERROR_NOT_SUPPORTED) {
    fprintf(stderr, "errorGetMessage returned %llu\n", (unsigned long long)result);
    return 1;
  }
  return dlclose(library) == 0 ? 0 : 1;
}
