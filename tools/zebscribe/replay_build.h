// A recording compiled into its replay program: the model file as it stands
// (plain), or the split program, whose build stays fast and whose replay
// runs within a default stack however long the recording.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "recording.h"

namespace zeb::tool {

namespace fs = std::filesystem;

struct ReplayTarget {
  std::string compiler;  // a command, possibly with options
  fs::path includeDir;
  fs::path backend;  // the library the program is linked with
  fs::path executable;
  fs::path sources;  // the split program's files, and its objects while it builds
};

// Prints each command on `commands`. The compiler's output goes to standard
// error: all of it, or only a failing command's when `quiet`. Throws
// ToolError when a command fails. Takes the recording so that its memory,
// several times the model file's size, is free before the compilers run.
void buildReplay(Recording recording, const ReplayTarget& target, bool plain, bool quiet,
                 std::ostream& commands);

// Where build writes the split program of an executable: beside it.
fs::path sourcesBeside(const fs::path& executable);

}  // namespace zeb::tool
