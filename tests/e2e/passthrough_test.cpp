// Pass-through: ZebScribe records each call and makes it again on the echo backend, whose
// answers the client receives. A client that acts on them runs alike directly and through
// ZebScribe, whose recording replays the same calls; the echo backend's failures and
// messages reach it unchanged; a start that cannot be made says why.
#include <algorithm>
#include <set>

#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

struct FeedbackRun {
  fs::path dir;
  std::vector<std::string> calls;  // the echo backend's log
  std::vector<std::string> notes;  // what the client observed
};

FeedbackRun runFeedback(const ScratchDir& scratch, const std::string& name, const std::string& library,
                        const std::string& environment) {
  const fs::path dir = sub(scratch, name);
  EXPECT_TRUE(succeeded(runScenarioIn(dir, library, "feedback", {}, environment)));
  return {dir, readLines(dir / kEchoLogName), readLines(dir / kFeedbackNotes)};
}

std::size_t count(const std::vector<std::string>& lines, const std::string& start) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

// The replayed program stops at the first call that fails, as VALIDATE does.
std::vector<std::string> untilFailure(std::vector<std::string> calls) {
  const auto failed = std::find_if(calls.begin(), calls.end(),
                                   [](const std::string& line) { return line.find(" failed=") != std::string::npos; });
  if (failed != calls.end()) calls.erase(failed + 1, calls.end());
  return calls;
}

struct EchoMood {
  const char* name;
  const char* failing;  // ZEB_ECHO_FAIL, or empty
  std::vector<std::pair<std::string, std::size_t>> notes;  // notes that start so, and how many
};

// Answering every call, and failing graphCreate and graphExecute: the client tries graphCreate
// again, which the failed graph's name must not refuse, and then takes the graph by its name,
// which must not find it; each message, sent while the backend works on the call, is answered
// from another thread, which ZebScribe must not hold up meanwhile.
TEST(PassThrough, AClientActingOnTheAnswersRunsAlikeDirectlyThroughZebScribeAndReplayed) {
  const EchoMood moods[] = {
      {"answers", "", {}},
      {"failure", "graphCreate:6999,graphExecute:6004",
       {{"message 1 echo backend: graphCreate fails with 6999, as ZEB_ECHO_FAIL asks", 2}, {"graphCreate 6999", 2},
        {"message 1 echo backend: graphExecute fails with 6004, as ZEB_ECHO_FAIL asks", 4}, {"graphExecute 6004 ", 4},
        {"answered from another thread 0 ", 6}, {"graphRetrieve 0", 2}}}};
  for (const EchoMood& mood : moods) {
    SCOPED_TRACE(mood.name);
    ScratchDir scratch;
    const std::string echo = *mood.failing ? assignment("ZEB_ECHO_FAIL", mood.failing) : "";
    const FeedbackRun direct = runFeedback(scratch, "direct", tool("ECHO_LIB"), echo);
    const FeedbackRun forwarded = runFeedback(scratch, "forwarded", tool("SCRIBE_LIB"), echo + forwardingToEcho());
    EXPECT_EQ(firstDifference(direct.calls, forwarded.calls), "");
    EXPECT_EQ(firstDifference(direct.notes, forwarded.notes), "");
    // The client saw real answers: a capability offered and one not, outputs that changed
    // every round, the binary handed out.
    for (const char* seen : {"propertyHasCapability 0", "propertyHasCapability 1000", "operation 0 echo.ops Conv2d",
                             "contextGetBinary 0 64", "backendGetBuildId 0 echo-1.0.0", "graphExecuteAsync 0 0",
                             "signalFree 0", "memDeRegister 0"})
      EXPECT_EQ(count(forwarded.notes, seen), 1u) << seen;
    std::set<std::string> outputs;
    for (const std::string& note : forwarded.notes)
      if (note.rfind("graphExecute ", 0) == 0) outputs.insert(note);
    EXPECT_EQ(outputs.size(), *mood.failing ? 1u : 4u);
    for (const auto& [start, times] : mood.notes) EXPECT_EQ(count(forwarded.notes, start), times) << start;

    const fs::path output = forwarded.dir / "scribe_output";
    const CommandResult replayed =
        compileAndRun(output / "scribe_output.c", output / "replay", tool("ECHO_LINK"), echo + tool("REPLAY_PREFIX"));
    EXPECT_EQ(replayed.exitCode != 0, *mood.failing != '\0') << replayed.output;
    EXPECT_EQ(firstDifference(untilFailure(recordedCalls(direct.calls)), readLines(output / kEchoLogName)), "");
  }
}

// A start that cannot be made answers 4000 and says why on standard error (no logger exists),
// leaving no file behind.
TEST(PassThrough, AnUnusableForwardTargetOrEnvironmentValueFailsTheStartAndSaysWhy) {
  ScratchDir scratch;
  const std::string missing = (scratch.path() / "missing" / "libNothing.so").string();
  const std::string cannotLoad = "ZebScribe: Cannot load the backend to forward to, ";
  // The system's reason: dlerror's, or Windows' message with its number.
  const std::string notFound = tool("EXE_SUFFIX") == ".exe" ? " (error 126)" : ": No such file or directory";
  const std::pair<std::string, std::string> rows[] = {
      {assignment("ZEBSCRIBE_FORWARD", missing), cannotLoad + missing + ": "},
      {assignment("ZEBSCRIBE_FORWARD", missing), notFound},
      {assignment("ZEBSCRIBE_FORWARD", tool("SCRIBE_LIB")), cannotLoad + tool("SCRIBE_LIB") + ": it is ZebScribe itself"},
      {assignment("ZEBSCRIBE_HEADER", "maybe"), "ZebScribe: ZEBSCRIBE_HEADER=\"maybe\" cannot be used: it must be 0 or 1"}};
  for (const auto& [environment, message] : rows) {
    const fs::path dir = sub(scratch, "run");
    const CommandResult ran = runScenarioIn(dir, tool("SCRIBE_LIB"), "frame-only", {}, environment);
    EXPECT_EQ(ran.exitCode, 0) << ran.output;
    EXPECT_NE(ran.output.find(message), std::string::npos) << ran.output;
    EXPECT_FALSE(fs::exists(dir / "scribe_output")) << environment;
    fs::remove_all(dir);
  }
}

}  // namespace
}  // namespace zeb::e2e
