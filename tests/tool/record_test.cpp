// zebscribe record: an application that loads its backend by name records, unchanged, through
// ZebScribe put in its backend's place and forwarding to the echo backend.
#include "replay_harness.h"

namespace zeb::e2e {
namespace {

// The sample client loads the backend it is told by name, as an application loads its own.
TEST(Record, AnApplicationThatLoadsItsBackendByNameRecordsUnchanged) {
  ScratchDir scratch;
  const fs::path direct = sub(scratch, "direct"), recorded = sub(scratch, "recorded");
  ASSERT_EQ(runIn(direct, run(ZEB_SAMPLE_CLIENT, {tool("ECHO_LIB")})).exitCode, 0);
  const CommandResult ran = runIn(recorded, run(ZEB_TOOL, {"record", "--as", "libZebVendor.so", "--forward", tool("ECHO_LIB"),
                                                           "-o", "recording", "--", ZEB_SAMPLE_CLIENT, "libZebVendor.so"}));
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::vector<std::string> calls = readLines(direct / kEchoLogName);
  EXPECT_EQ(firstDifference(calls, readLines(recorded / kEchoLogName)), "");
  const fs::path output = recorded / "recording";
  const CommandResult checked = runIn(output, run(ZEB_TOOL, {"check", "."}));
  EXPECT_EQ(checked.exitCode, 0) << checked.output;
  EXPECT_EQ(firstDifference(recordedCalls(calls), replayWithEcho(output / "scribe_output.c", output)), "");
  // Without the name in its place the application finds no backend.
  EXPECT_NE(runIn(recorded, run(ZEB_TOOL, {"record", "--", ZEB_SAMPLE_CLIENT, "libZebVendor.so"})).exitCode, 0);
}

}  // namespace
}  // namespace zeb::e2e
