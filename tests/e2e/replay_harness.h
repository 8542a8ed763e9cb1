// The whole road as shell commands, run on a POSIX host; every command comes from tool(),
// so the same steps drive the Windows build under wine (tests/windows).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/scoped_temp_dir.h"

namespace zeb::e2e {

namespace fs = std::filesystem;
using test::readFile;
using ScratchDir = test::ScopedTempDir;

// CMake's default, or the environment variable ZEB_E2E_<NAME>.
inline std::string tool(const std::string& name) {
  static const std::map<std::string, std::string> defaults = {
      {"RUNNER_PREFIX", ""}, {"RUNNER", ZEB_E2E_DEFAULT_RUNNER}, {"SCRIBE_LIB", ZEB_E2E_DEFAULT_SCRIBE_LIB},
      {"ECHO_LIB", ZEB_E2E_DEFAULT_ECHO_LIB}, {"CC", ZEB_E2E_DEFAULT_CC}, {"INCLUDE_DIR", ZEB_E2E_DEFAULT_INCLUDE_DIR},
      {"ECHO_LINK", ZEB_E2E_DEFAULT_ECHO_LINK}, {"SCRIBE_LINK", ZEB_E2E_DEFAULT_SCRIBE_LINK},
      {"EXE_SUFFIX", ZEB_E2E_DEFAULT_EXE_SUFFIX}, {"REPLAY_PREFIX", ""}};
  const char* value = std::getenv(("ZEB_E2E_" + name).c_str());
  return value != nullptr ? value : defaults.at(name);
}

inline unsigned setting(const char* variable, unsigned fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr ? static_cast<unsigned>(std::stoul(value)) : fallback;
}

// "PREFIX:SEED" for seeds 1 to count, or those the variable names: "FIRST:COUNT" or "SEED".
inline std::vector<std::string> seededNames(const char* variable, const std::string& prefix, unsigned count) {
  const char* chosen = std::getenv(variable);
  char* colon = nullptr;
  const unsigned long long first = chosen ? std::strtoull(chosen, &colon, 10) : 1;
  const auto number = !chosen ? count : *colon == ':' ? std::strtoull(colon + 1, nullptr, 10) : 1ull;
  std::vector<std::string> names;
  for (auto seed = first; seed < first + number; ++seed) names.push_back(prefix + ":" + std::to_string(seed));
  return names;
}

struct CommandResult { int exitCode; std::string output; };  // stdout and stderr together

// For EXPECT_TRUE and ASSERT_TRUE: a command that exited 0, else its exit code and output.
inline testing::AssertionResult succeeded(const CommandResult& result) {
  if (result.exitCode == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "exit code " << result.exitCode << "\n" << result.output.substr(0, 8000);
}

// Relative, so that it means the same file under wine.
inline constexpr char kEchoLogName[] = "echo_calls.log";

// Calls ZebScribe answers itself or does not support: never in its program.
inline const std::set<std::string> kNeverRecorded = {
    "backendGetApiVersion", "backendGetBuildId", "graphExecuteAsync", "memRegister", "memDeRegister", "deviceFreePlatformInfo",
    "signalCreate", "signalSetConfig", "signalTrigger", "signalFree", "errorGetMessage", "errorGetVerboseMessage",
    "errorFreeVerboseMessage", "graphUpdateInputTensors", "graphUpdateOutputTensors", "graphPrepareExecutionEnvironment"};

// Mistakes that would still replay alike, since the echo backend logs no outputs.
inline constexpr const char* kStrictness =
    "-Werror=incompatible-pointer-types -Werror=int-conversion -Werror=discarded-qualifiers "
    "-Werror=implicit-function-declaration";

// Arguments quoted for the POSIX shell.
inline std::string run(const std::string& tool, const std::vector<std::string>& arguments) {
  std::string command = tool;
  for (const std::string& argument : arguments) {
    command += " '";
    for (const char c : argument) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "'";
  }
  return command;
}

inline CommandResult runIn(const fs::path& dir, const std::string& command) {
  const fs::path output = dir / ".command_output";
  int status = std::system(("cd " + run("", {dir.string()}) + " && ZEB_ECHO_LOG=" + kEchoLogName + " " + command +
                            " >" + run("", {output.string()}) + " 2>&1").c_str());
  status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  CommandResult result{status, "$ " + command + "\n" + readFile(output)};
  fs::remove(output);
  return result;
}

// "NAME='value' ", to stand before a command.
inline std::string assignment(const std::string& name, const std::string& value) {
  return name + "=" + run("", {value}).substr(1) + " ";
}

// ZebScribe forwarding to the echo backend. Its tensor ids are not ZebScribe's, so that a
// real id written where the variable registered under it was due shows in a replay.
inline std::string forwardingToEcho() { return assignment("ZEBSCRIBE_FORWARD", tool("ECHO_LIB")); }

inline CommandResult runScenarioIn(const fs::path& dir, const std::string& library, const std::string& scenario,
                                   std::vector<std::string> options = {}, const std::string& environment = "") {
  options.insert(options.begin(), {tool("RUNNER"), library, scenario});
  return runIn(dir, environment + run(tool("RUNNER_PREFIX"), options));
}

// A written program compiled (which must succeed) and linked with link, run where the
// executable lies, beside the data file it reads.
inline CommandResult compileAndRun(const fs::path& source, const fs::path& executable, const std::string& link,
                                   const std::string& prefix = tool("REPLAY_PREFIX")) {
  const std::string file = executable.string() + tool("EXE_SUFFIX");
  const std::string compiler = tool("CC") + " -std=c11 " + kStrictness;
  EXPECT_TRUE(succeeded(
      runIn(source.parent_path(), run(compiler, {"-I", tool("INCLUDE_DIR"), source.string(), "-o", file}) + " " + link)));
  return runIn(executable.parent_path(), run(prefix, {file}));
}

inline std::vector<std::string> readLines(std::istream&& in) {
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
inline std::vector<std::string> readLines(const fs::path& file) { return readLines(std::ifstream(file)); }

// The bytes a written program's freads read.
inline uint64_t bytesReadBack(const std::vector<std::string>& program) {
  uint64_t bytes = 0;
  for (const std::string& line : program) {
    unsigned long long size = 0, count = 0;
    const std::size_t call = line.find("fread(");
    if (call != std::string::npos && std::sscanf(line.c_str() + line.find(',', call) + 1, "%llu ,%llu", &size, &count) == 2)
      bytes += size * count;
  }
  return bytes;
}

// An echo log's calls a replay must repeat (the program makes its own logger).
inline std::vector<std::string> recordedCalls(const std::vector<std::string>& echoLog) {
  std::vector<std::string> calls;
  for (const std::string& line : echoLog)
    if (line.rfind("log:", 0) != 0 && kNeverRecorded.count(line.substr(0, line.find(' '))) == 0) calls.push_back(line);
  return calls;
}

inline std::vector<std::string> directCalls(const fs::path& dir, const std::string& scenario,
                                            std::vector<std::string> options = {}) {
  EXPECT_TRUE(succeeded(runScenarioIn(dir, tool("ECHO_LIB"), scenario, std::move(options))));
  return recordedCalls(readLines(dir / kEchoLogName));
}

// A scenario run directly with the echo backend in root/direct, giving the calls a recording
// must replay, and through ZebScribe in root/recorded, writing into output.
struct ScenarioRun {
  ScenarioRun(const fs::path& root, const std::string& scenario)
      : direct(root / "direct"), recorded(root / "recorded"), output(recorded / "scribe_output") {
    fs::create_directories(direct), fs::create_directories(recorded);
    calls = directCalls(direct, scenario);
    EXPECT_FALSE(readLines(direct / kEchoLogName).empty()) << "the echo backend logged nothing";
    EXPECT_TRUE(succeeded(runScenarioIn(recorded, tool("SCRIBE_LIB"), scenario)));
  }
  fs::path direct, recorded, output;
  std::vector<std::string> calls;
};

// Every call a written program makes with the echo backend, run in dir by its data file.
// Built by `zebscribe build` against the echo backend, which comes first in its link line;
// the rest (sanitizers) goes to the compiler.
inline std::vector<std::string> replayWithEcho(const fs::path& source, const fs::path& dir,
                                               const std::string& prefix = tool("REPLAY_PREFIX")) {
  const fs::path stem = source.parent_path() / source.stem();
  std::istringstream link(tool("ECHO_LINK"));
  std::string backend, flags;
  link >> backend;
  for (std::string word; link >> word;) flags += " " + word;
  EXPECT_TRUE(succeeded(runIn(source.parent_path(), run(ZEB_E2E_TOOL, {"build", source.string(), "--backend", backend,
      "--cc", tool("CC") + " " + kStrictness + flags, "-o", stem.string() + tool("EXE_SUFFIX")}))));
  fs::remove(dir / kEchoLogName);
  EXPECT_TRUE(succeeded(runIn(dir, run(prefix, {stem.string() + tool("EXE_SUFFIX")}))));
  return readLines(dir / kEchoLogName);
}

// Empty when equal, else the first pair that differs.
inline std::string firstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  const auto [want, got] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  if (want == expected.end() && got == actual.end()) return "";
  return "first difference at line " + std::to_string(want - expected.begin() + 1) + " of " +
         std::to_string(expected.size()) + " expected and " + std::to_string(actual.size()) + " actual lines\n" +
         "  expected: " + (want != expected.end() ? *want : "<no more lines>") + "\n" +
         "  actual:   " + (got != actual.end() ? *got : "<no more lines>") + "\n";
}

// The directory name in dir, made if need be.
inline fs::path sub(const fs::path& dir, const std::string& name) {
  fs::create_directories(dir / name);
  return dir / name;
}
inline fs::path sub(const ScratchDir& scratch, const std::string& name) { return sub(scratch.path(), name); }

// `zebscribe COMMAND model`, run beside the model file.
inline CommandResult zebscribe(const std::string& command, const fs::path& model) {
  return runIn(model.parent_path(), run(ZEB_E2E_TOOL, {command, model.string()}));
}

// A copy of a golden recording in dir, as the recorder named its files.
inline fs::path copyGolden(const fs::path& dir, const std::string& name) {
  fs::copy_file(fs::path(ZEB_E2E_GOLDEN_DIR) / name / "scribe_output.c.golden", dir / "scribe_output.c");
  fs::copy_file(fs::path(ZEB_E2E_GOLDEN_DIR) / name / "params.bin.golden", dir / "params.bin");
  return dir;
}

inline std::string asTestName(std::string text) {
  for (char& c : text) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return text;
}

}  // namespace zeb::e2e
