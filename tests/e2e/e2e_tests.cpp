// Each scenario's replayed program must make the calls of a direct run with the
// echo backend. ZEB_E2E_SEEDS "FIRST:COUNT" or "SEED" replaces seeds 1 to 24;
// ZEB_UPDATE_GOLDEN rewrites tests/golden/ (scripts/update_golden.sh).
#include "echo_backend.h"
#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

struct Recording : ScratchDir, ScenarioRun {
  explicit Recording(const std::string& scenario) : ScenarioRun(path(), scenario) {}
  fs::path program() const { return output / "scribe_output.c"; }
  fs::path data() const { return output / "params.bin"; }
};

void expectSameFile(const fs::path& expected, const fs::path& actual) {
  ASSERT_TRUE(fs::exists(actual)) << actual;
  EXPECT_EQ(firstDifference(readLines(expected), readLines(actual)), "") << actual;
  EXPECT_EQ(readFile(expected), readFile(actual)) << actual << ": same lines, different bytes";
}

// These four goldens hold the frame and all-families-no-queries's calls too.
const std::set<std::string> kGolden = {"all-families", "graphs", "data-path", "binaries"};

std::vector<std::string> namedScenarioNames() {
  std::vector<std::string> names;
  for (const Scenario& scenario : namedScenarios()) names.push_back(scenario.name);
  return names;
}

const auto kTestName = [](const testing::TestParamInfo<std::string>& info) { return asTestName(info.param); };

class Scenarios : public testing::TestWithParam<std::string> {};

// A recording equals its goldens, if any (ZEB_UPDATE_GOLDEN replaces them); forwarding to
// the echo backend, ZebScribe records the same files and the echo backend receives the
// direct run's calls; where the scenario round-trips, a replay against ZebScribe records
// the same files again.
TEST_P(Scenarios, ReplayRepeatsTheDirectRun) {
  const Recording recording(GetParam());
  const fs::path forwarded = sub(recording, "forwarded");
  const CommandResult ran = runScenarioIn(forwarded, tool("SCRIBE_LIB"), GetParam(), {}, forwardingToEcho());
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  expectSameFile(recording.program(), forwarded / "scribe_output" / "scribe_output.c");
  expectSameFile(recording.data(), forwarded / "scribe_output" / "params.bin");
  const std::vector<std::string> directLog = readLines(recording.direct / kEchoLogName);
  EXPECT_EQ(firstDifference(directLog, readLines(forwarded / kEchoLogName)), "");
  const fs::path golden = fs::path(ZEB_E2E_GOLDEN_DIR) / GetParam();
  for (const fs::path& file : {recording.program(), recording.data()}) {
    if (kGolden.count(GetParam()) == 0) break;
    const fs::path goldenFile = golden / (file.filename().string() + ".golden");
    if (std::getenv("ZEB_UPDATE_GOLDEN") != nullptr && fs::exists(file))
      fs::create_directories(golden), fs::copy_file(file, goldenFile, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(fs::exists(goldenFile)) << goldenFile << " is missing: run scripts/update_golden.sh";
    expectSameFile(goldenFile, file);
  }
  EXPECT_EQ(firstDifference(recording.calls, replayWithEcho(recording.program(), recording.output)), "");
  if (GetParam() == "binaries") {  // the program saves the binary the backend hands it
    std::string expected;
    for (std::size_t i = 0; i < echo::kContextBinarySize; ++i) expected += char(echo::binaryByte(i));
    EXPECT_EQ(readFile(recording.output / "context_0.bin"), expected);
  }
  if (!scenarioRoundTrips(GetParam())) return;
  const fs::path dir = sub(recording, "round_trip");
  fs::copy_file(recording.data(), dir / "params.bin");
  const CommandResult compiled = compileProgram(recording.program(), dir / "replay", tool("SCRIBE_LINK"));
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const CommandResult replayed = runProgramIn(dir, dir / "replay");
  ASSERT_EQ(replayed.exitCode, 0) << replayed.output;
  expectSameFile(recording.program(), dir / "scribe_output" / "scribe_output.c");
  expectSameFile(recording.data(), dir / "scribe_output" / "params.bin");
}

INSTANTIATE_TEST_SUITE_P(Named, Scenarios, testing::ValuesIn(namedScenarioNames()), kTestName);
const auto kSeeds = seededNames("ZEB_E2E_SEEDS", "random", 24);
INSTANTIATE_TEST_SUITE_P(Random, Scenarios, testing::ValuesIn(kSeeds), kTestName);

// The comparison must be able to fail: the first two blobs swapped must show.
TEST(FaultDetection, SwappedBlobsMakeTheCallsDiffer) {
  const Recording recording("data-path");
  std::vector<uint64_t> sizes;
  for (const std::string& line : readLines(recording.program()))
    if (line.find("fread(") != std::string::npos) sizes.push_back(bytesReadBack({line}));
  ASSERT_GE(sizes.size(), 2u);
  const std::string data = readFile(recording.data());
  std::ofstream(recording.data(), std::ios::binary)
      << data.substr(sizes[0], sizes[1]) + data.substr(0, sizes[0]) + data.substr(sizes[0] + sizes[1]);
  const std::string difference = firstDifference(recording.calls, replayWithEcho(recording.program(), recording.output));
  EXPECT_NE(difference.find("tensorCreateContextTensor"), std::string::npos) << difference;
}

// A later run continues the earlier files unchanged; the whole replays both runs.
TEST(RecordingFiles, ALaterRunContinuesTheProgramAndItsData) {
  ScratchDir scratch;
  const fs::path dir = sub(scratch, "recorded"), output = dir / "scribe_output";
  CommandResult ran = runScenarioIn(dir, tool("SCRIBE_LIB"), "data-path", {"--without-footer"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::string firstProgram = readFile(output / "scribe_output.c"), firstData = readFile(output / "params.bin");
  ran = runScenarioIn(dir, tool("SCRIBE_LIB"), "binaries", {"--continue"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::string program = readFile(output / "scribe_output.c");
  EXPECT_EQ(program.compare(0, firstProgram.size(), firstProgram), 0);
  EXPECT_EQ(program.find("#include", firstProgram.size()), std::string::npos) << "a second header";
  EXPECT_EQ(readFile(output / "params.bin").compare(0, firstData.size(), firstData), 0);
  EXPECT_EQ(bytesReadBack(readLines(output / "scribe_output.c")), readFile(output / "params.bin").size());
  EXPECT_EQ(firstDifference(directCalls(sub(scratch, "direct"), "data-and-binaries"),
                            replayWithEcho(output / "scribe_output.c", output)), "");
}

}  // namespace
}  // namespace zeb::e2e
