// A tiny deterministic generator (SplitMix64). The standard distributions are
// not used because they differ between standard libraries, and a seed must
// give the same scenario on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeb::e2e {

class Prng {
 public:
  explicit Prng(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    state_ += 0x9E3779B97F4A7C15u;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  // A number in [0, bound); bound must not be 0. The slight modulo bias does
  // not matter here.
  uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }

  uint32_t next32() { return static_cast<uint32_t>(next() >> 32); }

  bool oneIn(uint32_t n) { return below(n) == 0; }

  template <class T, std::size_t N>
  const T& pick(const T (&values)[N]) {
    return values[below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t state_;
};

}  // namespace zeb::e2e
