// zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED> [<skip-file>]
//
// Loads a backend library at run time, takes the first interface provider,
// runs one scenario against its function table and unloads the library again
// (ZebScribe finishes its written program at unload). The calls that the skip
// file names ("number code" lines) are answered with their code without
// reaching the library. Exit code 0 when the scenario ran; the scenario's own
// results are never judged here.
#include <cstdio>
#include <cstring>

#include "ZebInterface.h"
#include "library_loader.h"
#include "observed_api.h"
#include "scenarios.h"

namespace {

int fail(const char* what, const char* detail) {
  std::fprintf(stderr, "zeb_scenario_runner: %s%s\n", what, detail);
  return 1;
}

ZebInterface_GetProvidersFn_t providerLookup(const zeb::e2e::LoadedLibrary& library) {
  void* address = library.symbol("ZebInterface_getProviders");
  ZebInterface_GetProvidersFn_t lookup = nullptr;
  std::memcpy(&lookup, &address, sizeof lookup);
  return lookup;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    return fail("usage: zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED> "
                "[<skip-file>]",
                "");
  }
  const zeb::e2e::LoadedLibrary library(argv[1]);
  if (!library.loaded()) return fail("cannot load the library: ", library.error().c_str());
  const ZebInterface_GetProvidersFn_t getProviders = providerLookup(library);
  if (!getProviders) return fail("no ZebInterface_getProviders in ", argv[1]);

  const ZebInterface_t** providers = nullptr;
  uint32_t numProviders = 0;
  if (getProviders(&providers, &numProviders) != 0 || numProviders == 0) {
    return fail("the library offers no interface provider", "");
  }
  zeb::e2e::ZebApi api = providers[0]->ZEB_INTERFACE_VER_NAME;
  zeb::e2e::CallOutcomes outcomes;
  if (argc == 4) {
    outcomes.skipped = zeb::e2e::readCallCodes(argv[3]);
    api = zeb::e2e::observe(api, outcomes);
  }
  if (!zeb::e2e::runScenario(argv[2], api)) return fail("unknown scenario: ", argv[2]);
  return 0;
}
