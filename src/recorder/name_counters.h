// Counters that number the variables of the written program: the first
// name made from a prefix ends "_0", the next "_1", and so on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "emit/text_append.h"
#include "recorder/text_arena.h"

namespace zeb {

// Counters for prefixes not known in advance, one per prefix.
class NameCounters {
 public:
  // name holds a prefix: appends "_" and the prefix's next number.
  template <class Text>
  void number(Text& name) {
    appendAll(name, "_", counterOf(std::string_view(name))++);
  }
  // The prefix's next name, `{prefix}_{n}`, as a string of its own.
  std::string next(std::string_view prefix);
  // Moves the prefix's counter past number.
  void reserve(std::string_view prefix, uint32_t number);

 private:
  uint32_t& counterOf(std::string_view prefix);

  // Hashed, as a graph of many nodes makes a prefix per node; the keys view
  // their own copies of the prefixes.
  std::unordered_map<std::string_view, uint32_t> counters_;
  TextArena prefixes_;
};

}  // namespace zeb
