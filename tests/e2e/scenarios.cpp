#include "scenarios.h"

#include <cstdlib>

namespace zeb::e2e {
namespace {

void (*currentFileSwitch)() = nullptr;

const Scenario* findNamed(const std::string& name) {
  // Recordings of two programs (several-blobs switches files), of processes, of a client
  // whose calls depend on the answers, or whose names do not replay as passed (tensor-flow).
  static const Scenario byNameOnly[] = {
    {"data-and-binaries", dataAndBinaries, false}, {"several-blobs", severalBlobs, false},
    {"feedback", feedback, false}, {"tensor-flow", tensorFlow, false},
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

}  // namespace

std::optional<uint64_t> numberAfter(const std::string& prefix, const std::string& name) {
  const std::size_t digits = prefix.size() + 1;
  if (name.compare(0, digits, prefix + ":") != 0 || name.size() == digits ||
      name.find_first_not_of("0123456789", digits) != std::string::npos)
    return std::nullopt;
  return std::strtoull(name.c_str() + digits, nullptr, 10);
}

const std::vector<Scenario>& namedScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"all-families", allFamilies, false}, {"all-families-no-queries", allFamiliesWithoutQueries, true},
      {"frame-only", frameOnly, false},     {"graphs", graphs, true},
      {"data-path", dataPath, true},        {"binaries", binaries, false},
      {"non-finite-floats", nonFiniteFloats, true}};
  return scenarios;
}

bool runScenario(const std::string& name, const ZebApi& api) {
  if (const auto seed = numberAfter("random", name)) runRandomScenario(api, *seed);
  else if (const auto nodes = numberAfter("network", name)) network(api, uint32_t(*nodes));
  else if (const Scenario* scenario = findNamed(name)) scenario->run(api);
  else return runNamesScenario(name, api);
  return true;
}

bool scenarioRoundTrips(const std::string& name) {
  if (const auto seed = numberAfter("random", name)) return randomScenarioRoundTrips(*seed);
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
