// zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED>
//
// Loads a backend library at run time, takes the first interface provider,
// runs one scenario against its function table and unloads the library again
// (ZebScribe finishes its written program at unload). Exit code 0 when the
// scenario ran; the scenario's own results are never judged here.
#include <cstdio>
#include <cstring>
#include <string>

#include "ZebInterface.h"
#include "scenarios.h"

#ifdef _WIN32
#include <windows.h>

namespace {
void* openLibrary(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }
std::string loadError() {
  return "LoadLibraryA failed with error " + std::to_string(GetLastError());
}
// Copied, not cast: a function pointer cast to void* draws a warning.
void* findSymbol(void* library, const char* name) {
  const FARPROC address = GetProcAddress(static_cast<HMODULE>(library), name);
  void* result = nullptr;
  std::memcpy(&result, &address, sizeof result);
  return result;
}
void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
}  // namespace
#else
#include <dlfcn.h>

namespace {
void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
std::string loadError() { return dlerror(); }
void* findSymbol(void* library, const char* name) { return dlsym(library, name); }
void closeLibrary(void* library) { dlclose(library); }
}  // namespace
#endif

namespace {

int fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "zeb_scenario_runner: %s%s\n", what, detail.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    return fail("usage: zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED>",
                "");
  }
  void* library = openLibrary(argv[1]);
  if (!library) return fail("cannot load the library: ", loadError());
  ZebInterface_GetProvidersFn_t getProviders = nullptr;
  void* address = findSymbol(library, "ZebInterface_getProviders");
  std::memcpy(&getProviders, &address, sizeof getProviders);
  if (!getProviders) return fail("no ZebInterface_getProviders in ", argv[1]);

  const ZebInterface_t** providers = nullptr;
  uint32_t numProviders = 0;
  if (getProviders(&providers, &numProviders) != 0 || numProviders == 0) {
    return fail("the library offers no interface provider", "");
  }
  const zeb::e2e::ZebApi api = providers[0]->ZEB_INTERFACE_VER_NAME;
  if (!zeb::e2e::runScenario(argv[2], api)) return fail("unknown scenario: ", argv[2]);
  closeLibrary(library);
  return 0;
}
