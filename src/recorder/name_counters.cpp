#include "recorder/name_counters.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace zeb {

NameCounters::Counter& NameCounters::counterOf(std::string_view prefix) {
  const auto found = counters_.find(prefix);
  if (found != counters_.end()) return found->second;
  return counters_.emplace(prefixes_.store(prefix), Counter{}).first->second;
}

uint32_t NameCounters::handedOut(std::string_view prefix) const {
  const auto found = counters_.find(prefix);
  return found == counters_.end() ? 0 : found->second.next;
}

// A name that fits is composed here and copied once: growing a std::string
// calls out into the C++ library, whose code is cold by the next call.
std::string NameCounters::next(std::string_view prefix) {
  char name[64];
  constexpr std::size_t kNumberRoom = 11;  // "_" and up to ten digits
  if (prefix.size() > sizeof name - kNumberRoom) {
    std::string text(prefix);
    number(text);
    return text;
  }
  std::memcpy(name, prefix.data(), prefix.size());
  name[prefix.size()] = '_';
  char* const digits = name + prefix.size() + 1;
  char* const end = std::to_chars(digits, name + sizeof name, counterOf(prefix).next++).ptr;
  return std::string(name, static_cast<std::size_t>(end - name));
}

void NameCounters::reserve(std::string_view prefix, uint32_t number) {
  uint32_t& counter = counterOf(prefix).next;
  counter = std::max(counter, number + 1);
}

}  // namespace zeb
