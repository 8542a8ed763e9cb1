// Runs a program as a child process in a group of its own, under limits, and
// says how it ended, how long it took and the most memory it (or any process
// it waited for) held.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeb::bench {

struct ChildLimits {
  double seconds;          // the whole group is killed after this
  uint64_t stackBytes;     // 0: as inherited
  uint64_t addressBytes;   // 0: as inherited
};

struct ChildRun {
  double seconds = 0;
  uint64_t peakResidentBytes = 0;
  bool timedOut = false;
  int exitCode = -1;  // when it exited
  int signal = 0;     // when a signal ended it

  bool succeeded() const { return !timedOut && signal == 0 && exitCode == 0; }
  // "ok", "exit 1", "SIGSEGV", "timed out after 600 s", ...
  std::string outcome(const ChildLimits& limits) const;
};

// Runs argv in directory with extra environment entries (NAME=value); its
// output goes to outputPath.
ChildRun runChild(const std::vector<std::string>& argv, const std::string& directory,
                  const std::vector<std::string>& environment, const std::string& outputPath,
                  const ChildLimits& limits);

}  // namespace zeb::bench
