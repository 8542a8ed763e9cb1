/* Records backendCreate through ZebScribe.dll into DIR and returns with the DLL
 * still loaded: its unload at process exit must finish the model file.
 *   unload_probe DLL DIR */
#include <stdio.h>
#include <windows.h>

#include "ZebInterface.h"
#include "ZebScribe.h"

int main(int argc, char** argv) {
  if (argc != 3) return fprintf(stderr, "usage: unload_probe DLL DIR\n"), 2;
  char model[MAX_PATH];
  snprintf(model, sizeof model, "%s/scribe_output.c", argv[2]);
  remove(model); /* so that no earlier run's recording passes the check */
  HMODULE library = LoadLibraryA(argv[1]);
  FARPROC getProviders = library ? GetProcAddress(library, "ZebInterface_getProviders") : NULL;
  FARPROC initialize = library ? GetProcAddress(library, "ZebScribe_initialize") : NULL;
  const ZebScribe_Config_t directory = {ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY, {.outputDirectory = argv[2]}};
  const ZebScribe_Config_t* config[] = {&directory, NULL};
  const ZebInterface_t** providers = NULL;
  uint32_t count = 0;
  Zeb_BackendHandle_t backend = NULL;
  if (!getProviders || !initialize || ((ZebScribe_InitializeFn_t)(void*)initialize)(config) != 0 ||
      ((ZebInterface_GetProvidersFn_t)(void*)getProviders)(&providers, &count) != 0 || count != 1 ||
      providers[0]->v2_15.backendCreate(NULL, NULL, &backend) != 0) {
    fprintf(stderr, "unload_probe: could not load the library or record a call\n");
    return 1;
  }
  return 0;
}
