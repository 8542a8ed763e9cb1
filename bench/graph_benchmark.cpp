// A 10,000-node network recorded end to end beside its baseline; and once
// (the compiler takes minutes) to weigh what the recording holds and writes
// and how long the written program takes to compile.
#include <chrono>
#include <cstdlib>
#include <string>

#include "memory_usage.h"
#include "scribe_session.h"
#include "side_by_side.h"
#include "synthetic_graph.h"

namespace zeb::bench {
namespace {

constexpr uint32_t kNodes = 10000;

double compileSeconds(const std::string& program) {
  const std::string command = "cc -O0 -std=c11 -I" ZEB_BENCH_INCLUDE_DIR " -c " + program +
                              " -o " + program + ".o";
  const auto begin = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return status == 0 ? seconds : -1.0;
}

// Records the network once into files of its own and measures what it held
// and wrote; the finished program is compiled.
void weighOneRecording(benchmark::State& state) {
  ScribeSession& session = ScribeSession::instance();
  session.startFiles("graph_weighed");
  SyntheticGraph graph(kNodes);
  const std::vector<Step> steps = graph.steps();
  const uint64_t heapBefore = heapInUse();
  for (std::size_t i = 0; i + 1 < steps.size(); ++i) steps[i]();
  state.counters["held_MB"] = static_cast<double>(heapInUse() - heapBefore) / 1e6;
  steps.back()();
  state.counters["written_MB"] =
      static_cast<double>(fileLength(session.modelPath()) + fileLength(session.dataPath())) / 1e6;
  const std::string program = session.finishFiles();
  state.counters["cc_O0_s"] = compileSeconds(program);
  state.counters["peak_RSS_MB"] = static_cast<double>(peakResidentBytes()) / 1e6;
  std::remove((program + ".o").c_str());
  std::remove(program.c_str());
}

void Graph10kNodesWeighed(benchmark::State& state) {
  for (auto _ : state) weighOneRecording(state);
}

void Graph10kNodes(benchmark::State& state) {
  SyntheticGraph graph(kNodes);
  runSideBySide(state, "Graph10kNodes", graph.steps(), Ratio::Time);
}

}  // namespace

BENCHMARK(Graph10kNodes)->Iterations(6)->Unit(benchmark::kMillisecond)->Apply(withSpread);
BENCHMARK(Graph10kNodesWeighed)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);

}  // namespace zeb::bench
