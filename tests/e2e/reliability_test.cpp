// Eight client threads at once, and recordings killed at random: each replayed
// thread repeats (the start of) its direct thread's calls, in order.
#include <random>

#include "recorder/model_frame.h"
#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

using ByThread = std::vector<std::vector<std::string>>;

std::string threaded(const char* kind, unsigned threads, unsigned rounds) {
  return std::string(kind) + ":" + std::to_string(threads) + ":" + std::to_string(rounds);
}

ByThread replayedCalls(const fs::path& output, unsigned threads) {
  return splitByThread(replayWithEcho(output / "scribe_output.c", output), threads);
}

// Each replayed thread repeats the start of its direct thread (all of it when whole).
void expectThreads(const ByThread& expected, const ByThread& replayed, bool whole) {
  ASSERT_EQ(replayed.size(), expected.size());
  for (std::size_t thread = 0; thread < expected.size(); ++thread) {
    const std::vector<std::string>& direct = expected[thread];
    const std::size_t length = whole ? direct.size() : replayed[thread].size();
    ASSERT_LE(length, direct.size()) << "thread " << thread;
    const std::vector<std::string> start(direct.begin(), direct.begin() + length);
    EXPECT_EQ(firstDifference(start, replayed[thread]), "") << "thread " << thread;
  }
}

TEST(ConcurrentClients, EachThreadsCallsReplayInThatThreadsOrder) {
  ScratchDir scratch;
  const unsigned rounds = setting("ZEB_E2E_THREAD_ROUNDS", 25);
  const ByThread expected = splitByThread(directCalls(sub(scratch, "direct"), threaded("serial", 8, rounds)), 8);
  const fs::path recorded = sub(scratch, "recorded");
  const CommandResult ran = runScenarioIn(recorded, tool("SCRIBE_LIB"), threaded("threads", 8, rounds));
  // A crash, a sanitizer's report or a call that did not answer 0 ends it otherwise.
  ASSERT_EQ(ran.exitCode, 0) << ran.output.substr(0, 8000);
  expectThreads(expected, replayedCalls(recorded / "scribe_output", 8), true);
  std::printf("concurrent calls recorded and replayed: 8 threads x %u rounds x 9 calls\n", rounds);
}

// Kills the command after it with SIGKILL $1 seconds after its model file got something.
constexpr char kKiller[] =
    R"(sh -c 'delay=$1; shift; "$@" & pid=$!; i=0;)"
    R"( while [ ! -s scribe_output/scribe_output.c ] && [ $i -lt 1000 ];)"
    R"( do sleep 0.01; i=$((i+1)); done;)"
    R"( sleep $delay; kill -KILL $pid; wait $pid' killer )";

// A kill may end a write early, leaving part of a block: zebscribe seal drops it,
// cuts the data file to what the whole blocks read and appends the footer.
void checkKilled(const fs::path& output, const ByThread& expected, unsigned& whole) {
  const std::string model = readFile(output / "scribe_output.c");
  whole += (model.size() > 3 && model.compare(model.size() - 3, 3, ";\n\n") == 0) ||
           model == modelHeader("params.bin");
  const CommandResult sealed = runIn(output, run(ZEB_E2E_TOOL, {"seal", "."}));
  ASSERT_EQ(sealed.exitCode, 0) << sealed.output;
  EXPECT_EQ(bytesReadBack(readLines(output / "scribe_output.c")), readFile(output / "params.bin").size());
  expectThreads(expected, replayedCalls(output, 2), false);
}

// Far more rounds than threads make before a busy machine's shell delivers the kill.
constexpr unsigned kKilledRounds = 3000;

TEST(KilledRecordings, EndWithAWholeBlockAndReplayTheCallsMadeBeforeTheKill) {
  if (!tool("RUNNER_PREFIX").empty()) GTEST_SKIP() << "kills a native runner only";
  ScratchDir scratch;
  const ByThread expected =
      splitByThread(directCalls(sub(scratch, "direct"), threaded("serial", 2, kKilledRounds)), 2);
  const unsigned runs = setting("ZEB_E2E_KILL_RUNS", 30), seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> milliseconds(0, 10);
  unsigned killed = 0, whole = 0;
  for (unsigned number = 0; number < runs; ++number) {
    SCOPED_TRACE("run " + std::to_string(number) + " of seed " + std::to_string(seed));
    const std::string killer = kKiller + std::to_string(milliseconds(random) / 1000.0);
    const fs::path dir = sub(scratch, "run_" + std::to_string(number));
    if (runIn(dir, run(killer, {tool("RUNNER"), tool("SCRIBE_LIB"), threaded("threads", 2, kKilledRounds)})).exitCode != 137)
      continue;
    ++killed;
    ASSERT_NO_FATAL_FAILURE(checkKilled(dir / "scribe_output", expected, whole));
  }
  EXPECT_EQ(killed, runs) << "runs that ended before their kill";
  std::printf("killed recordings: %u of %u; ending with a whole block: %u; all replay\n", killed, runs, whole);
}

}  // namespace
}  // namespace zeb::e2e
