#include "recorder/name_counters.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace zeb {
namespace {

constexpr std::size_t kFirstSlots = 16;

// One character group into the hash: a bijection of the hash for a given
// group, whose product carries low bits up and whose shift brings high bits
// down, into the bits that pick a slot.
uint64_t step(uint64_t hash, uint64_t group) {
  hash = (hash ^ group) * 0x9E3779B97F4A7C15u;
  return hash ^ (hash >> 32);
}

uint64_t wordAt(const char* text) {
  uint64_t word;
  std::memcpy(&word, text, sizeof word);
  return word;
}

uint64_t halfWordAt(const char* text) {
  uint32_t half;
  std::memcpy(&half, text, sizeof half);
  return half;
}

// Read eight characters at a time (a node's prefix is a few dozen long), the
// last group overlapping the one before; the length, taken last, tells the
// overlap. Never 0, which marks a free slot.
ZEB_ALWAYS_INLINE inline uint64_t keyOf(std::string_view prefix) {
  const char* const text = prefix.data();
  const std::size_t size = prefix.size();
  uint64_t hash = 0;
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 < size; at += 8) hash = step(hash, wordAt(text + at));
    hash = step(hash, wordAt(text + size - 8));
  } else if (size >= 4) {
    hash = step(hash, halfWordAt(text) | halfWordAt(text + size - 4) << 32);
  } else if (size > 0) {
    const auto byteAt = [text](std::size_t at) {
      return uint64_t{static_cast<unsigned char>(text[at])};
    };
    hash = step(hash, byteAt(0) | byteAt(size / 2) << 8 | byteAt(size - 1) << 16);
  }
  hash = step(hash, size);
  return hash != 0 ? hash : 1;
}

}  // namespace

std::size_t NameCounters::indexOf(uint64_t key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = static_cast<std::size_t>(key) & mask;
  while (slots_[at].key != key && slots_[at].key != 0) at = (at + 1) & mask;
  return at;
}

NameCounters::Counter& NameCounters::counterOf(std::string_view prefix) {
  const uint64_t key = keyOf(prefix);
  if (slots_.empty()) grow();
  std::size_t at = indexOf(key);
  if (slots_[at].key == key) return slots_[at];
  if (4 * (used_ + 1) > 3 * slots_.size()) {
    grow();
    at = indexOf(key);
  }
  ++used_;
  slots_[at].key = key;
  return slots_[at];
}

void NameCounters::grow() {
  const std::vector<Counter> kept =
      std::exchange(slots_, std::vector<Counter>(std::max(kFirstSlots, 2 * slots_.size())));
  for (const Counter& counter : kept)
    if (counter.key != 0) slots_[indexOf(counter.key)] = counter;
}

uint32_t NameCounters::handedOut(std::string_view prefix) const {
  if (slots_.empty()) return 0;
  const uint64_t key = keyOf(prefix);
  const Counter& slot = slots_[indexOf(key)];
  return slot.key == key ? slot.next : 0;
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
