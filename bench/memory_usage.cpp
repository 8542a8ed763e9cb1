#include "memory_usage.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace zeb::bench {

uint64_t heapInUse() { return mallinfo2().uordblks; }

uint64_t peakResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
}

}  // namespace zeb::bench
