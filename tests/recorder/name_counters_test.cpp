// Names numbered per prefix: short names are composed in place, longer ones
// as strings, and both count on from where their prefix stands.
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

}  // namespace
}  // namespace zeb
