// zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED> [options]
//   --skip FILE        answer the calls the file names ("number code ..." lines)
//                      with their code, without passing them to the library
//   --without-footer   (ZebScribe) the written program is left open for a later run
//   --continue         (ZebScribe) no header: continue the existing files
//
// Loads a backend library at run time, takes the first interface provider,
// runs one scenario against its function table and unloads the library again
// (ZebScribe finishes its written program at unload). A scenario's file
// switch makes ZebScribe continue in second.c and second.bin. Exit code 0
// when the scenario ran; the scenario's own results are never judged here.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "ZebInterface.h"
#include "ZebScribe.h"
#include "library_loader.h"
#include "observed_api.h"
#include "scenarios.h"

namespace {

int fail(const char* what, const char* detail) {
  std::fprintf(stderr, "zeb_scenario_runner: %s%s\n", what, detail);
  return 1;
}

template <class Function>
Function lookup(const zeb::e2e::LoadedLibrary& library, const char* name) {
  void* address = library.symbol(name);
  Function function = nullptr;
  std::memcpy(&function, &address, sizeof function);
  return function;
}

ZebScribe_InitializeFn_t initialize = nullptr;

void initializeWith(std::initializer_list<ZebScribe_Config_t> options) {
  std::vector<const ZebScribe_Config_t*> pointers;
  for (const ZebScribe_Config_t& option : options) pointers.push_back(&option);
  pointers.push_back(nullptr);
  initialize(pointers.data());
}

ZebScribe_Config_t fileNames(const char* model, const char* data) {
  ZebScribe_Config_t option{};
  option.option = ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG;
  option.fileConfig = {model, data};
  return option;
}

ZebScribe_Config_t flag(ZebScribe_ConfigOption_t which, uint8_t on) {
  ZebScribe_Config_t option{};
  option.option = which;
  option.writeOutputHeader = on;  // the flags share their place
  return option;
}

void switchToSecondFiles() { initializeWith({fileNames("second.c", "second.bin")}); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    return fail("usage: zeb_scenario_runner <backend-library-path> <scenario-name|random:SEED> "
                "[--skip FILE] [--without-footer] [--continue]",
                "");
  }
  const zeb::e2e::LoadedLibrary library(argv[1]);
  if (!library.loaded()) return fail("cannot load the library: ", library.error().c_str());
  const auto getProviders = lookup<ZebInterface_GetProvidersFn_t>(library, "ZebInterface_getProviders");
  if (!getProviders) return fail("no ZebInterface_getProviders in ", argv[1]);
  initialize = lookup<ZebScribe_InitializeFn_t>(library, "ZebScribe_initialize");
  if (initialize) zeb::e2e::setFileSwitch(switchToSecondFiles);

  const ZebInterface_t** providers = nullptr;
  uint32_t numProviders = 0;
  if (getProviders(&providers, &numProviders) != 0 || numProviders == 0) {
    return fail("the library offers no interface provider", "");
  }
  zeb::e2e::ZebApi api = providers[0]->ZEB_INTERFACE_VER_NAME;
  zeb::e2e::CallOutcomes outcomes;
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--skip" && i + 1 < argc) {
      outcomes.skipped = zeb::e2e::readCallCodes(argv[++i]);
      api = zeb::e2e::observe(api, outcomes);
    } else if (option == "--without-footer") {
      if (initialize)
        initializeWith({fileNames("scribe_output.c", "params.bin"),
                        flag(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER, 0)});
    } else if (option == "--continue") {
      if (initialize)
        initializeWith({fileNames("scribe_output.c", "params.bin"),
                        flag(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER, 0)});
    } else {
      return fail("unknown option: ", option.c_str());
    }
  }
  if (!zeb::e2e::runScenario(argv[2], api)) return fail("unknown scenario: ", argv[2]);
  return 0;
}
