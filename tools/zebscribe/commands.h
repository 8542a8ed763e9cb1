// The subcommands of zebscribe; each returns the process's exit status.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "recording.h"

namespace zeb::tool {

struct Options {
  std::string command;
  Location location;
  bool json = false;             // info
  bool trust = false;            // dump, build: compile foreign code too, as plain
  bool plain = false;            // build: the model file compiled as it stands
  std::string backend;           // build: the library to link with
  std::string compiler;          // build, dump: empty for $CC, else cc
  std::filesystem::path output;  // build: the executable; empty for replay beside the model
                                 // graph: the drawing; empty for standard output (dot) or beside the model
  std::string graphName;         // graph: the one to draw; empty for every graph
  std::string format;            // graph: dot, svg or html; empty for dot
  std::string forward;           // record: the backend library ZebScribe forwards to
  std::string as;                // record: the file name the application loads its backend by
  std::vector<std::string> application;  // record: the command that runs it
  std::string argv0;             // to find the installed files when the system cannot say
  bool help = false;             // print the command's help instead
};

int runInfo(const Options& options);
int runCheck(const Options& options);
int runSeal(const Options& options);
int runDump(const Options& options);
int runBuild(const Options& options);
int runGraph(const Options& options);
int runRecord(const Options& options);

// Refuses (ToolError) a recording that cannot be compiled and replayed as it
// stands: without a whole header or its footer, or with a short data file;
// and, unless trusted, one that holds code no recorder writes.
void requireReplayable(const Recording& recording, bool trust);

}  // namespace zeb::tool
