// Counters that number the variables of the written program: the first
// name made from a prefix ends "_0", the next "_1", and so on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "emit/text_append.h"

namespace zeb {

// Counters for prefixes not known in advance, one per prefix.
//
// A graph of many nodes makes a prefix per node, so a counter is a slot of one
// flat table found by a 64-bit hash of its prefix: no copy of the prefix and
// no allocation per prefix. Two prefixes of the same hash would share a
// counter, whose numbers then skip in each but never meet, since the prefixes
// differ; for the same reason handedOut may answer more than a prefix took,
// never less. Whether a whole name is taken is asked of the name's own text
// (the claims), never of the counters.
class NameCounters {
 public:
  // name holds a prefix: appends "_" and the prefix's next number.
  template <class Text>
  void number(Text& name) {
    appendAll(name, "_", counterOf(std::string_view(name)).next++);
  }
  // The same, passing over the numbers whose whole name taken(name) reports
  // as taken. It is asked only for a prefix marked as claimed.
  template <class Text, class Taken>
  void number(Text& name, const Taken& taken) {
    Counter& counter = counterOf(std::string_view(name));
    const std::size_t prefixLength = name.size();
    appendAll(name, "_", counter.next++);
    if (counter.claimed) passTaken(name, prefixLength, counter, taken);
  }
  // The prefix's next name, `{prefix}_{n}`, as a string of its own.
  std::string next(std::string_view prefix);
  // Moves the prefix's counter past number.
  void reserve(std::string_view prefix, uint32_t number);
  // How many numbers the prefix has handed out (or passed by reserving).
  uint32_t handedOut(std::string_view prefix) const;
  // Marks a prefix whose names other names may have taken ahead of it.
  void markClaimed(std::string_view prefix) { counterOf(prefix).claimed = true; }

 private:
  struct Counter {
    uint64_t key = 0;  // the prefix's hash; 0 marks a free slot
    uint32_t next = 0;
    bool claimed = false;
  };
  Counter& counterOf(std::string_view prefix);
  // The slot holding key, or the free one where it would go.
  std::size_t indexOf(uint64_t key) const;
  ZEB_NEVER_INLINE void grow();
  template <class Text, class Taken>
  ZEB_NEVER_INLINE static void passTaken(Text& name, std::size_t prefixLength, Counter& counter,
                                         const Taken& taken) {
    while (taken(std::string_view(name))) {
      cutTo(name, prefixLength);
      appendAll(name, "_", counter.next++);
    }
  }

  // Open addressing, a power of two long, at most three quarters full.
  std::vector<Counter> slots_;
  std::size_t used_ = 0;
};

}  // namespace zeb
