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
  // unsupported slots), so replaying the recording against ZebScribe must
  // record it again byte for byte.
  bool roundTrips;
};

// The hand-written scenarios, by name.
const std::vector<Scenario>& namedScenarios();

// Runs a named scenario or "random:SEED"; false when the name is unknown.
bool runScenario(const std::string& name, const ZebApi& api);

// Whether the scenario of this name (named or "random:SEED") round-trips.
bool scenarioRoundTrips(const std::string& name);

// What a scenario's switchFiles() does: a runner of ZebScribe makes it switch
// to new output files; elsewhere it does nothing.
void setFileSwitch(void (*fileSwitch)());
void switchFiles();

// The hand-written scenarios. Every recorded call of the backend, context,
// device, profile and property families with every configuration option,
// queries included or left out:
void allFamilies(const ZebApi& api);
void allFamiliesWithoutQueries(const ZebApi& api);
// One call that starts the recorder and records nothing, so that the written
// program is the frame alone:
void frameOnly(const ZebApi& api);
// A network built, finalized and executed with its data, and a graph
// retrieved by name; and a short one with each kind of call that carries data:
void graphs(const ZebApi& api);
void dataPath(const ZebApi& api);
// Every context binary call: binaries asked for, handed in and validated;
// then dataPath and binaries, and that twice with a file switch between:
void binaries(const ZebApi& api);
void dataAndBinaries(const ZebApi& api);
void switched(const ZebApi& api);

// The random scenario of a seed: a valid call sequence over every recorded
// family, from a deterministic generator, so that a seed names the same
// sequence on every platform and in every run. A seed decides first of all
// whether its scenario may make queries; one without them round-trips.
void runRandomScenario(const ZebApi& api, uint64_t seed);
bool randomScenarioRoundTrips(uint64_t seed);

}  // namespace zeb::e2e
