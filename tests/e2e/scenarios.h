// Call sequences that never branch on results, so the same calls reach a
// backend directly and through ZebScribe's replayed program.
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
  bool roundTrips;  // ZebScribe answers every call 0, so a replay records it again byte for byte
};

const std::vector<Scenario>& namedScenarios();
// By name, "random:SEED" or "network:NODES"; false when the name is unknown.
bool runScenario(const std::string& name, const ZebApi& api);
bool scenarioRoundTrips(const std::string& name);
// N of "PREFIX:N", or nothing.
std::optional<uint64_t> numberAfter(const std::string& prefix, const std::string& name);

// A runner of ZebScribe makes switchFiles() switch to new output files; elsewhere it does nothing.
void setFileSwitch(void (*fileSwitch)());
void switchFiles();
// New output files, or a new output directory when data is NULL; flagOff: header or footer off.
Zeb_ErrorHandle_t configureScribe(ZebScribe_InitializeFn_t initialize, const char* path, const char* data,
                                  ZebScribe_ConfigOption_t flagOff = ZebScribe_ConfigOption_t(0));

void allFamilies(const ZebApi& api);
void allFamiliesWithoutQueries(const ZebApi& api);
void frameOnly(const ZebApi& api);  // starts the recorder and records nothing
void graphs(const ZebApi& api);
void dataPath(const ZebApi& api);
void binaries(const ZebApi& api);
void dataAndBinaries(const ZebApi& api);
void severalBlobs(const ZebApi& api);  // with a switch
// POSIX: children of the recording process call the API, exit, and run programs, one of them
// a second recorder (other-recorder) of the same files. Their calls carry marks.
void forking(const ZebApi& api);
void otherRecorder(const ZebApi& api);
inline const char* const kOtherProcessMarks[] = {"forked_child", "other_recorder"};
void network(const ZebApi& api, uint32_t nodes);  // a MobileNetV2-like graph of that many nodes
// A client that acts on the answers: takes the operations and capabilities offered, feeds
// each execution's output into the next input, makes a context from the binary handed out,
// tries graphCreate again and then takes the graph by its name when it fails. Notes every
// answer, output and message its logger receives in kFeedbackNotes in the working directory.
void feedback(const ZebApi& api);
inline constexpr char kFeedbackNotes[] = "observed.log";
void nonFiniteFloats(const ZebApi& api);
// A chain through a read-write tensor, named with backslashes, which the recording writes
// unchanged: drawn, never replayed.
void tensorFlow(const ZebApi& api);

// "names-table": clients named like the recorder's variables; "random-names:SEED": clients
// named from its words at random. False for any other name.
bool runNamesScenario(const std::string& name, const ZebApi& api);
// The rows of "names-table", each in a context of its own: its steps, and the variables
// its program declares ("!": does not), "@" standing for the row's context.
struct CollidingNames {
  const char* steps;
  const char* declares;
};
const std::vector<CollidingNames>& collidingNames();

// A seed decides first whether its scenario makes queries; one without them round-trips.
void runRandomScenario(const ZebApi& api, uint64_t seed);
bool randomScenarioRoundTrips(uint64_t seed);

// Every recording entry point in a round; the thread's number in its platform option and device
// id splits a log (calls that carry no handle are no thread's).
struct ThreadedRun {
  unsigned threads = 0, rounds = 0;
  bool atOnce = true;        // all threads at once, else one after another
  bool untilKilled = false;  // then waits for the kill, which cannot come too late
  ZebScribe_InitializeFn_t initialize = nullptr;  // ZebScribe's, called in every round too
};
// "threads:T:R" (at once), "serial:T:R" or "killable:T:R"; nothing for any other name.
std::optional<ThreadedRun> threadedRun(const std::string& name);
// Runs the clients; the number of calls that did not answer 0.
unsigned long runThreadedClients(const ZebApi& api, const ThreadedRun& run);
// An echo log's lines by thread (no known thread last, sorted), each numbered afresh.
std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log, unsigned threads);
// Lines with their handles and tensors numbered afresh in the order met.
std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines);

// Notes each call's answer and answers skipped ones itself: a direct run skipping
// what a fault lost gives the calls the recording should hold.
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
ZebApi observe(const ZebApi& inner, CallOutcomes& outcomes);
// Calls that hand out their graph even when their block is lost, which no direct run can mirror.
bool deliversWhenLost(const std::string& name);
// Files of "number code recorded name" lines.
bool writeCallCodes(const std::string& path, const CallCodes& codes);
CallCodes readCallCodes(const std::string& path);

}  // namespace zeb::e2e
