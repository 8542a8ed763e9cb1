// The random scenario of a seed: a valid call sequence over every recorded
// family, chosen by a deterministic generator so that a seed names the same
// sequence on every platform and in every run.
#pragma once

#include <cstdint>

#include "scenarios.h"

namespace zeb::e2e {

void runRandomScenario(const ZebApi& api, uint64_t seed);

// A seed decides first of all whether its scenario may make queries; a
// scenario without them round-trips (see Scenario::roundTrips).
bool randomScenarioRoundTrips(uint64_t seed);

}  // namespace zeb::e2e
