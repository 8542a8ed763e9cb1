#include "record/graph_names.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"

namespace zeb::record {
namespace {

TEST(MakeIdentifier, KeepsReplacesOrDropsEachCharacter) {
  const struct {
    const char* text;
    const char* identifier;
  } cases[] = {
      {"conv 1", "conv_1"}, {"a/b.c", "a_b_c"}, {"1st", "_1st"},
      {"x(y)", "xy"},       {"", ""},           {"a|b-c:d;e,f+g", "a_b_c_d_e_f_g"},
      {"9net", "_9net"},    {"Ünï", "n"},       {"(1)", "_1"},
  };
  for (const auto& c : cases) EXPECT_EQ(makeIdentifier(c.text), c.identifier) << c.text;
}

TEST(CreateGraph, NamesTheGraphInItsContextAndRefusesATakenIdentifier) {
  test::LogCapture log;
  ScribeContext first("context_0");
  ScribeContext second("context_1");

  const NewGraph created = createGraph(first, "a-b");
  ASSERT_EQ(created.refusal, 0u);
  EXPECT_NE(created.handle, 0u);
  EXPECT_EQ(created.graph->name, "context_0_a_b");
  EXPECT_EQ(created.graph->graphName, "a-b");
  EXPECT_EQ(first.findGraph(created.handle), created.graph);

  EXPECT_EQ(createGraph(first, "a.b").refusal, 6003u);
  EXPECT_EQ(log.texts(),
            std::vector<std::string>{"Graph with name a.b already exists within the context"});
  EXPECT_EQ(createGraph(second, "a-b").refusal, 0u);
}

}  // namespace
}  // namespace zeb::record
