// Benchmarked calls must succeed: a refused call would time a different road.
#pragma once

#include <stdexcept>
#include <string>

#include "ZebCommon.h"

namespace zeb::bench {

inline void check(Zeb_ErrorHandle_t code) {
  if (code != 0) throw std::runtime_error("a benchmarked call failed: " + std::to_string(code));
}

}  // namespace zeb::bench
