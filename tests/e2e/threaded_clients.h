// Clients on several threads, each making in every round a backend, a device,
// a context and a graph with a tensor and an execution of its own, and freeing
// them again: nine calls. A thread's number is in its backend's platform option
// and its device's id, so that a call log can be split by thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenarios.h"

namespace zeb::e2e {

struct ThreadedRun {
  unsigned threads = 0;
  unsigned rounds = 0;
  bool atOnce = true;  // all threads at once, else one after another
};

// "threads:T:R" (at once) or "serial:T:R"; nothing for any other name.
std::optional<ThreadedRun> threadedRun(const std::string& name);

// Runs the clients; the number of calls that did not answer 0.
unsigned long runThreadedClients(const ZebApi& api, const ThreadedRun& run);

// An echo log's lines by thread (threads + 1 lists: those of no known thread
// last), each thread's handles and tensors numbered afresh in the order that
// thread met them.
std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log,
                                                    unsigned threads);

// Lines with their handles and tensors numbered afresh in the order met.
std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines);

}  // namespace zeb::e2e
