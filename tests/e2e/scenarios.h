// Scenarios: call sequences that drive a backend's function table the way a
// client would. They never branch on results, so the same sequence reaches a
// real backend directly and, recorded by ZebScribe, through the replayed program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ZebInterface.h"
#include "ZebScribe.h"

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

// The hand-written scenarios, run by name.
const std::vector<Scenario>& namedScenarios();
// Runs a scenario by name, or "random:SEED"; false when the name is unknown.
bool runScenario(const std::string& name, const ZebApi& api);
bool scenarioRoundTrips(const std::string& name);

// A runner of ZebScribe makes switchFiles() switch to new output files; elsewhere it does nothing.
void setFileSwitch(void (*fileSwitch)());
void switchFiles();
// ZebScribe's initialize with new output files, or a new output directory when
// data is NULL, and one of the header and footer flags (they share their place) off.
Zeb_ErrorHandle_t configureScribe(ZebScribe_InitializeFn_t initialize, const char* path, const char* data,
                                  ZebScribe_ConfigOption_t flagOff = ZebScribe_ConfigOption_t(0));

// Every recorded call of the backend, context, device, profile and property
// families with every configuration option, with or without the queries:
void allFamilies(const ZebApi& api);
void allFamiliesWithoutQueries(const ZebApi& api);
// One call that starts the recorder and records nothing: the program is the frame alone.
void frameOnly(const ZebApi& api);
// A network: context tensors of every data type and quantisation, a configured
// graph with a subgraph, nodes with every scalar kind and tensor parameters,
// validation, finalize, executions with data, and a graph retrieved by name;
// and a short one with each kind of call that carries data:
void graphs(const ZebApi& api);
void dataPath(const ZebApi& api);
// Every context binary call, with and without its optional arguments; then
// dataPath and binaries, and that twice with a file switch between (the last
// two are run by name only):
void binaries(const ZebApi& api);
void dataAndBinaries(const ZebApi& api);
void switched(const ZebApi& api);

// The random scenario of a seed: a valid call sequence over every recorded
// family. A seed decides first whether its scenario makes queries; one
// without them round-trips.
void runRandomScenario(const ZebApi& api, uint64_t seed);
bool randomScenarioRoundTrips(uint64_t seed);

// Clients on several threads, each making in every round a backend, a device,
// a context and a graph with a tensor and an execution of its own, and freeing
// them again: nine calls. A thread's number is in its backend's platform option
// and its device's id, so that a call log can be split by thread.
struct ThreadedRun {
  unsigned threads = 0, rounds = 0;
  bool atOnce = true;  // all threads at once, else one after another
};
// "threads:T:R" (at once) or "serial:T:R"; nothing for any other name.
std::optional<ThreadedRun> threadedRun(const std::string& name);
// Runs the clients; the number of calls that did not answer 0.
unsigned long runThreadedClients(const ZebApi& api, const ThreadedRun& run);
// An echo log's lines by thread (threads + 1 lists: those of no known thread
// last), each thread's handles and tensors numbered afresh in the order that
// thread met them.
std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log, unsigned threads);
// Lines with their handles and tensors numbered afresh in the order met.
std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines);

// A function table in front of another: it numbers the calls, notes what each
// answered, and answers the calls it is told to skip with a given code
// without passing them on. Recording a scenario under a fault, then running
// it directly with the lost calls skipped, gives the calls the recording should hold.
struct CallOutcome {
  Zeb_ErrorHandle_t code = 0;
  bool recorded = false;  // whether the call reached the written program
  std::string name;       // the member called
};
using CallCodes = std::map<std::size_t, CallOutcome>;  // by call number, from 0
struct CallOutcomes {
  CallCodes skipped;  // answered with their code, not passed on
  CallCodes results;  // every call
  bool (*recordedSince)() = nullptr;  // asked after each call whether it was recorded; none: never
};
// The observing table; one at a time per process.
ZebApi observe(const ZebApi& inner, CallOutcomes& outcomes);
// Calls that hand the client its graph even when their block is lost. The
// written program then has no such graph (its later calls pass a NULL one, or
// the graph an earlier call made), which no direct run can mirror.
bool deliversWhenLost(const std::string& name);
// Files of "number code recorded name" lines.
bool writeCallCodes(const std::string& path, const CallCodes& codes);
CallCodes readCallCodes(const std::string& path);

}  // namespace zeb::e2e
