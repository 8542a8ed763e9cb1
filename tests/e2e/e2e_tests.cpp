// End-to-end tests: every scenario runs once directly against the echo backend
// and once against ZebScribe; ZebScribe's written program, compiled and linked
// with the echo backend, must make the same calls as the direct run.
//
// Each named scenario is also recorded once and compared byte for byte with
// its checked-in files under tests/golden/.
//
// Every command comes from the environment when set (see Toolchain in
// replay_harness.h and the wine test in tests/windows), else from the native
// build. For the tests themselves:
//   ZEB_E2E_SEEDS          "FIRST:COUNT" (or "SEED"): random seeds to run instead of 1 to 24
//   ZEB_UPDATE_GOLDEN      rewrite tests/golden/ from the recordings (scripts/update_golden.sh)
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

const Toolchain& tools() {
  static const Toolchain toolchain = Toolchain::fromEnvironment();
  return toolchain;
}

// What running one scenario both ways leaves behind.
struct Recording {
  fs::path directRun;  // where the runner drove the echo backend
  fs::path outputDir;  // scribe_output of the run against ZebScribe
  fs::path program() const { return outputDir / "scribe_output.c"; }
  fs::path data() const { return outputDir / "params.bin"; }
};

void runBothWays(const ScratchDir& scratch, const std::string& scenario, Recording& out) {
  out.directRun = sub(scratch, "direct");
  const CommandResult direct = runScenarioIn(tools(), out.directRun, tools().echoLibrary, scenario);
  ASSERT_EQ(direct.exitCode, 0) << direct.output;
  ASSERT_FALSE(readLines(out.directRun / kEchoLogName).empty())
      << "the echo backend logged nothing";

  const fs::path recorded = sub(scratch, "recorded");
  const CommandResult viaScribe = runScenarioIn(tools(), recorded, tools().scribeLibrary, scenario);
  ASSERT_EQ(viaScribe.exitCode, 0) << viaScribe.output;
  out.outputDir = recorded / "scribe_output";
  ASSERT_TRUE(fs::exists(out.program())) << "ZebScribe wrote no program\n" << viaScribe.output;
}

// Compiles `source` with the echo backend, runs it where its data file lies
// and returns the calls it made, as they compare with a direct run.
void replayWithEcho(const fs::path& source, const fs::path& outputDir,
                    std::vector<std::string>& calls) {
  const fs::path stem = source.parent_path() / source.stem();
  const CommandResult compiled = compileProgram(tools(), source, stem, tools().echoLinkFlags);
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const fs::path log = outputDir / kEchoLogName;
  fs::remove(log);
  const CommandResult replayed = runProgramIn(tools(), outputDir, stem);
  ASSERT_EQ(replayed.exitCode, 0) << replayed.output;
  // Unfiltered: the written program must make none of the calls that are never recorded.
  calls = readLines(log);
}

std::vector<std::string> directCalls(const Recording& recording) {
  return recordedCalls(readLines(recording.directRun / kEchoLogName));
}

void expectSameFile(const fs::path& expected, const fs::path& actual) {
  ASSERT_TRUE(fs::exists(actual)) << actual;
  EXPECT_EQ(firstDifference(readLines(expected), readLines(actual)), "") << actual;
  EXPECT_EQ(readFile(expected), readFile(actual)) << actual << ": same lines, different bytes";
}

// Replays the program against ZebScribe itself next to a copy of its data
// file: recording the replay must give the same program and data, byte for byte.
void checkRoundTrip(const ScratchDir& scratch, const Recording& recording) {
  const fs::path dir = sub(scratch, "round_trip");
  fs::copy_file(recording.data(), dir / "params.bin");
  const fs::path stem = dir / "replay_scribe";
  const CommandResult compiled =
      compileProgram(tools(), recording.program(), stem, tools().scribeLinkFlags);
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const CommandResult replayed = runProgramIn(tools(), dir, stem);
  ASSERT_EQ(replayed.exitCode, 0) << replayed.output;

  expectSameFile(recording.program(), dir / "scribe_output" / "scribe_output.c");
  expectSameFile(recording.data(), dir / "scribe_output" / "params.bin");
}

std::vector<std::string> namedScenarioNames() {
  std::vector<std::string> names;
  for (const Scenario& scenario : namedScenarios()) names.push_back(scenario.name);
  return names;
}

// Seeds 1 to 24, or the "FIRST:COUNT" of ZEB_E2E_SEEDS.
std::vector<std::string> randomScenarioNames() {
  unsigned long long first = 1;
  unsigned long long count = 24;
  if (const char* seeds = std::getenv("ZEB_E2E_SEEDS")) {
    char* colon = nullptr;
    first = std::strtoull(seeds, &colon, 10);
    count = *colon == ':' ? std::strtoull(colon + 1, nullptr, 10) : 1;
  }
  std::vector<std::string> names;
  for (unsigned long long seed = first; seed < first + count; ++seed) {
    names.push_back("random:" + std::to_string(seed));
  }
  return names;
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (const char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

class Scenarios : public testing::TestWithParam<std::string> {};

TEST_P(Scenarios, ReplayRepeatsTheDirectRun) {
  const std::string& scenario = GetParam();
  ScratchDir scratch;
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, scenario, recording));
  std::vector<std::string> replayed;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, replayed));
  EXPECT_EQ(firstDifference(directCalls(recording), replayed), "");

  if (scenarioRoundTrips(scenario)) checkRoundTrip(scratch, recording);
}

INSTANTIATE_TEST_SUITE_P(Named, Scenarios, testing::ValuesIn(namedScenarioNames()), testName);
INSTANTIATE_TEST_SUITE_P(Random, Scenarios, testing::ValuesIn(randomScenarioNames()), testName);

// The checked-in copy of one recorded file; with ZEB_UPDATE_GOLDEN set the
// recording replaces it instead, and the diff is reviewed like code.
void expectGolden(const fs::path& recorded, const fs::path& golden) {
  if (std::getenv("ZEB_UPDATE_GOLDEN") != nullptr && fs::exists(recorded)) {
    fs::create_directories(golden.parent_path());
    fs::copy_file(recorded, golden, fs::copy_options::overwrite_existing);
  }
  ASSERT_TRUE(fs::exists(golden)) << golden << " is missing: run scripts/update_golden.sh";
  expectSameFile(golden, recorded);
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, RecordingEqualsTheCheckedInFiles) {
  const std::string& scenario = GetParam();
  ScratchDir scratch;
  const CommandResult run = runScenarioIn(tools(), scratch.path(), tools().scribeLibrary, scenario);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const fs::path golden = fs::path(ZEB_E2E_GOLDEN_DIR) / scenario;
  for (const std::string name : {"scribe_output.c", "params.bin"}) {
    expectGolden(scratch.path() / "scribe_output" / name, golden / (name + ".golden"));
  }
}

INSTANTIATE_TEST_SUITE_P(Named, Golden, testing::ValuesIn(namedScenarioNames()), testName);

}  // namespace
}  // namespace zeb::e2e
