// zeb_scenario_runner <backend-library> <scenario|random:SEED> [--skip FILE]
//   [--without-footer] [--continue]: runs a scenario against the library's first
// provider and unloads it (ZebScribe finishes its program at unload); --skip
// answers the file's calls with their code instead; the last two leave ZebScribe's
// program open, or continue existing files. A file switch goes to second.c/.bin.
#include <cstdio>
#include <cstring>

#include "ZebScribe.h"
#include "scenarios.h"

#ifdef _WIN32
#include <windows.h>
using Library = HMODULE;
Library openLibrary(const char* path) { return LoadLibraryA(path); }
std::string loadError() { return "LoadLibraryA failed with error " + std::to_string(GetLastError()); }
FARPROC findSymbol(Library library, const char* name) { return GetProcAddress(library, name); }
void closeLibrary(Library library) { FreeLibrary(library); }
#else
#include <dlfcn.h>
using Library = void*;
Library openLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
std::string loadError() { return dlerror(); }
void* findSymbol(Library library, const char* name) { return dlsym(library, name); }
void closeLibrary(Library library) { dlclose(library); }
#endif

namespace {

int fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "zeb_scenario_runner: %s%s\n", what, detail.c_str());
  return 1;
}

// Copied, not cast: a cast between object and function pointers draws a warning.
template <class Function>
Function lookup(Library library, const char* name) {
  const auto address = findSymbol(library, name);
  Function function = nullptr;
  std::memcpy(&function, &address, sizeof function);
  return function;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return fail("usage: zeb_scenario_runner <library> <scenario-name|random:SEED> [options]", "");
  const Library library = openLibrary(argv[1]);
  if (!library) return fail("cannot load the library: ", loadError());
  const auto getProviders = lookup<ZebInterface_GetProvidersFn_t>(library, "ZebInterface_getProviders");
  if (!getProviders) return fail("no ZebInterface_getProviders in ", argv[1]);
  static const auto initialize = lookup<ZebScribe_InitializeFn_t>(library, "ZebScribe_initialize");
  if (initialize) zeb::e2e::setFileSwitch([] { zeb::e2e::configureScribe(initialize, "second.c", "second.bin"); });
  const ZebInterface_t** providers = nullptr;
  uint32_t numProviders = 0;
  if (getProviders(&providers, &numProviders) != 0 || numProviders == 0)
    return fail("the library offers no interface provider", "");
  zeb::e2e::ZebApi api = providers[0]->ZEB_INTERFACE_VER_NAME;
  zeb::e2e::CallOutcomes outcomes;
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--skip" && i + 1 < argc) {
      outcomes.skipped = zeb::e2e::readCallCodes(argv[++i]);
      api = zeb::e2e::observe(api, outcomes);
    } else if ((option == "--without-footer" || option == "--continue") && initialize) {
      zeb::e2e::configureScribe(initialize, "scribe_output.c", "params.bin",
                                option == "--continue" ? ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER : ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER);
    } else if (option != "--without-footer" && option != "--continue") {
      return fail("unknown option: ", option);
    }
  }
  // "threads:T:R" and "serial:T:R": the threaded clients, failing when a call did not answer 0.
  unsigned long failed = 0;
  if (auto threaded = zeb::e2e::threadedRun(argv[2])) {
    threaded->initialize = initialize;
    failed = zeb::e2e::runThreadedClients(api, *threaded);
  } else if (!zeb::e2e::runScenario(argv[2], api)) {
    return fail("unknown scenario: ", argv[2]);
  }
  closeLibrary(library);
  return failed == 0 ? 0 : fail("calls that did not answer 0: ", std::to_string(failed));
}
