// The whole road of a scenario as shell commands: run it against a backend
// library, compile ZebScribe's written program, replay it, compare call logs.
// Every command comes from a Toolchain, so the same steps can drive another
// build (the Windows one under wine, see tests/windows).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/scoped_temp_dir.h"

namespace zeb::e2e {

namespace fs = std::filesystem;
using test::readFile;
// A fresh directory for one test, removed with everything in it afterwards.
using ScratchDir = test::ScopedTempDir;

// CMake's defaults, each overridden by the environment variable ZEB_E2E_<NAME>.
struct Toolchain {
  std::string runnerPrefix;     // RUNNER_PREFIX: put before the runner, e.g. "wine"
  std::string runner;           // RUNNER: zeb_scenario_runner
  std::string scribeLibrary;    // SCRIBE_LIB, as the runner loads it
  std::string echoLibrary;      // ECHO_LIB
  std::string compiler;         // CC: for the written program
  std::string includeDir;       // INCLUDE_DIR: the Zeb API headers
  std::string echoLinkFlags;    // ECHO_LINK: link the written program with ZebEcho
  std::string scribeLinkFlags;  // SCRIBE_LINK: or with ZebScribe
  std::string exeSuffix;        // EXE_SUFFIX: of the executables the compiler writes
  std::string replayPrefix;     // REPLAY_PREFIX: put before the compiled program
};
const Toolchain& tools();

struct CommandResult {
  int exitCode;
  std::string output;  // standard output and error together
};

// The echo log, relative to the directory a process runs in (so that it means
// the same file to a process under wine).
inline constexpr char kEchoLogName[] = "echo_calls.log";

// A command run in dir with ZEB_ECHO_LOG set to kEchoLogName.
CommandResult runIn(const fs::path& dir, const std::string& command);
// A tool (or "") followed by its arguments, each quoted for the shell.
std::string run(const std::string& tool, const std::vector<std::string>& arguments);
CommandResult runScenarioIn(const fs::path& dir, const std::string& library, const std::string& scenario,
                            std::vector<std::string> options = {});
CommandResult compileProgram(const fs::path& source, const fs::path& executableStem, const std::string& linkFlags);
CommandResult runProgramIn(const fs::path& dir, const fs::path& executableStem);

std::vector<std::string> readLines(const fs::path& file);
// The bytes that a written program's fread statements read, together.
uint64_t bytesReadBack(const std::vector<std::string>& program);
// The calls of an echo log that a replayed recording must repeat.
std::vector<std::string> recordedCalls(const std::vector<std::string>& echoLog);
// Empty when both lists are equal; otherwise the first pair that differs.
std::string firstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);
// A fresh subdirectory of the scratch directory.
fs::path sub(const ScratchDir& scratch, const std::string& name);
// A parameter's value as a test name.
std::string asTestName(std::string text);

}  // namespace zeb::e2e
