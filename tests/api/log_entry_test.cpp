// The log slots drive the process-wide logger and never start the recorder.
#include <gtest/gtest.h>

#include <cstdarg>
#include <filesystem>

#include "api/entry_points.h"
#include "support/scoped_temp_dir.h"

namespace zeb::test {
namespace {

void ignore(const char*, ZebLog_Level_t, uint64_t, va_list) {}

TEST(LogEntries, LevelsOutsideOneToFiveAreRefused) {
  Zeb_LogHandle_t handle = nullptr;
  EXPECT_EQ(entry::logCreate(ignore, static_cast<ZebLog_Level_t>(0), &handle), 11003u);
  EXPECT_EQ(entry::logCreate(ignore, static_cast<ZebLog_Level_t>(6), &handle), 11003u);
  EXPECT_EQ(handle, nullptr);
}

TEST(LogEntries, EveryCreateNeedsItsOwnFree) {
  ScopedTempDir directory;
  Zeb_LogHandle_t first = nullptr;
  Zeb_LogHandle_t second = nullptr;
  ASSERT_EQ(entry::logCreate(ignore, ZEB_LOG_LEVEL_ERROR, &first), 0u);
  ASSERT_EQ(entry::logCreate(ignore, ZEB_LOG_LEVEL_WARN, &second), 0u);
  EXPECT_EQ(first, second);  // one logger, whatever handle the client holds
  EXPECT_EQ(entry::logSetLogLevel(first, static_cast<ZebLog_Level_t>(6)), 11003u);
  EXPECT_EQ(entry::logSetLogLevel(first, ZEB_LOG_LEVEL_DEBUG), 0u);
  EXPECT_EQ(entry::logFree(first), 0u);
  EXPECT_EQ(entry::logFree(second), 0u);
  EXPECT_EQ(entry::logFree(second), 11002u);
  EXPECT_EQ(entry::logSetLogLevel(second, ZEB_LOG_LEVEL_ERROR), 11002u);
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "scribe_output"));
}

}  // namespace
}  // namespace zeb::test
