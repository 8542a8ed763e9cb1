// End-to-end tests: every scenario runs once directly against the echo backend
// and once against ZebScribe; ZebScribe's written program, compiled and linked
// with the echo backend, must make the same calls as the direct run.
//
// Every external command can be replaced through the environment (the
// defaults are the native build's, baked in by CMake), so that the same tests
// can drive another build, such as the Windows one under wine:
//   ZEB_E2E_RUNNER_PREFIX  put before the scenario runner (e.g. "wine")
//   ZEB_E2E_RUNNER         the scenario runner executable
//   ZEB_E2E_SCRIBE_LIB     the ZebScribe library, as the runner loads it
//   ZEB_E2E_ECHO_LIB       the echo backend library, as the runner loads it
//   ZEB_E2E_CC             C compiler command for the written program
//   ZEB_E2E_INCLUDE_DIR    directory of the Zeb API headers
//   ZEB_E2E_ECHO_LINK      flags that link the written program with the echo backend
//   ZEB_E2E_SCRIBE_LINK    flags that link the written program with ZebScribe
//   ZEB_E2E_EXE_SUFFIX     suffix the compiler gives executables ("" or ".exe")
//   ZEB_E2E_REPLAY_PREFIX  put before the compiled program (e.g. "wine")
// The Windows build in $W, for example, runs under wine with
//   ZEB_E2E_RUNNER_PREFIX=wine64  ZEB_E2E_RUNNER=$W/tests/e2e/zeb_scenario_runner.exe
//   ZEB_E2E_SCRIBE_LIB=$W/ZebScribe.dll  ZEB_E2E_ECHO_LIB=$W/tests/echo/ZebEcho.dll
//   ZEB_E2E_CC=x86_64-w64-mingw32-gcc-posix  ZEB_E2E_EXE_SUFFIX=.exe
//   ZEB_E2E_ECHO_LINK="$W/tests/echo/libZebEcho.dll.a -static" (SCRIBE_LINK likewise)
//   ZEB_E2E_REPLAY_PREFIX="env 'WINEPATH=<both DLL directories as Z:\...>' wine64"
// and for the tests themselves:
//   ZEB_E2E_SEEDS          "FIRST:COUNT" (or "SEED"): random seeds to run instead of 1 to 24
//   ZEB_E2E_KEEP           keep the scratch directories and print their paths
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>

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
  out.directRun = scratch.sub("direct");
  const CommandResult direct = runScenarioIn(tools(), out.directRun, tools().echoLibrary, scenario);
  ASSERT_EQ(direct.exitCode, 0) << direct.output;
  ASSERT_FALSE(readLines(out.directRun / kEchoLogName).empty())
      << "the echo backend logged nothing";

  const fs::path recorded = scratch.sub("recorded");
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

// Replays the program against ZebScribe itself next to a copy of its data
// file: recording the replay must give the same program and data, byte for byte.
void checkRoundTrip(const ScratchDir& scratch, const Recording& recording) {
  const fs::path dir = scratch.sub("round_trip");
  fs::copy_file(recording.data(), dir / "params.bin");
  const fs::path stem = dir / "replay_scribe";
  const CommandResult compiled =
      compileProgram(tools(), recording.program(), stem, tools().scribeLinkFlags);
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const CommandResult replayed = runProgramIn(tools(), dir, stem);
  ASSERT_EQ(replayed.exitCode, 0) << replayed.output;

  const fs::path again = dir / "scribe_output";
  EXPECT_EQ(firstDifference(readLines(recording.program()), readLines(again / "scribe_output.c")),
            "");
  EXPECT_EQ(readFile(again / "scribe_output.c"), readFile(recording.program()))
      << "same lines, different bytes";
  EXPECT_EQ(readFile(again / "params.bin"), readFile(recording.data()));
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
  ScratchDir scratch(scenario);
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, scenario, recording));
  std::vector<std::string> replayed;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, replayed));
  EXPECT_EQ(firstDifference(directCalls(recording), replayed), "");

  if (scenarioRoundTrips(scenario)) checkRoundTrip(scratch, recording);
}

INSTANTIATE_TEST_SUITE_P(Named, Scenarios, testing::ValuesIn(namedScenarioNames()), testName);
INSTANTIATE_TEST_SUITE_P(Random, Scenarios, testing::ValuesIn(randomScenarioNames()), testName);

// The comparison must be able to fail: one number changed in the written
// program, or two blobs of the data file swapped, has to show up as a
// differing call.
TEST(FaultDetection, AChangedNumberInTheProgramMakesTheCallsDiffer) {
  ScratchDir scratch("fault");
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "all-families", recording));

  const std::string marker = ".priority=(Zeb_Priority_t)";
  std::string text = readFile(recording.program());
  const std::size_t at = text.find(marker);
  ASSERT_NE(at, std::string::npos) << "no priority in the written program";
  const std::size_t number = at + marker.size();
  const std::size_t end = text.find_first_not_of("-0123456789", number);
  const long priority = std::stol(text.substr(number, end - number));
  const std::string changed = std::to_string(priority + 1);
  text.replace(number, end - number, changed);
  const fs::path altered = recording.outputDir / "altered.c";
  std::ofstream(altered, std::ios::binary) << text;

  std::vector<std::string> unchangedCalls;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, unchangedCalls));
  ASSERT_EQ(firstDifference(directCalls(recording), unchangedCalls), "");
  std::vector<std::string> alteredCalls;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(altered, recording.outputDir, alteredCalls));
  const std::string difference = firstDifference(directCalls(recording), alteredCalls);
  EXPECT_NE(difference.find("priority=" + changed), std::string::npos) << difference;
}

TEST(FaultDetection, SwappedBlobsMakeTheCallsDiffer) {
  ScratchDir scratch("blob_swap");
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
  ScratchDir scratch("binaries");
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "binaries", recording));
  std::vector<std::string> calls;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(recording.program(), recording.outputDir, calls));
  std::string expected;
  for (std::size_t i = 0; i < echo::kContextBinarySize; ++i) expected += char(echo::binaryByte(i));
  EXPECT_EQ(readFile(recording.outputDir / "context_0.bin"), expected);
}

std::vector<std::string> directCallsOf(const ScratchDir& scratch, const std::string& scenario) {
  const fs::path direct = scratch.sub("direct_" + scenario);
  const CommandResult ran = runScenarioIn(tools(), direct, tools().echoLibrary, scenario);
  EXPECT_EQ(ran.exitCode, 0) << ran.output;
  return recordedCalls(readLines(direct / kEchoLogName));
}

// Each program of a switched recording compiles, replays the calls recorded
// into it and reads exactly the blobs of its own data file.
TEST(RecordingFiles, ASwitchLeavesTwoWholeProgramsEachWithItsOwnData) {
  ScratchDir scratch("switched");
  Recording recording;
  ASSERT_NO_FATAL_FAILURE(runBothWays(scratch, "switched", recording));
  const std::vector<std::string> expected = directCallsOf(scratch, "data-and-binaries");
  for (const char* stem : {"scribe_output", "second"}) {
    const fs::path program = recording.outputDir / (std::string(stem) + ".c");
    const fs::path data = recording.outputDir / (stem == std::string("second") ? "second.bin" : "params.bin");
    EXPECT_EQ(bytesReadBack(readLines(program)), readFile(data).size()) << stem;
    std::vector<std::string> calls;
    ASSERT_NO_FATAL_FAILURE(replayWithEcho(program, recording.outputDir, calls));
    EXPECT_EQ(firstDifference(expected, calls), "") << stem;
  }
}

// A later run continues the files of an earlier one: the earlier text and
// blobs stay as they were, the later blocks and blobs follow, and the whole
// replays both runs.
TEST(RecordingFiles, ALaterRunContinuesTheProgramAndItsData) {
  ScratchDir scratch("continued");
  const fs::path dir = scratch.sub("recorded");
  const fs::path output = dir / "scribe_output";
  CommandResult ran = runScenarioIn(tools(), dir, tools().scribeLibrary, "data-path", {"--without-footer"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::string firstProgram = readFile(output / "scribe_output.c");
  const std::string firstData = readFile(output / "params.bin");
  ran = runScenarioIn(tools(), dir, tools().scribeLibrary, "binaries", {"--continue"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  const std::string program = readFile(output / "scribe_output.c");
  EXPECT_EQ(program.compare(0, firstProgram.size(), firstProgram), 0);
  EXPECT_EQ(program.find("#include", firstProgram.size()), std::string::npos) << "a second header";
  EXPECT_EQ(readFile(output / "params.bin").compare(0, firstData.size(), firstData), 0);
  EXPECT_EQ(bytesReadBack(readLines(output / "scribe_output.c")), readFile(output / "params.bin").size());

  std::vector<std::string> replayed;
  ASSERT_NO_FATAL_FAILURE(replayWithEcho(output / "scribe_output.c", output, replayed));
  EXPECT_EQ(firstDifference(directCallsOf(scratch, "data-and-binaries"), replayed), "");
}

}  // namespace
}  // namespace zeb::e2e
