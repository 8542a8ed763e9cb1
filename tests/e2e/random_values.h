// Random arguments for the random scenarios: texts, numbers and whole
// configuration arrays, kept alive by an arena for the length of one call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZebInterface.h"
#include "prng.h"

namespace zeb::e2e {

// Owns what the arguments of one call point into.
class Arena {
 public:
  // Returns a pointer to the stored elements (NULL for an empty list).
  template <class T>
  T* keep(std::vector<T> values) {
    if (values.empty()) return nullptr;
    auto owned = std::make_shared<std::vector<T>>(std::move(values));
    items_.push_back(owned);
    return owned->data();
  }
  // As keep, but an empty list too gets an address of its own: a counted
  // array without elements is not the same argument as NULL.
  template <class T>
  T* keepAddressed(std::vector<T> values) {
    if (values.empty()) values.resize(1);
    return keep(std::move(values));
  }
  const char* keep(std::string text);
  void clear() { items_.clear(); }

 private:
  std::vector<std::shared_ptr<void>> items_;
};

// Text that stays the same text when written between double quotes of C
// source: printable characters other than '"' and '\', and never "??" (a
// trigraph under -std=c11).
std::string awkwardText(Prng& rng);
// awkwardText, or NULL now and then.
const char* maybeText(Prng& rng, Arena& arena);

// A signed 32-bit value: named enumeration values, 0, extremes or anything.
int32_t anyInt32(Prng& rng);
// An unsigned 64-bit value with a fair share of extremes.
uint64_t anyUint64(Prng& rng);

// NULL-terminated configuration arrays, possibly empty, never NULL themselves.
const ZebBackend_Config_t** backendConfigs(Prng& rng, Arena& arena);
const ZebContext_Config_t** contextConfigs(Prng& rng, Arena& arena);
const ZebDevice_Config_t** deviceConfigs(Prng& rng, Arena& arena);
// NULL, or at least one configuration (ZebScribe writes an array it would
// leave empty as NULL).
const ZebProfile_Config_t** profileConfigs(Prng& rng, Arena& arena);

}  // namespace zeb::e2e
