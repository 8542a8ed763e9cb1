// Runs a program as a child process in a group of its own, under limits, and
// says how it ended, how long it took, the CPU time it and its children used,
// and the most memory its process group held at once.
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
  double cpuSeconds = 0;  // user and system, of the child and every child it waited for
  // The largest sum of the group's resident sets, sampled every 50 ms.
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
