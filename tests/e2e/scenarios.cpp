#include "scenarios.h"

#include <cstdlib>

namespace zeb::e2e {
namespace {

void (*currentFileSwitch)() = nullptr;

// The seed of "random:SEED", or false.
bool randomSeed(const std::string& name, uint64_t& seed) {
  if (name.rfind("random:", 0) != 0 || name.size() == 7 || name.find_first_not_of("0123456789", 7) != std::string::npos)
    return false;
  seed = std::strtoull(name.c_str() + 7, nullptr, 10);
  return true;
}

const Scenario* findNamed(const std::string& name) {
  // Recordings of two programs (several-blobs switches files), of processes, or of a client
  // whose calls depend on the answers.
  static const Scenario byNameOnly[] = {
    {"data-and-binaries", dataAndBinaries, false}, {"several-blobs", severalBlobs, false},
    {"feedback", feedback, false},
#ifndef _WIN32
    {"forking", forking, false}, {"other-recorder", otherRecorder, false},
#endif
  };
  for (const Scenario& scenario : namedScenarios())
    if (name == scenario.name) return &scenario;
  for (const Scenario& scenario : byNameOnly)
    if (name == scenario.name) return &scenario;
  return nullptr;
}

// The node count of "network:N", or false.
bool networkSize(const std::string& name, uint32_t& nodes) {
  if (name.rfind("network:", 0) != 0 || name.size() == 8 || name.find_first_not_of("0123456789", 8) != std::string::npos)
    return false;
  nodes = uint32_t(std::strtoul(name.c_str() + 8, nullptr, 10));
  return true;
}

}  // namespace

const std::vector<Scenario>& namedScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"all-families", allFamilies, false}, {"all-families-no-queries", allFamiliesWithoutQueries, true},
      {"frame-only", frameOnly, false},     {"graphs", graphs, true},
      {"data-path", dataPath, true},        {"binaries", binaries, false},
      {"non-finite-floats", nonFiniteFloats, true}};
  return scenarios;
}

bool runScenario(const std::string& name, const ZebApi& api) {
  uint64_t seed = 0;
  uint32_t nodes = 0;
  if (randomSeed(name, seed)) runRandomScenario(api, seed);
  else if (networkSize(name, nodes)) network(api, nodes);
  else if (const Scenario* scenario = findNamed(name)) scenario->run(api);
  else return runNamesScenario(name, api);
  return true;
}

bool scenarioRoundTrips(const std::string& name) {
  uint64_t seed = 0;
  if (randomSeed(name, seed)) return randomScenarioRoundTrips(seed);
  const Scenario* scenario = findNamed(name);
  return scenario && scenario->roundTrips;
}

void setFileSwitch(void (*fileSwitch)()) { currentFileSwitch = fileSwitch; }

Zeb_ErrorHandle_t configureScribe(ZebScribe_InitializeFn_t initialize, const char* path, const char* data,
                                  ZebScribe_ConfigOption_t flagOff) {
  ZebScribe_Config_t option{}, flag{};
  option.option = data ? ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG : ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY;
  if (data) option.fileConfig = {path, data};
  else option.outputDirectory = path;
  flag.option = flagOff;
  const ZebScribe_Config_t* options[] = {&option, flagOff ? &flag : nullptr, nullptr};
  return initialize(options);
}
void switchFiles() { if (currentFileSwitch) currentFileSwitch(); }

}  // namespace zeb::e2e
