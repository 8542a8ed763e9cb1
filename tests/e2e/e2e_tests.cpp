// Each scenario's replayed program must make the calls of a direct run with the echo
// backend. ZEB_E2E_SEEDS "FIRST:COUNT" or "SEED" replaces seeds 1 to 24 of the random
// scenarios, ZEB_E2E_NAME_SEEDS seeds 1 to 4 of the clients named from the recorder's
// words; ZEB_UPDATE_GOLDEN rewrites tests/golden/ (scripts/update_golden.sh).
#include <sstream>

#include "echo_backend.h"
#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

struct Recording : ScratchDir, ScenarioRun {
  explicit Recording(const std::string& scenario) : ScenarioRun(path(), scenario) {}
  fs::path program() const { return output / "scribe_output.c"; }
  fs::path data() const { return output / "params.bin"; }
  std::vector<std::string> replayed() const { return replayWithEcho(program(), output); }
};

constexpr const char* kFiles[] = {"scribe_output.c", "params.bin"};

// Both files of dir equal those of expected (each name followed by suffix there).
void expectSameFiles(const fs::path& expected, const fs::path& dir, const std::string& suffix = "") {
  for (const std::string name : kFiles) {
    ASSERT_TRUE(fs::exists(dir / name)) << dir / name;
    ASSERT_TRUE(fs::exists(expected / (name + suffix))) << expected / (name + suffix) << " is missing"
                                                        << (suffix.empty() ? "" : ": run scripts/update_golden.sh");
    EXPECT_EQ(firstDifference(readLines(expected / (name + suffix)), readLines(dir / name)), "") << dir / name;
    EXPECT_EQ(readFile(expected / (name + suffix)), readFile(dir / name)) << dir / name << ": same lines, different bytes";
  }
}

// These four goldens hold the frame and all-families-no-queries's calls too.
const std::set<std::string> kGolden = {"all-families", "graphs", "data-path", "binaries"};

void expectGolden(const Recording& recording, const std::string& scenario) {
  const fs::path golden = fs::path(ZEB_E2E_GOLDEN_DIR) / scenario;
  for (const std::string name : kFiles)
    if (std::getenv("ZEB_UPDATE_GOLDEN") != nullptr && fs::exists(recording.output / name))
      fs::create_directories(golden),
          fs::copy_file(recording.output / name, golden / (name + ".golden"), fs::copy_options::overwrite_existing);
  expectSameFiles(golden, recording.output, ".golden");
}

// Replayed against ZebScribe, the program records the same files again.
void expectRoundTrip(const Recording& recording) {
  const fs::path dir = sub(recording, "round_trip");
  fs::copy_file(recording.data(), dir / "params.bin");
  ASSERT_TRUE(succeeded(compileAndRun(recording.program(), dir / "replay", tool("SCRIBE_LINK"))));
  expectSameFiles(recording.output, dir / "scribe_output");
}

// The program saves the binary the backend hands it.
void expectSavedBinary(const Recording& recording) {
  std::string expected;
  for (std::size_t i = 0; i < echo::kContextBinarySize; ++i) expected += char(echo::binaryByte(i));
  EXPECT_EQ(readFile(recording.output / "context_0.bin"), expected);
}

// The comparison must be able to fail: the first two blobs swapped must show.
void expectSwappedBlobsToShow(const Recording& recording) {
  std::vector<uint64_t> sizes;
  for (const std::string& line : readLines(recording.program()))
    if (line.find("fread(") != std::string::npos) sizes.push_back(bytesReadBack({line}));
  ASSERT_GE(sizes.size(), 2u);
  const std::string data = readFile(recording.data());
  std::ofstream(recording.data(), std::ios::binary)
      << data.substr(sizes[0], sizes[1]) + data.substr(0, sizes[0]) + data.substr(sizes[0] + sizes[1]);
  const std::string difference = firstDifference(recording.calls, recording.replayed());
  EXPECT_NE(difference.find("tensorCreateContextTensor"), std::string::npos) << difference;
}

// The variable each line of a program declares, as `{type} {name}...`.
std::set<std::string> declaredNames(const std::vector<std::string>& program) {
  std::set<std::string> names;
  for (const std::string& line : program) {
    const std::string head = line.substr(0, line.find_first_of("=[;("));
    if (head.size() == line.size() || line.rfind("   ", 0) != 0 || line.rfind("    ", 0) == 0) continue;
    const std::size_t space = head.find_last_not_of(' ');
    const std::size_t start = head.find_last_of(" *", space);
    if (space != std::string::npos && start != std::string::npos && start > 3)
      names.insert(head.substr(start + 1, space - start));
  }
  return names;
}

// Clients named like the recorder's variables: where a name would be declared twice the
// newcomer takes another; where none would, names stay as they are.
void expectNamesTaken(const Recording& recording) {
  const std::set<std::string> declared = declaredNames(readLines(recording.program()));
  for (std::size_t row = 0; row < collidingNames().size(); ++row) {
    std::istringstream names(collidingNames()[row].declares);
    for (std::string name; names >> name;) {
      const bool wanted = name[0] != '!';
      name.erase(0, wanted ? 0 : 1);
      for (std::size_t mark; (mark = name.find('@')) != std::string::npos;)
        name.replace(mark, 1, "context_" + std::to_string(row));
      EXPECT_EQ(declared.count(name), wanted ? 1u : 0u) << name << " in " << collidingNames()[row].steps;
    }
  }
}

// Last, as they may spoil the recording.
const std::map<std::string, void (*)(const Recording&)> kScenarioChecks = {
    {"binaries", expectSavedBinary}, {"data-path", expectSwappedBlobsToShow}, {"names-table", expectNamesTaken}};

class Scenarios : public testing::TestWithParam<std::string> {};

// A recording equals its goldens, if any; forwarding to the echo backend, ZebScribe records
// the same files and the echo backend receives the direct run's calls.
TEST_P(Scenarios, ReplayRepeatsTheDirectRun) {
  const std::string& scenario = GetParam();
  const Recording recording(scenario);
  const fs::path forwarded = sub(recording, "forwarded");
  ASSERT_TRUE(succeeded(runScenarioIn(forwarded, tool("SCRIBE_LIB"), scenario, {}, forwardingToEcho())));
  expectSameFiles(recording.output, forwarded / "scribe_output");
  EXPECT_EQ(firstDifference(readLines(recording.direct / kEchoLogName), readLines(forwarded / kEchoLogName)), "");
  if (kGolden.count(scenario) != 0) expectGolden(recording, scenario);
  EXPECT_EQ(firstDifference(recording.calls, recording.replayed()), "");
  if (scenarioRoundTrips(scenario)) expectRoundTrip(recording);
  if (kScenarioChecks.count(scenario) != 0) kScenarioChecks.at(scenario)(recording);
}

std::vector<std::string> namedScenarioNames() {
  std::vector<std::string> names;
  for (const Scenario& scenario : namedScenarios()) names.push_back(scenario.name);
  return names;
}

std::vector<std::string> clientNameScenarios() {
  std::vector<std::string> names = seededNames("ZEB_E2E_NAME_SEEDS", "random-names", 4);
  names.insert(names.begin(), "names-table");
  return names;
}

const auto kTestName = [](const testing::TestParamInfo<std::string>& info) { return asTestName(info.param); };
INSTANTIATE_TEST_SUITE_P(Named, Scenarios, testing::ValuesIn(namedScenarioNames()), kTestName);
INSTANTIATE_TEST_SUITE_P(Random, Scenarios, testing::ValuesIn(seededNames("ZEB_E2E_SEEDS", "random", 24)), kTestName);
INSTANTIATE_TEST_SUITE_P(ClientNames, Scenarios, testing::ValuesIn(clientNameScenarios()), kTestName);

// A later run continues the earlier files unchanged; the whole replays both runs.
TEST(RecordingFiles, ALaterRunContinuesTheProgramAndItsData) {
  ScratchDir scratch;
  const fs::path dir = sub(scratch, "recorded"), output = dir / "scribe_output";
  ASSERT_TRUE(succeeded(runScenarioIn(dir, tool("SCRIBE_LIB"), "data-path", {"--without-footer"})));
  const std::string firstProgram = readFile(output / "scribe_output.c"), firstData = readFile(output / "params.bin");
  ASSERT_TRUE(succeeded(runScenarioIn(dir, tool("SCRIBE_LIB"), "binaries", {"--continue"})));
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
