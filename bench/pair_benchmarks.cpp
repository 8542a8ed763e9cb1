// The create/free pairs of the four families that hold records, each beside
// its baseline.
#include "create_free_pairs.h"
#include "side_by_side.h"

namespace zeb::bench {
namespace {

using PairRound = std::vector<Step> (CreateFreePairs::*)();

void CreateFreePair(benchmark::State& state, const char* tag, PairRound round) {
  CreateFreePairs pairs;
  runSideBySide(state, tag, (pairs.*round)(), Ratio::Time);
}

}  // namespace

BENCHMARK_CAPTURE(CreateFreePair, Context, "context", &CreateFreePairs::context)->Apply(withSpread);
BENCHMARK_CAPTURE(CreateFreePair, Backend, "backend", &CreateFreePairs::backend)->Apply(withSpread);
BENCHMARK_CAPTURE(CreateFreePair, Device, "device", &CreateFreePairs::device)->Apply(withSpread);
BENCHMARK_CAPTURE(CreateFreePair, Profile, "profile", &CreateFreePairs::profile)->Apply(withSpread);

}  // namespace zeb::bench
