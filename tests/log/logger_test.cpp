// The process-wide logger, and the line the default callback prints.
#include "log/logger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "log/default_format.h"

namespace zeb::log {
namespace {

std::vector<std::string> received;

template <char Name>
void named(const char* format, ZebLog_Level_t, uint64_t, va_list args) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  received.push_back(std::string(1, Name) + ":" + text);
}

// Every test starts and ends without a logger.
struct Logger : testing::Test {
  void SetUp() override { TearDown(), received.clear(); }
  void TearDown() override { while (release() == ZEB_SUCCESS) continue; }
  static Zeb_ErrorHandle_t make(ZebLog_Callback_t callback, int level) {
    Zeb_LogHandle_t handle = nullptr;
    return create(callback, static_cast<ZebLog_Level_t>(level), &handle);
  }
};

TEST_F(Logger, LevelsOneToFiveOnly) {
  EXPECT_EQ(make(named<'a'>, 0), 11003u);
  EXPECT_EQ(make(named<'a'>, 6), 11003u);
  EXPECT_EQ(setLevel(ZEB_LOG_LEVEL_ERROR), 11002u);  // no logger yet
  EXPECT_EQ(make(named<'a'>, 5), 0u);
  EXPECT_EQ(setLevel(static_cast<ZebLog_Level_t>(6)), 11003u);
  EXPECT_EQ(setLevel(ZEB_LOG_LEVEL_ERROR), 0u);
}

TEST_F(Logger, PassesMessagesUpToItsLevel) {
  ASSERT_EQ(make(named<'a'>, ZEB_LOG_LEVEL_ERROR), 0u);
  warning("dropped");
  error("passed %d", 1);
  ASSERT_EQ(setLevel(ZEB_LOG_LEVEL_WARN), 0u);
  warning("passed %s", "too");
  EXPECT_EQ(received, (std::vector<std::string>{"a:passed 1", "a:passed too"}));
}

TEST_F(Logger, NewestLoggerWinsAndEveryCreateNeedsItsOwnFree) {
  ASSERT_EQ(make(named<'a'>, ZEB_LOG_LEVEL_ERROR), 0u);
  ASSERT_EQ(make(named<'b'>, ZEB_LOG_LEVEL_ERROR), 0u);
  error("one");
  ASSERT_EQ(release(), 0u);
  error("two");
  ASSERT_EQ(release(), 0u);
  error("three");
  EXPECT_EQ(release(), 11002u);
  EXPECT_EQ(received, (std::vector<std::string>{"b:one", "b:two"}));
}

std::string defaultLine(ZebLog_Level_t level, uint64_t timestamp, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string line = formatDefaultLine(format, level, timestamp, args);
  va_end(args);
  return line;
}

TEST(DefaultCallback, MillisecondsAndTagThenTheMessage) {
  EXPECT_EQ(defaultLine(ZEB_LOG_LEVEL_ERROR, 1500000000, "x=%d", 7), "  1500.0ms [ ERROR ] x=7");
  const std::pair<int, const char*> tags[] = {{1, " ERROR "}, {2, "WARNING"}, {3, "  INFO "}, {4, "VERBOSE"}, {5, " DEBUG "}};
  for (const auto& [level, tag] : tags)
    EXPECT_EQ(defaultLine(static_cast<ZebLog_Level_t>(level), 0, "m"), "     0.0ms [" + std::string(tag) + "] m");
  const std::string longText(2000, 'y');
  EXPECT_EQ(defaultLine(ZEB_LOG_LEVEL_ERROR, 0, "%s", longText.c_str()).size(), 1023u);
}

}  // namespace
}  // namespace zeb::log
