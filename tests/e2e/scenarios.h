// Scenarios: call sequences that drive a backend's function table the way a
// client would. They never branch on results, so the same sequence reaches a
// real backend directly and, recorded by ZebScribe, through the replayed program.
#pragma once

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

}  // namespace zeb::e2e
