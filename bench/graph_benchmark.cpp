// A 10,000-node network recorded end to end beside its baseline. What its
// recording holds is weighed by zeb_memory_check; how long its program takes
// to build and replay, by zeb_end_to_end.
#include "side_by_side.h"
#include "synthetic_graph.h"

namespace zeb::bench {
namespace {

constexpr uint32_t kNodes = 10000;

void Graph10kNodes(benchmark::State& state) {
  SyntheticGraph graph(kNodes);
  runSideBySide(state, "Graph10kNodes", graph.steps(), Ratio::Time);
}

}  // namespace

BENCHMARK(Graph10kNodes)->Iterations(6)->Unit(benchmark::kMillisecond)->Apply(withSpread);

}  // namespace zeb::bench
