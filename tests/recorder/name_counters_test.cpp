// Names numbered per prefix: short names are composed in place, longer ones
// as strings, and both count on from where their prefix stands, however many
// prefixes the table has grown to hold.
#include <gtest/gtest.h>

#include <string>

#include "recorder/name_counters.h"

namespace zeb {
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

}  // namespace
}  // namespace zeb
