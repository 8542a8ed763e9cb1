// What `check` reports about a recording: problems that make it unsound, and
// warnings about arguments that the replay will pass differently.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "recording.h"

namespace zeb::tool {

struct Finding {
  bool warning = false;
  std::size_t line = 0;  // 0: about a file as a whole
  std::string message;
};

// Sorted by line; findings about whole files come first.
std::vector<Finding> examine(const Recording& recording);

// Warnings about client strings that will not read back as passed.
void examineStrings(const Recording& recording, std::vector<Finding>& out);

}  // namespace zeb::tool
