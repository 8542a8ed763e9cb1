// The written program rewritten for building: the same statements in the same
// order, but main's locals in static storage and its body cut into functions
// of bounded size, spread over translation units that compile in parallel. A
// compiler's time and memory then grow with the recording's length, not
// faster, and the program runs within a default stack however long it is.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

#include "recording.h"

namespace zeb::tool {

namespace fs = std::filesystem;

struct SplitLimits {
  std::size_t partStatements = 256;              // lines of the body per function
  std::size_t unitBytes = std::size_t{2} << 20;  // of the model file per translation unit
};

// Writes unit_0.c (main and the first statements), unit_1.c, ... into
// `directory`, which must exist, and returns their paths. The recording must
// be replayable and hold no foreign code. Throws ToolError for a program that
// would not compile as written: a variable declared twice, or named before its
// declaration.
std::vector<fs::path> writeSplitProgram(const Recording& recording, const fs::path& directory,
                                        const SplitLimits& limits = {});

}  // namespace zeb::tool
