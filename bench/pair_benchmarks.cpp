// The create/free pairs of the four families that hold records, each beside
// its baseline.
#include "create_free_pairs.h"
#include "side_by_side.h"

namespace zeb::bench {
namespace {

void ContextPair(benchmark::State& state) {
  CreateFreePairs pairs;
  runSideBySide(state, "ContextPair", pairs.context(), Ratio::Time);
}

void BackendPair(benchmark::State& state) {
  CreateFreePairs pairs;
  runSideBySide(state, "BackendPair", pairs.backend(), Ratio::Time);
}

void DevicePair(benchmark::State& state) {
  CreateFreePairs pairs;
  runSideBySide(state, "DevicePair", pairs.device(), Ratio::Time);
}

void ProfilePair(benchmark::State& state) {
  CreateFreePairs pairs;
  runSideBySide(state, "ProfilePair", pairs.profile(), Ratio::Time);
}

}  // namespace

BENCHMARK(ContextPair)->Apply(withSpread);
BENCHMARK(BackendPair)->Apply(withSpread);
BENCHMARK(DevicePair)->Apply(withSpread);
BENCHMARK(ProfilePair)->Apply(withSpread);

}  // namespace zeb::bench
