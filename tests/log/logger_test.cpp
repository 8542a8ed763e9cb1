#include "log/logger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "log/default_format.h"

namespace zeb::log {
namespace {

struct Received {
  std::string callback;
  ZebLog_Level_t level;
  uint64_t timestamp;
  std::string text;
};

std::vector<Received>& received() {
  static std::vector<Received> messages;
  return messages;
}

void receive(const char* name, const char* format, ZebLog_Level_t level, uint64_t timestamp,
             va_list args) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  received().push_back({name, level, timestamp, text});
}

void first(const char* format, ZebLog_Level_t level, uint64_t timestamp, va_list args) {
  receive("first", format, level, timestamp, args);
}

void second(const char* format, ZebLog_Level_t level, uint64_t timestamp, va_list args) {
  receive("second", format, level, timestamp, args);
}

void releaseAll() {
  while (release() == ZEB_SUCCESS) {
  }
}

void logThrough(const Logger& logger, const char* format, ...) {
  va_list args;
  va_start(args, format);
  logger.log(kError, format, args);
  va_end(args);
}

// Every test starts and ends without a logger.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    releaseAll();
    received().clear();
  }
  void TearDown() override { releaseAll(); }

  static Zeb_ErrorHandle_t make(ZebLog_Callback_t callback, ZebLog_Level_t level) {
    Zeb_LogHandle_t handle = nullptr;
    return create(callback, level, &handle);
  }
};

TEST_F(LoggerTest, CreateRefusesLevelsOutsideOneToFive) {
  for (const auto level : {0, 6, -1, static_cast<int>(ZEB_LOG_LEVEL_UNDEFINED)}) {
    Zeb_LogHandle_t handle = nullptr;
    EXPECT_EQ(create(first, static_cast<ZebLog_Level_t>(level), &handle), 11003u) << level;
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(current(), nullptr);
  }
}

TEST_F(LoggerTest, CreateRefusesANullHandlePointer) {
  EXPECT_EQ(create(first, ZEB_LOG_LEVEL_ERROR, nullptr), 1004u);
  EXPECT_EQ(current(), nullptr);
  EXPECT_EQ(release(), 11002u);
}

TEST_F(LoggerTest, CreateGivesHandleOneAndEveryLevelWorks) {
  for (const auto level : {ZEB_LOG_LEVEL_ERROR, ZEB_LOG_LEVEL_WARN, ZEB_LOG_LEVEL_INFO,
                           ZEB_LOG_LEVEL_VERBOSE, ZEB_LOG_LEVEL_DEBUG}) {
    Zeb_LogHandle_t handle = nullptr;
    ASSERT_EQ(create(first, level, &handle), 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(handle), 1u);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->level(), level);
    EXPECT_EQ(release(), 0u);
  }
}

TEST_F(LoggerTest, NewestLoggerWinsAndLastFreeStopsLogging) {
  ASSERT_EQ(make(first, ZEB_LOG_LEVEL_ERROR), 0u);
  ASSERT_EQ(make(second, ZEB_LOG_LEVEL_ERROR), 0u);
  error("one");
  ASSERT_EQ(release(), 0u);
  error("two");
  ASSERT_EQ(release(), 0u);
  error("three");
  EXPECT_EQ(release(), 11002u);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[0].callback, "second");
  EXPECT_EQ(received()[0].text, "one");
  EXPECT_EQ(received()[1].callback, "second");
  EXPECT_EQ(received()[1].text, "two");
  EXPECT_EQ(current(), nullptr);
}

TEST_F(LoggerTest, PassesOnlyMessagesUpToTheLoggersLevel) {
  ASSERT_EQ(make(first, ZEB_LOG_LEVEL_ERROR), 0u);
  warning("dropped");
  error("kept %d %s", 5, "x");
  ASSERT_EQ(setLevel(ZEB_LOG_LEVEL_WARN), 0u);
  warning("warning");
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[0].text, "kept 5 x");
  EXPECT_EQ(received()[0].level, ZEB_LOG_LEVEL_ERROR);
  EXPECT_EQ(received()[1].text, "warning");
  EXPECT_EQ(received()[1].level, ZEB_LOG_LEVEL_WARN);
}

TEST_F(LoggerTest, SetLevelNeedsALoggerAndAValidLevel) {
  EXPECT_EQ(setLevel(ZEB_LOG_LEVEL_ERROR), 11002u);
  ASSERT_EQ(make(first, ZEB_LOG_LEVEL_WARN), 0u);
  EXPECT_EQ(setLevel(static_cast<ZebLog_Level_t>(6)), 11003u);
  EXPECT_EQ(setLevel(static_cast<ZebLog_Level_t>(0)), 11003u);
  EXPECT_EQ(current()->level(), ZEB_LOG_LEVEL_WARN);
  EXPECT_EQ(setLevel(ZEB_LOG_LEVEL_DEBUG), 0u);
  EXPECT_EQ(current()->level(), ZEB_LOG_LEVEL_DEBUG);
  ASSERT_EQ(release(), 0u);
  EXPECT_EQ(setLevel(ZEB_LOG_LEVEL_ERROR), 11002u);
}

TEST_F(LoggerTest, WithoutALoggerMessagesAreDropped) {
  error("nobody listens");
  EXPECT_EQ(release(), 11002u);
  EXPECT_TRUE(received().empty());
}

TEST_F(LoggerTest, TimestampsCountFromTheLoggersCreation) {
  ASSERT_EQ(make(first, ZEB_LOG_LEVEL_ERROR), 0u);
  error("a");
  error("b");
  ASSERT_EQ(received().size(), 2u);
  EXPECT_LT(received()[0].timestamp, 10'000'000'000u);  // well under ten seconds
  EXPECT_LE(received()[0].timestamp, received()[1].timestamp);
}

TEST_F(LoggerTest, AHeldLoggerOutlivesItsRelease) {
  ASSERT_EQ(make(first, ZEB_LOG_LEVEL_ERROR), 0u);
  const auto held = current();
  ASSERT_EQ(release(), 0u);
  EXPECT_EQ(current(), nullptr);
  logThrough(*held, "still %s", "here");
  ASSERT_EQ(received().size(), 1u);
  EXPECT_EQ(received()[0].text, "still here");
}

TEST_F(LoggerTest, NullCallbackPrintsThroughTheDefaultCallback) {
  ASSERT_EQ(make(nullptr, ZEB_LOG_LEVEL_ERROR), 0u);
  ::testing::internal::CaptureStdout();
  error("hello %s", "world");
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ms [ ERROR ] hello world\n"), std::string::npos) << out;
  EXPECT_EQ(out.size(), std::string("     0.0ms [ ERROR ] hello world\n").size()) << out;
}

std::string formatLine(ZebLog_Level_t level, uint64_t timestamp, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string line = formatDefaultLine(format, level, timestamp, args);
  va_end(args);
  return line;
}

void printLine(ZebLog_Level_t level, uint64_t timestamp, const char* format, ...) {
  va_list args;
  va_start(args, format);
  defaultCallback(format, level, timestamp, args);
  va_end(args);
}

TEST(DefaultCallback, TagsEveryLevel) {
  const struct {
    int level;
    const char* line;
  } cases[] = {
      {1, "  1500.0ms [ ERROR ] m 7"},
      {2, "  1500.0ms [WARNING] m 7"},
      {3, "  1500.0ms [  INFO ] m 7"},
      {4, "  1500.0ms [VERBOSE] m 7"},
      {5, "  1500.0ms [ DEBUG ] m 7"},
      {2147483647, "  1500.0ms [UNKNOWN] m 7"},
      {0, "  1500.0ms [       ] m 7"},
      {6, "  1500.0ms [       ] m 7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatLine(static_cast<ZebLog_Level_t>(c.level), 1500000000, "m %d", 7), c.line);
  }
}

TEST(DefaultCallback, WritesMillisecondsWithOneDecimal) {
  EXPECT_EQ(formatLine(ZEB_LOG_LEVEL_ERROR, 0, "x"), "     0.0ms [ ERROR ] x");
  EXPECT_EQ(formatLine(ZEB_LOG_LEVEL_ERROR, 1234567, "x"), "     1.2ms [ ERROR ] x");
  EXPECT_EQ(formatLine(ZEB_LOG_LEVEL_ERROR, 123456789012, "x"), "123456.8ms [ ERROR ] x");
  EXPECT_EQ(formatLine(ZEB_LOG_LEVEL_ERROR, 12345678901234, "x"), "12345678.9ms [ ERROR ] x");
}

TEST(DefaultCallback, CutsOffLongMessages) {
  const std::string longText(3000, 'a');
  const std::string line = formatLine(ZEB_LOG_LEVEL_ERROR, 0, "%s", longText.c_str());
  EXPECT_EQ(line.size(), kDefaultLineBufferSize - 1);
  EXPECT_EQ(line.substr(0, 22), "     0.0ms [ ERROR ] a");
}

TEST(DefaultCallback, PrintsOneLineToStandardOutput) {
  ::testing::internal::CaptureStdout();
  printLine(ZEB_LOG_LEVEL_ERROR, 1500000000, "Could not open file: %s", "a/b.c");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "  1500.0ms [ ERROR ] Could not open file: a/b.c\n");
}

}  // namespace
}  // namespace zeb::log
