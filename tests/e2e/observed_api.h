// A function table in front of another: it numbers the calls, notes what each
// answered, and answers the calls it is told to skip with a given code
// without passing them on. Recording a scenario under a fault, then running
// it directly with the lost calls skipped, gives the calls the recording
// should hold.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "scenarios.h"

namespace zeb::e2e {

struct CallOutcome {
  Zeb_ErrorHandle_t code = 0;
  bool recorded = false;  // whether the call reached the written program
  std::string name;       // the member called
};

// Outcomes by call number, from 0.
using CallCodes = std::map<std::size_t, CallOutcome>;

struct CallOutcomes {
  CallCodes skipped;  // answered with their code, not passed on
  CallCodes results;  // every call
  // Asked after each call whether it was recorded; none: never.
  bool (*recordedSince)() = nullptr;
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
