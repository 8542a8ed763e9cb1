// Clients named like the recorder's own variables: the written program must
// compile and replay the direct run. The table of colliding names, and random
// clients named from the recorder's words (ZEB_E2E_NAME_SEEDS "FIRST:COUNT"
// replaces seeds 1 to 4; the seed is in the test's name).
#include <sstream>

#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

// The program it recorded.
std::vector<std::string> expectReplaysTheDirectRun(const std::string& scenario) {
  const ScratchDir scratch;
  const ScenarioRun run(scratch.path(), scenario);
  EXPECT_EQ(firstDifference(run.calls, replayWithEcho(run.output / "scribe_output.c", run.output)), "");
  return readLines(run.output / "scribe_output.c");
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

// Where a name would be declared twice the newcomer takes another; where none
// would, names stay as they are.
TEST(ClientNames, NamesThatMeetTheRecordersTakeOthersThenCompileAndReplay) {
  const std::set<std::string> declared = declaredNames(expectReplaysTheDirectRun("names-table"));
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

class RandomClientNames : public testing::TestWithParam<std::string> {};
TEST_P(RandomClientNames, CompileAndReplay) { expectReplaysTheDirectRun(GetParam()); }
INSTANTIATE_TEST_SUITE_P(Seeds, RandomClientNames,
                         testing::ValuesIn(seededNames("ZEB_E2E_NAME_SEEDS", "random-names", 4)),
                         [](const testing::TestParamInfo<std::string>& info) { return asTestName(info.param); });

}  // namespace
}  // namespace zeb::e2e
