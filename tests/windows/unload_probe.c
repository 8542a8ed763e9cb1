/* Shows that ZebScribe.dll finishes its model file when the process exits.
 *   unload_probe exit DLL DIR   records one call and returns with the DLL loaded
 *   unload_probe check DIR      checks DIR after the "exit" run ended
 * Exit code 0 when the check passes. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "ZebInterface.h"
#include "ZebScribe.h"

static const char kFooter[] =
    "   if (logging) {\n"
    "     VALIDATE(error, interface.logFree(loghandle));\n"
    "   }\n"
    "\n"
    "   if (fclose(fp)) error = -1;\n"
    "   return error == 0 || error == ZEB_COMMON_ERROR_NOT_SUPPORTED ? 0 : error;\n"
    "}\n";

static char modelPath[MAX_PATH];

static int fail(const char* what) {
  fprintf(stderr, "unload_probe: %s\n", what);
  return 1;
}

/* Loads the DLL, points it at dir and records backendCreate. */
static HMODULE recordOneCall(const char* dllPath, const char* dir) {
  HMODULE library = LoadLibraryA(dllPath);
  if (!library) return NULL;
  ZebInterface_GetProvidersFn_t getProviders =
      (ZebInterface_GetProvidersFn_t)(void*)GetProcAddress(library, "ZebInterface_getProviders");
  ZebScribe_InitializeFn_t initialize = (ZebScribe_InitializeFn_t)(void*)GetProcAddress(library, "ZebScribe_initialize");
  if (!getProviders || !initialize) return NULL;
  ZebScribe_Config_t directory = {ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY, {.outputDirectory = dir}};
  const ZebScribe_Config_t* config[] = {&directory, NULL};
  const ZebInterface_t** providers = NULL;
  uint32_t count = 0;
  Zeb_BackendHandle_t backend = NULL;
  if (initialize(config) != 0 || getProviders(&providers, &count) != 0 || count != 1) return NULL;
  if (providers[0]->v2_15.backendCreate(NULL, NULL, &backend) != 0) return NULL;
  return library;
}

static int footerIsLast(void) {
  static char text[1 << 16];
  FILE* file = fopen(modelPath, "rb");
  if (!file) return fail("model file missing");
  size_t size = fread(text, 1, sizeof text, file);
  fclose(file);
  size_t footerSize = sizeof kFooter - 1;
  if (size == sizeof text) return fail("model file unexpectedly large");
  if (size < footerSize || memcmp(text + size - footerSize, kFooter, footerSize) != 0)
    return fail("model file does not end with the footer");
  if (!strstr(text, "interface.backendCreate(")) return fail("recorded call missing");
  return 0;
}

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  const char* dir = argv[argc - 1];
  if (!((argc == 4 && !strcmp(mode, "exit")) || (argc == 3 && !strcmp(mode, "check"))))
    return fail("usage: unload_probe exit DLL DIR | check DIR");
  snprintf(modelPath, sizeof modelPath, "%s/scribe_output.c", dir);
  if (!strcmp(mode, "check")) return footerIsLast();

  remove(modelPath);
  return recordOneCall(argv[2], dir) ? 0 : fail("could not load the library or record a call");
}
