// A fault's call answers its error, the files keep whole blocks and exactly the
// blobs they read, and the program replays a direct run where the same calls fail.
#include <sstream>

#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

struct FaultedRun {
  CallCodes codes;
  unsigned long operations = 0;
  std::string kinds;  // as fault_runner.cpp prints them
  unsigned switchAnswer = 0;
};

FaultedRun runFaulted(const fs::path& dir, const std::string& scenario, const std::string& fault) {
  const fs::path outcomes = dir / "codes.txt";
  const CommandResult result = runIn(dir, run("", {ZEB_E2E_FAULT_RUNNER, scenario, fault, outcomes.string()}));
  EXPECT_EQ(result.exitCode, 0) << result.output;
  FaultedRun into;
  into.codes = readCallCodes(outcomes.string());
  std::istringstream(result.output.substr(result.output.find('\n') + 1)) >> into.operations >> into.kinds >>
      into.switchAnswer;
  return into;
}

void checkFault(const fs::path& dir, const std::string& scenario, const FaultedRun& clean, const std::string& fault) {
  const FaultedRun faulted = runFaulted(dir, scenario, fault);
  CallCodes lost;  // kept out of the recording by the fault
  bool answersDiffer = faulted.switchAnswer != clean.switchAnswer, deliversLost = false;
  for (const auto& [number, outcome] : faulted.codes) {
    answersDiffer |= clean.codes.at(number).code != outcome.code;
    if (!clean.codes.at(number).recorded || outcome.recorded) continue;
    lost[number] = outcome;
    deliversLost |= deliversWhenLost(outcome.name);
    EXPECT_NE(outcome.code, clean.codes.at(number).code) << "call " << number << " lost silently";
  }
  EXPECT_TRUE(answersDiffer) << "no call reported the fault";
  ASSERT_TRUE(writeCallCodes((dir / "skipped.txt").string(), lost));
  fs::create_directories(dir / "direct");
  const auto expected = directCalls(dir / "direct", scenario, {"--skip", (dir / "skipped.txt").string()});
  const fs::path output = dir / "scribe_output";
  std::vector<std::size_t> ends;  // of each program's calls in the echo log
  for (const std::string name : {"scribe_output", "second"}) {
    const auto program = readLines(output / (name + ".c"));
    if (program.empty() || program[0].rfind("//", 0) != 0) continue;
    EXPECT_EQ(bytesReadBack(program), readFile(output / (name == "second" ? "second.bin" : "params.bin")).size()) << name;
    const CommandResult compiled = compileProgram(output / (name + ".c"), output / name, tool("ECHO_LINK"));
    ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
    runProgramIn(output, output / name);  // a program whose data file never opened stops at once
    ends.push_back(readLines(output / kEchoLogName).size());
  }
  if (deliversLost) return;
  // Each program's process numbers its handles from 1.
  const auto replayed = readLines(output / kEchoLogName);
  EXPECT_EQ(expected.size(), replayed.size());
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    if (end > expected.size()) break;
    const auto part = [&](const std::vector<std::string>& lines) {
      return numberedAfresh({lines.begin() + begin, lines.begin() + end});
    };
    EXPECT_EQ(firstDifference(part(expected), part(replayed)), "");
    begin = end;
  }
}

class FaultPoints : public testing::TestWithParam<std::string> {};

// Each stream operation failing in turn; real faults: a file-size limit in the first block and
// blob, and an unwritable directory at the first call.
TEST_P(FaultPoints, EachFailedOperationLeavesARecordingOfTheCallsThatSucceeded) {
  ScratchDir scratch;
  const FaultedRun clean = runFaulted(sub(scratch, "clean"), GetParam(), "0");
  ASSERT_GT(clean.operations, 0u);
  std::vector<std::string> faults{"directory:1"};
  for (const char kind : {'m', 'd'})
    if (clean.kinds.find(kind) != std::string::npos) faults.push_back("fsize:" + std::to_string(clean.kinds.find(kind) + 1));
  for (unsigned long fault = 1; fault <= clean.operations; ++fault) faults.push_back(std::to_string(fault));
  for (const std::string& fault : faults) {
    SCOPED_TRACE("fault " + fault + " of " + std::to_string(clean.operations) + " stream operations");
    checkFault(sub(scratch, "fault_" + asTestName(fault)), GetParam(), clean, fault);
  }
}

// data-path always; ZEB_E2E_FAULT_SCENARIOS adds comma-separated names.
std::vector<std::string> faultScenarios() {
  std::vector<std::string> names{"data-path"};
  std::stringstream list(std::getenv("ZEB_E2E_FAULT_SCENARIOS") ? std::getenv("ZEB_E2E_FAULT_SCENARIOS") : "");
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultPoints, testing::ValuesIn(faultScenarios()),
                         [](const auto& info) { return asTestName(info.param); });

}  // namespace
}  // namespace zeb::e2e
