// zeb_memory_check: what the recorder holds after 1,000 and after 100,000
// create/free pairs of each family, and after a 10,000-node graph. Each kind
// runs in a child process of its own, so no kind's peak hides another's.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "create_free_pairs.h"
#include "memory_usage.h"
#include "scribe_session.h"
#include "synthetic_graph.h"

namespace zeb::bench {
namespace {

constexpr unsigned kFewPairs = 1000;
constexpr unsigned kManyPairs = 100000;
constexpr uint32_t kGraphNodes = 10000;

struct Reading {
  uint64_t heap;
  uint64_t peak;
};

Reading read() { return {heapInUse(), peakResidentBytes()}; }

void runRounds(const std::vector<Step>& round, unsigned rounds) {
  for (unsigned i = 0; i < rounds; ++i)
    for (const Step& step : round) step();
}

double megabytes(uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

double perPair(uint64_t after, uint64_t before) {
  return (static_cast<double>(after) - static_cast<double>(before)) / (kManyPairs - kFewPairs);
}

void checkPairs(const char* kind, std::vector<Step> (CreateFreePairs::*round)()) {
  ScribeSession::instance().startFiles(kind);
  CreateFreePairs pairs;
  const std::vector<Step> steps = (pairs.*round)();
  runRounds(steps, kFewPairs);
  const Reading few = read();
  runRounds(steps, kManyPairs - kFewPairs);
  const Reading many = read();
  std::printf("%-8s %12.3f %12.3f %10.1f %12.3f %12.3f %10.1f\n", kind, megabytes(few.heap),
              megabytes(many.heap), perPair(many.heap, few.heap), megabytes(few.peak),
              megabytes(many.peak), perPair(many.peak, few.peak));
}

void checkGraph() {
  ScribeSession::instance().startFiles("graph");
  SyntheticGraph graph(kGraphNodes);
  const std::vector<Step> steps = graph.steps();
  const Reading before = read();
  for (std::size_t i = 0; i + 1 < steps.size(); ++i) steps[i]();
  const Reading recorded = read();
  steps.back()();
  const Reading freed = read();
  std::printf("graph of %u nodes: heap %.3f MB before, %.3f MB recorded, %.3f MB after the "
              "context's free; peak RSS %.3f MB\n",
              kGraphNodes, megabytes(before.heap), megabytes(recorded.heap),
              megabytes(freed.heap), megabytes(recorded.peak));
}

void inChild(const std::function<void()>& check) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    check();
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace
}  // namespace zeb::bench

int main() {
  using zeb::bench::CreateFreePairs;
  std::printf("%-8s %12s %12s %10s %12s %12s %10s\n", "pairs", "heap 1k MB", "heap 100k MB",
              "B/pair", "peak 1k MB", "peak 100k MB", "B/pair");
  const struct {
    const char* kind;
    std::vector<zeb::bench::Step> (CreateFreePairs::*round)();
  } kinds[] = {{"context", &CreateFreePairs::context},
               {"backend", &CreateFreePairs::backend},
               {"device", &CreateFreePairs::device},
               {"profile", &CreateFreePairs::profile}};
  for (const auto& kind : kinds)
    zeb::bench::inChild([&] { zeb::bench::checkPairs(kind.kind, kind.round); });
  zeb::bench::inChild(zeb::bench::checkGraph);
  return 0;
}
