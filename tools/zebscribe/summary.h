// What `info` tells about a recording: its calls and the objects they make.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "recording.h"

namespace zeb::tool {

struct TensorSummary {
  std::string variable;           // in the written program
  std::string name;               // the client's; empty when it passed none
  std::optional<uint64_t> bytes;  // dimensions times element size, when both are written
  uint64_t dataBytes = 0;         // read from the data file
};

// A binary handed in (read from the data file) or asked for (saved to a file).
struct BinarySummary {
  std::string member;
  std::size_t line = 0;
  uint64_t dataBytes = 0;
  std::string savedAs;  // asked for: the file the program writes
};

struct Summary {
  std::vector<std::pair<std::string, std::size_t>> calls;  // by member name
  // Objects by kind ("backends", "devices", ...), as the program names them.
  std::vector<std::pair<std::string, std::vector<std::string>>> handles;
  std::vector<TensorSummary> tensors;
  std::vector<BinarySummary> binaries;
  std::size_t nodes = 0;
  std::size_t executions = 0;
};

Summary summarize(const Recording& recording);

}  // namespace zeb::tool
