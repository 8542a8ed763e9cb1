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
#include <fstream>
#include <string>
#include <vector>

#include "echo_backend.h"
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

// The comparison must be able to fail: two blobs of the data file swapped
// have to show up as a differing call.
TEST(FaultDetection, SwappedBlobsMakeTheCallsDiffer) {
  ScratchDir scratch;
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "data-path", recording));
  std::vector<uint64_t> sizes;
  for (const std::string& line : readLines(recording.program())) {
    if (line.find("fread(") != std::string::npos) sizes.push_back(bytesReadBack({line}));
  }
  ASSERT_GE(sizes.size(), 2u);
  const std::string data = readFile(recording.data());
  const std::string swapped = data.substr(sizes[0], sizes[1]) + data.substr(0, sizes[0]) +
                              data.substr(sizes[0] + sizes[1]);
  std::ofstream(recording.data(), std::ios::binary) << swapped;

  std::vector<std::string> calls;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, calls));
  const std::string difference = firstDifference(directCalls(recording), calls);
  EXPECT_NE(difference.find("tensorCreateContextTensor"), std::string::npos) << difference;
}

// The written program saves the binary the backend hands it.
TEST(ContextBinaries, TheReplaySavesTheBinaryTheBackendReturned) {
  ScratchDir scratch;
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "binaries", recording));
  std::vector<std::string> calls;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, calls));
  std::string expected;
  for (std::size_t i = 0; i < echo::kContextBinarySize; ++i) expected += char(echo::binaryByte(i));
  EXPECT_EQ(readFile(recording.outputDir / "context_0.bin"), expected);
}

std::vector<std::string> directCallsOf(const ScratchDir& scratch, const std::string& scenario) {
  const fs::path direct = sub(scratch, "direct_" + scenario);
  const CommandResult ran = runScenarioIn(tools(), direct, tools().echoLibrary, scenario);
  EXPECT_EQ(ran.exitCode, 0) << ran.output;
  return recordedCalls(readLines(direct / kEchoLogName));
}

// Each program of a switched recording compiles, replays the calls recorded
// into it and reads exactly the blobs of its own data file.
TEST(RecordingFiles, ASwitchLeavesTwoWholeProgramsEachWithItsOwnData) {
  ScratchDir scratch;
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "switched", recording));
  const std::vector<std::string> expected = directCallsOf(scratch, "data-and-binaries");
  for (const auto& [program, data] : {std::pair{"scribe_output.c", "params.bin"},
                                      std::pair{"second.c", "second.bin"}}) {
    const fs::path source = recording.outputDir / program;
    EXPECT_EQ(bytesReadBack(readLines(source)), readFile(recording.outputDir / data).size());
    std::vector<std::string> calls;
    ASSERT_NO_FATAL_FAILURE(replayWithEcho(source, recording.outputDir, calls));
    EXPECT_EQ(firstDifference(expected, calls), "") << program;
  }
}

// A later run continues the files of an earlier one: the earlier text and
// blobs stay as they were, the later blocks and blobs follow, and the whole
// replays both runs.
TEST(RecordingFiles, ALaterRunContinuesTheProgramAndItsData) {
  ScratchDir scratch;
  const fs::path dir = sub(scratch, "recorded");
  const fs::path output = dir / "scribe_output";
  CommandResult ran =
      runScenarioIn(tools(), dir, tools().scribeLibrary, "data-path", {"--without-footer"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::string firstProgram = readFile(output / "scribe_output.c");
  const std::string firstData = readFile(output / "params.bin");
  ran = runScenarioIn(tools(), dir, tools().scribeLibrary, "binaries", {"--continue"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  const std::string program = readFile(output / "scribe_output.c");
  EXPECT_EQ(program.compare(0, firstProgram.size(), firstProgram), 0);
  EXPECT_EQ(program.find("#include", firstProgram.size()), std::string::npos) << "a second header";
  EXPECT_EQ(readFile(output / "params.bin").compare(0, firstData.size(), firstData), 0);
  EXPECT_EQ(bytesReadBack(readLines(output / "scribe_output.c")),
            readFile(output / "params.bin").size());
  std::vector<std::string> replayed;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(output / "scribe_output.c", output, replayed));
  EXPECT_EQ(firstDifference(directCallsOf(scratch, "data-and-binaries"), replayed), "");
}

}  // namespace
}  // namespace zeb::e2e
