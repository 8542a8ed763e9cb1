// The whole road of a scenario as shell commands: run it against a backend
// library, compile ZebScribe's written program, replay it, compare call logs.
// Every command comes from a Toolchain, so the same steps can drive another
// build (for instance the Windows one under wine).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/scoped_temp_dir.h"

namespace zeb::e2e {

namespace fs = std::filesystem;

struct Toolchain {
  std::string runnerPrefix;     // put before the runner, e.g. "wine"
  std::string runner;           // zeb_scenario_runner
  std::string scribeLibrary;    // as the runner loads it
  std::string echoLibrary;      // as the runner loads it
  std::string compiler;         // C compiler command for the written program
  std::string includeDir;       // the Zeb API headers
  std::string echoLinkFlags;    // link the written program with ZebEcho
  std::string scribeLinkFlags;  // link the written program with ZebScribe
  std::string exeSuffix;        // of the executables the compiler writes
  std::string replayPrefix;     // put before the compiled program

  // CMake's defaults, each overridable by its environment variable.
  static Toolchain fromEnvironment();
};

struct CommandResult {
  int exitCode;
  std::string output;  // standard output and error together
};

// The echo log file name, relative to the directory a process runs in (so
// that it means the same file to a process run under wine).
inline constexpr char kEchoLogName[] = "echo_calls.log";

// The commands run in dir with ZEB_ECHO_LOG set to kEchoLogName (ignored by
// any backend but the echo backend); executables are named by their stem.
CommandResult runScenarioIn(const Toolchain& tools, const fs::path& dir, const std::string& library,
                            const std::string& scenario,
                            const std::vector<std::string>& options = {});
// zeb_fault_runner: the scenario against ZebScribe linked in, with a fault
// (see fault_runner.cpp); call outcomes to outcomes.
CommandResult runFaultedIn(const fs::path& runner, const fs::path& dir,
                           const std::string& scenario, const std::string& fault,
                           const fs::path& outcomes);
CommandResult compileProgram(const Toolchain& tools, const fs::path& source,
                             const fs::path& executableStem, const std::string& linkFlags);
CommandResult runProgramIn(const Toolchain& tools, const fs::path& dir,
                           const fs::path& executableStem);

// The bytes of a file (empty when it cannot be read).
std::string readFile(const fs::path& file);
// The lines of a text file (empty when it cannot be read).
std::vector<std::string> readLines(const fs::path& file);

// The bytes that a written program's fread statements read, together.
uint64_t bytesReadBack(const std::vector<std::string>& program);

// The calls of an echo log that a replayed recording must repeat.
std::vector<std::string> recordedCalls(const std::vector<std::string>& echoLog);

// Empty when both lists of lines are equal; otherwise the first pair that
// differs, with both lengths.
std::string firstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& actual);

// A fresh directory for one test, removed with everything in it afterwards.
using ScratchDir = test::ScopedTempDir;
// A fresh subdirectory of it.
fs::path sub(const ScratchDir& scratch, const std::string& name);

}  // namespace zeb::e2e
