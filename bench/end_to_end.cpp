// zeb_end_to_end: synthetic recordings carried to their replay. Each case is
// recorded in this process, built by `zebscribe build` against the echo
// backend, and replayed under an 8 MiB stack with the echo log counting the
// calls it makes. Prints one row per case: recording time and size, the
// build's wall time and peak memory (the largest of zebscribe and the
// compiler it ran), the replay's time and the calls it made. A build or a
// replay that fails, or passes its time limit, is reported as such.
//
//   ZEB_BENCH_100K=1       adds the 100,000-node graph
//   ZEB_BENCH_BUILD_LIMIT  seconds a build may take (default 1800)
//   ZEB_BENCH_BUILD_MEMORY gigabytes of address space a build may take (default 12)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "scribe_session.h"
#include "synthetic_graph.h"

namespace zeb::bench {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  uint32_t nodes;
  uint32_t executions;
};

constexpr uint64_t kReplayStack = uint64_t{8} << 20;
constexpr double kReplaySeconds = 600;

double environmentNumber(const char* name, double fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atof(text) : fallback;
}

std::vector<Case> chosenCases() {
  std::vector<Case> cases = {{"1k nodes", 1000, 0}, {"10k nodes", 10000, 0}};
  if (environmentNumber("ZEB_BENCH_100K", 0) != 0) cases.push_back({"100k nodes", 100000, 0});
  cases.push_back({"10k executions, 8 nodes", 8, 10000});
  return cases;
}

struct Recorded {
  std::string model, data;  // file names, in the session's directory
  std::size_t calls;
  double seconds;
  double megabytes;
};

Recorded record(const Case& which) {
  ScribeSession& session = ScribeSession::instance();
  session.startFiles("e2e");
  SyntheticGraph graph(which.nodes, which.executions);
  const std::vector<Step> steps = graph.steps();
  const auto begin = std::chrono::steady_clock::now();
  for (const Step& step : steps) step();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const double megabytes =
      static_cast<double>(fileLength(session.modelPath()) + fileLength(session.dataPath())) / 1e6;
  const std::string data = fs::path(session.dataPath()).filename().string();
  const std::string model = fs::path(session.finishFiles()).filename().string();
  return {model, data, steps.size(), seconds, megabytes};
}

std::size_t linesIn(const std::string& path) {
  std::ifstream file(path);
  std::size_t lines = 0;
  for (std::string line; std::getline(file, line);) ++lines;
  return lines;
}

// A run that was killed for its time never reported its compiler's peak.
std::string peakOf(const ChildRun& run) {
  return run.timedOut ? "-" : std::to_string(run.peakResidentBytes / 1000000) + " MB";
}

void runCase(const Case& which, const std::string& directory, const ChildLimits& buildLimits) {
  const Recorded recorded = record(which);
  const std::string replay = fs::path(recorded.model).stem().string() + "_replay";
  const ChildRun build = runChild(
      {ZEB_BENCH_ZEBSCRIBE, "build", ".", "--model", recorded.model, "--backend", ZEB_BENCH_ECHO,
       "-o", replay},
      directory, {}, directory + replay + ".build.log", buildLimits);
  std::string replayed = "not built";
  if (build.succeeded()) {
    const ChildLimits replayLimits{kReplaySeconds, kReplayStack, 0};
    const std::string log = directory + replay + ".calls";
    const ChildRun run = runChild({directory + replay}, directory, {"ZEB_ECHO_LOG=" + log},
                                  directory + replay + ".log", replayLimits);
    char text[96];
    std::snprintf(text, sizeof text, "%.2f s, %s, %zu of %zu calls", run.seconds,
                  run.outcome(replayLimits).c_str(), linesIn(log), recorded.calls);
    replayed = text;
  }
  std::printf("%-24s %9.3f s %9.1f MB %9.1f s %10s  %-28s %s\n", which.name, recorded.seconds,
              recorded.megabytes, build.seconds, peakOf(build).c_str(),
              build.outcome(buildLimits).c_str(), replayed.c_str());
  std::fflush(stdout);
  for (const std::string& file : {recorded.model, recorded.data, replay, replay + ".build.log",
                                  replay + ".calls", replay + ".log"})
    fs::remove(directory + file);
}

}  // namespace
}  // namespace zeb::bench

int main() {
  using namespace zeb::bench;
  const ChildLimits buildLimits{environmentNumber("ZEB_BENCH_BUILD_LIMIT", 1800), 0,
                                static_cast<uint64_t>(environmentNumber("ZEB_BENCH_BUILD_MEMORY", 12) *
                                                      double(uint64_t{1} << 30))};
  const std::string directory = fs::absolute(ScribeSession::instance().directory()).string();
  std::printf("%-24s %11s %12s %11s %10s  %-28s %s\n", "case", "record", "written", "build",
              "build peak", "build", "replay (8 MiB stack)");
  for (const Case& which : chosenCases()) runCase(which, directory, buildLimits);
  return 0;
}
