// The recorder's names: numbered per prefix, short ones composed in place and longer ones as
// strings, both counting on from where their prefix stands however many prefixes the table
// holds; and read backwards: the number a counter gave, the names a name is a part of, and
// where a node's name reaches names made another way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorder/name_counters.h"
#include "recorder/name_grammar.h"

namespace zeb::names {
namespace {

TEST(NameCounters, NumbersEachPrefixOnWhateverItsLength) {
  NameCounters names;
  const std::string longest(53, 'q');  // with "_" and ten digits, just fits in place
  const std::string longer(54, 'p');
  names.reserve("device", 4);
  names.reserve(longest, 4294967294u);
  names.reserve(longer, 4294967293u);
  EXPECT_EQ(names.next("device"), "device_5");
  EXPECT_EQ(names.next("context"), "context_0");
  EXPECT_EQ(names.next(longest), longest + "_4294967295");
  EXPECT_EQ(names.next(longer), longer + "_4294967294");
  EXPECT_EQ(names.next(longer), longer + "_4294967295");
  std::string numbered = "context";
  names.number(numbered);
  EXPECT_EQ(numbered, "context_1");
}

TEST(NameCounters, KeepsEveryPrefixsCountAsTheTableGrows) {
  NameCounters names;
  constexpr int kPrefixes = 5000;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < kPrefixes; i += 1 + pass) {
      std::string name = "context_0_graph_layer_" + std::to_string(i);
      names.number(name);
      ASSERT_EQ(name, "context_0_graph_layer_" + std::to_string(i) + "_" + std::to_string(pass));
    }
  }
  for (int i = 0; i < kPrefixes; ++i)
    EXPECT_EQ(names.handedOut("context_0_graph_layer_" + std::to_string(i)), 2 - i % 2u);
  EXPECT_EQ(names.handedOut("context_0_graph_layer_"), 0u);
}

TEST(NameGrammar, NumbersAreReadAsTheCountersWriteThem) {
  for (const auto& [name, prefix, number] : std::vector<std::tuple<std::string, std::string, uint32_t>>{
           {"c_g_x_0", "c_g_x", 0}, {"x_10", "x", 10}, {"_7", "", 7}, {"x_4294967295", "x", 4294967295u}}) {
    const auto numbered = splitNumber(name);
    ASSERT_TRUE(numbered) << name;
    EXPECT_EQ(numbered->prefix, prefix);
    EXPECT_EQ(numbered->number, number);
  }
  for (const char* name : {"x_01", "x_4294967296", "x0", "x_", "12", ""}) EXPECT_FALSE(splitNumber(name)) << name;
}

std::vector<std::string> basesOf(const std::string& name) {
  std::vector<std::string> bases;
  forEachBaseOf(name, [&](std::string_view base, Claim claim) {
    bases.push_back(std::string(base) + ":" + std::to_string(int(claim.part)) + ":" + std::to_string(claim.index));
  });
  return bases;
}

// Parts: 0 whole, 1 tensorPart, 2 opPart, 3 param, 4 input, 5 output, 6 array.
TEST(NameGrammar, APartNamesTheNamesItBelongsTo) {
  EXPECT_EQ(basesOf("x_0_input_2_dims"), (std::vector<std::string>{"x_0_input_2_dims:0:0", "x_0_input_2:1:0", "x_0:4:2"}));
  EXPECT_EQ(basesOf("x_0_param_1_tensor_v1"), (std::vector<std::string>{"x_0_param_1_tensor_v1:0:0",
            "x_0_param_1_tensor:1:0", "x_0:3:1", "x_0_param_1_tensor:2:0"}));
  EXPECT_EQ(basesOf("x_3_output_0"), (std::vector<std::string>{"x_3_output_0:0:0", "x_3:5:0"}));
  EXPECT_EQ(basesOf("c_enableGraphs_3_array"), (std::vector<std::string>{"c_enableGraphs_3_array:0:0", "c_enableGraphs_3:6:0"}));
  EXPECT_EQ(basesOf("layer_1"), (std::vector<std::string>{"layer_1:0:0"}));
}

// The first look rules out only prefixes in which the full reading finds nothing.
TEST(NameGrammar, ANodesPrefixReachesTheNamesItEndsLike) {
  using Kind = Reach::Kind;
  EXPECT_EQ(reachOf("c_g_tensor").kind, Kind::graphTensor);
  EXPECT_EQ(reachOf("c_g_outputTensors").owner, "c_g");
  EXPECT_EQ(reachOf("c_g_inputTensor_3").execution, 3u);
  EXPECT_EQ(reachOf("c_g_x_0_output").part, ClaimedPart::output);
  const char* const words[] = {"tensor", "inputTensor", "outputTensors", "Tensors", "param", "input", "output",
                               "conv1", "x", "0", "12", "01", "r"};
  int reaching = 0;
  for (const char* first : words)
    for (const char* second : words)
      for (const char* third : words) {
        const std::string prefix = std::string("context_0_g_") + first + "_" + second + "_" + third;
        if (reachOf(prefix).kind == Kind::none) continue;
        ++reaching;
        EXPECT_TRUE(mayReach(prefix)) << prefix;
      }
  EXPECT_GT(reaching, 100);
}

}  // namespace
}  // namespace zeb::names
