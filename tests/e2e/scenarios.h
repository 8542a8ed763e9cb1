// Scenarios: call sequences that drive a backend's function table the way a
// client would. They never branch on results, so the same sequence reaches a
// real backend directly and, recorded by ZebScribe, through the replayed program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ZebInterface.h"

namespace zeb::e2e {

using ZebApi = ZEB_INTERFACE_VER_TYPE;

struct Scenario {
  const char* name;
  void (*run)(const ZebApi& api);
  // Every call is one that ZebScribe answers with 0 (no queries, no
  // unsupported slots), so replaying the recording against ZebScribe records
  // it again byte for byte.
  bool roundTrips;
};

// The hand-written scenarios that have golden files.
const std::vector<Scenario>& namedScenarios();
// Runs a scenario by name, or "random:SEED"; false when the name is unknown.
bool runScenario(const std::string& name, const ZebApi& api);
bool scenarioRoundTrips(const std::string& name);

// A runner of ZebScribe makes switchFiles() switch to new output files; elsewhere it does nothing.
void setFileSwitch(void (*fileSwitch)());
void switchFiles();

// Every recorded call of the backend, context, device, profile and property
// families with every configuration option, with or without the queries:
void allFamilies(const ZebApi& api);
void allFamiliesWithoutQueries(const ZebApi& api);
// One call that starts the recorder and records nothing: the program is the frame alone.
void frameOnly(const ZebApi& api);
// A network built, finalized and executed with its data, and a graph retrieved
// by name; and a short one with each kind of call that carries data:
void graphs(const ZebApi& api);
void dataPath(const ZebApi& api);
// Every context binary call; then dataPath and binaries, and that twice with a
// file switch between (the last two are run by name only):
void binaries(const ZebApi& api);
void dataAndBinaries(const ZebApi& api);
void switched(const ZebApi& api);

// The random scenario of a seed: a valid call sequence over every recorded
// family. A seed decides first whether its scenario makes queries; one
// without them round-trips.
void runRandomScenario(const ZebApi& api, uint64_t seed);
bool randomScenarioRoundTrips(uint64_t seed);

}  // namespace zeb::e2e
