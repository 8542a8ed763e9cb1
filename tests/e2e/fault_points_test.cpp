// Every operation on the output files failed once, one run each: the call that
// meets the fault answers its error, the files keep whole blocks and exactly
// the blobs they read, and the written program replays what the direct run
// does when the same calls fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "observed_api.h"
#include "replay_harness.h"

namespace zeb::e2e {
namespace {

// The scenario against ZebScribe linked in, the fault-th output-file operation
// failing; what every call answered, and how many operations there were.
CallCodes runFaulted(const fs::path& dir, const std::string& scenario, unsigned long fault,
                     unsigned long* operations = nullptr) {
  const fs::path outcomes = dir / "codes.txt";
  const CommandResult result =
      runIn(dir, run("", {ZEB_E2E_FAULT_RUNNER, scenario, std::to_string(fault), outcomes.string()}));
  EXPECT_EQ(result.exitCode, 0) << result.output;
  if (operations) *operations = std::stoul(result.output.substr(result.output.find('\n') + 1));
  return readCallCodes(outcomes.string());
}

void checkFault(const fs::path& dir, const std::string& scenario, const CallCodes& clean, unsigned long fault) {
  const CallCodes faulted = runFaulted(dir, scenario, fault);
  // The calls the fault kept out of the recording, each answering an error.
  CallCodes lost;
  bool reported = false, deliversLost = false;
  for (const auto& [number, outcome] : faulted) {
    reported |= clean.at(number).code != outcome.code;
    if (!clean.at(number).recorded || outcome.recorded) continue;
    lost[number] = outcome;
    deliversLost |= deliversWhenLost(outcome.name);
    EXPECT_NE(outcome.code, clean.at(number).code) << "call " << number << " lost silently";
  }
  EXPECT_TRUE(reported) << "no call reported the fault";

  // The direct run, with the calls that the recording lost failing alike.
  const fs::path direct = dir / "direct";
  fs::create_directories(direct);
  ASSERT_TRUE(writeCallCodes((dir / "skipped.txt").string(), lost));
  const CommandResult ran =
      runScenarioIn(direct, tool("ECHO_LIB"), scenario, {"--skip", (dir / "skipped.txt").string()});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const auto expected = recordedCalls(readLines(direct / kEchoLogName));

  const fs::path output = dir / "scribe_output";
  const auto program = readLines(output / "scribe_output.c");
  if (program.empty() || program[0].rfind("//", 0) != 0) {
    EXPECT_TRUE(expected.empty());  // no header: the recording never started
    return;
  }
  EXPECT_EQ(bytesReadBack(program), readFile(output / "params.bin").size());
  const CommandResult compiled = compileProgram(output / "scribe_output.c", output / "replay", tool("ECHO_LINK"));
  ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
  const CommandResult replayed = runProgramIn(output, output / "replay");
  if (deliversLost) return;
  EXPECT_EQ(firstDifference(expected, readLines(output / kEchoLogName)), "") << replayed.output;
}

class FaultPoints : public testing::TestWithParam<std::string> {};

TEST_P(FaultPoints, EachFailedOperationLeavesARecordingOfTheCallsThatSucceeded) {
  ScratchDir scratch;
  unsigned long operations = 0;
  const CallCodes clean = runFaulted(sub(scratch, "clean"), GetParam(), 0, &operations);
  ASSERT_GT(operations, 0u);
  for (unsigned long fault = 1; fault <= operations; ++fault) {
    SCOPED_TRACE("stream operation " + std::to_string(fault) + " of " + std::to_string(operations) + " failed");
    checkFault(sub(scratch, "fault_" + std::to_string(fault)), GetParam(), clean, fault);
  }
}

// data-path in every run; ZEB_E2E_FAULT_SCENARIOS (comma-separated names or
// random:SEED) for any others.
std::vector<std::string> faultScenarios() {
  std::vector<std::string> names{"data-path"};
  std::stringstream more(std::getenv("ZEB_E2E_FAULT_SCENARIOS") ? std::getenv("ZEB_E2E_FAULT_SCENARIOS") : "");
  for (std::string name; std::getline(more, name, ',');) names.push_back(name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultPoints, testing::ValuesIn(faultScenarios()),
                         [](const auto& info) { return asTestName(info.param); });

}  // namespace
}  // namespace zeb::e2e
