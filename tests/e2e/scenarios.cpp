#include "scenarios.h"

#include <cstdlib>
#include <optional>

namespace zeb::e2e {
namespace {

constexpr char kRandomPrefix[] = "random:";

void (*currentFileSwitch)() = nullptr;

// The seed of "random:SEED", or nothing for any other name.
std::optional<uint64_t> randomSeed(const std::string& name) {
  const std::string prefix = kRandomPrefix;
  if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size()) return {};
  const std::string digits = name.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos) return {};
  return std::strtoull(digits.c_str(), nullptr, 10);
}

// Run by name only: the recording of the one is two programs, the other is
// what each of them holds.
const Scenario kByNameOnly[] = {{"switched", switched, false},
                                {"data-and-binaries", dataAndBinaries, false}};

const Scenario* findNamed(const std::string& name) {
  for (const Scenario& scenario : namedScenarios()) {
    if (name == scenario.name) return &scenario;
  }
  for (const Scenario& scenario : kByNameOnly) {
    if (name == scenario.name) return &scenario;
  }
  return nullptr;
}

}  // namespace

const std::vector<Scenario>& namedScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"all-families", allFamilies, false},
      {"all-families-no-queries", allFamiliesWithoutQueries, true},
      {"frame-only", frameOnly, false},
      {"graphs", graphs, true},
      {"data-path", dataPath, true},
      {"binaries", binaries, false},
  };
  return scenarios;
}

bool runScenario(const std::string& name, const ZebApi& api) {
  if (const auto seed = randomSeed(name)) {
    runRandomScenario(api, *seed);
    return true;
  }
  const Scenario* scenario = findNamed(name);
  if (scenario) scenario->run(api);
  return scenario != nullptr;
}

void setFileSwitch(void (*fileSwitch)()) { currentFileSwitch = fileSwitch; }

void switchFiles() {
  if (currentFileSwitch) currentFileSwitch();
}

bool scenarioRoundTrips(const std::string& name) {
  if (const auto seed = randomSeed(name)) return randomScenarioRoundTrips(*seed);
  const Scenario* scenario = findNamed(name);
  return scenario && scenario->roundTrips;
}

}  // namespace zeb::e2e
