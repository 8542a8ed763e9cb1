#include "replay_harness.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zeb::e2e {
namespace {

std::string setting(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : fallback;
}

// One argument for the POSIX shell.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int exitCodeOf(int status) {
#ifdef _WIN32
  return status;
#else
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
#endif
}

CommandResult runIn(const fs::path& dir, const std::string& command) {
  const fs::path output = dir / ".command_output";
  const std::string line = "cd " + quoted(dir.string()) + " && ZEB_ECHO_LOG=" + kEchoLogName + " " +
                           command + " > " + quoted(output.string()) + " 2>&1";
  const int status = std::system(line.c_str());
  CommandResult result{exitCodeOf(status), "$ " + command + "\n" + readFile(output)};
  fs::remove(output);
  return result;
}

std::string executable(const Toolchain& tools, const fs::path& stem) {
  return stem.string() + tools.exeSuffix;
}

// The first word of an echo line: the name of the call.
std::string callName(const std::string& line) { return line.substr(0, line.find(' ')); }

// Calls that reach ZebScribe but by design never reach its written program.
bool neverRecorded(const std::string& line) {
  // ZebScribe answers these two itself, from its own version and build id.
  static const std::set<std::string> answeredByScribe = {"backendGetApiVersion",
                                                         "backendGetBuildId"};
  // The slots ZebScribe does not support: they return 1000 and record nothing.
  static const std::set<std::string> unsupported = {"graphExecuteAsync",
                                                    "memRegister",
                                                    "memDeRegister",
                                                    "deviceFreePlatformInfo",
                                                    "signalCreate",
                                                    "signalSetConfig",
                                                    "signalTrigger",
                                                    "signalFree",
                                                    "errorGetMessage",
                                                    "errorGetVerboseMessage",
                                                    "errorFreeVerboseMessage",
                                                    "graphUpdateInputTensors",
                                                    "graphUpdateOutputTensors",
                                                    "graphPrepareExecutionEnvironment"};
  const std::string name = callName(line);
  return answeredByScribe.count(name) > 0 || unsupported.count(name) > 0;
}

std::string lineOrEnd(const std::vector<std::string>& lines, std::size_t index) {
  return index < lines.size() ? lines[index] : "<no more lines>";
}

}  // namespace

Toolchain Toolchain::fromEnvironment() {
  return {setting("ZEB_E2E_RUNNER_PREFIX", ""),
          setting("ZEB_E2E_RUNNER", ZEB_E2E_DEFAULT_RUNNER),
          setting("ZEB_E2E_SCRIBE_LIB", ZEB_E2E_DEFAULT_SCRIBE_LIB),
          setting("ZEB_E2E_ECHO_LIB", ZEB_E2E_DEFAULT_ECHO_LIB),
          setting("ZEB_E2E_CC", ZEB_E2E_DEFAULT_CC),
          setting("ZEB_E2E_INCLUDE_DIR", ZEB_E2E_DEFAULT_INCLUDE_DIR),
          setting("ZEB_E2E_ECHO_LINK", ZEB_E2E_DEFAULT_ECHO_LINK),
          setting("ZEB_E2E_SCRIBE_LINK", ZEB_E2E_DEFAULT_SCRIBE_LINK),
          setting("ZEB_E2E_EXE_SUFFIX", ZEB_E2E_DEFAULT_EXE_SUFFIX),
          setting("ZEB_E2E_REPLAY_PREFIX", "")};
}

CommandResult runScenarioIn(const Toolchain& tools, const fs::path& dir, const std::string& library,
                            const std::string& scenario, const std::vector<std::string>& options) {
  std::string command = tools.runnerPrefix + " " + quoted(tools.runner) + " " + quoted(library) +
                        " " + quoted(scenario);
  for (const std::string& option : options) command += " " + quoted(option);
  return runIn(dir, command);
}

CommandResult runFaultedIn(const fs::path& runner, const fs::path& dir,
                           const std::string& scenario, const std::string& fault,
                           const fs::path& outcomes) {
  return runIn(dir, quoted(runner.string()) + " " + quoted(scenario) + " " +
                        quoted(fault) + " " + quoted(outcomes.string()));
}

// A written program must compile as it stands; these mistakes in it would
// still replay alike, since the echo backend does not log output values.
constexpr const char* kStrictness =
    "-Werror=incompatible-pointer-types -Werror=int-conversion -Werror=discarded-qualifiers "
    "-Werror=implicit-function-declaration";

CommandResult compileProgram(const Toolchain& tools, const fs::path& source,
                             const fs::path& executableStem, const std::string& linkFlags) {
  return runIn(source.parent_path(), tools.compiler + " -std=c11 " + kStrictness + " -I " +
                                         quoted(tools.includeDir) + " " + quoted(source.string()) +
                                         " -o " + quoted(executable(tools, executableStem)) + " " +
                                         linkFlags);
}

CommandResult runProgramIn(const Toolchain& tools, const fs::path& dir,
                           const fs::path& executableStem) {
  return runIn(dir, tools.replayPrefix + " " + quoted(executable(tools, executableStem)));
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> readLines(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

uint64_t bytesReadBack(const std::vector<std::string>& program) {
  uint64_t bytes = 0;
  for (const std::string& line : program) {
    const std::size_t call = line.find("fread(");
    if (call == std::string::npos) continue;
    std::istringstream arguments(line.substr(line.find(',', call) + 1));
    uint64_t size = 0, count = 0;
    char comma = 0;
    arguments >> size >> comma >> count;
    bytes += size * count;
  }
  return bytes;
}

std::vector<std::string> recordedCalls(const std::vector<std::string>& echoLog) {
  std::vector<std::string> calls;
  for (const std::string& line : echoLog) {
    // The log family is not recorded: the written program creates its own
    // logger only when it is asked to on its command line.
    if (line.rfind("log:", 0) == 0) continue;
    if (neverRecorded(line)) continue;
    calls.push_back(line);
  }
  return calls;
}

std::string firstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& actual) {
  for (std::size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
    if (i < expected.size() && i < actual.size() && expected[i] == actual[i]) continue;
    std::ostringstream text;
    text << "first difference at line " << i + 1 << " of " << expected.size() << " expected and "
         << actual.size() << " actual lines\n  expected: " << lineOrEnd(expected, i)
         << "\n  actual:   " << lineOrEnd(actual, i) << "\n";
    return text.str();
  }
  return "";
}

fs::path sub(const ScratchDir& scratch, const std::string& name) {
  const fs::path dir = scratch.path() / name;
  fs::create_directories(dir);
  return dir;
}

}  // namespace zeb::e2e
