#include "recorder/name_counters.h"

#include <algorithm>

namespace zeb {

uint32_t& NameCounters::counterOf(std::string_view prefix) {
  const auto found = counters_.find(prefix);
  if (found != counters_.end()) return found->second;
  return counters_.emplace(prefixes_.store({prefix}), 0u).first->second;
}

void NameCounters::reserve(std::string_view prefix, uint32_t number) {
  uint32_t& counter = counterOf(prefix);
  counter = std::max(counter, number + 1);
}

}  // namespace zeb
