#include "pal/pal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "support/scoped_temp_dir.h"

namespace pal {
namespace {

using zeb::test::ScopedTempDir;

TEST(Pal, TellsFilesFromDirectories) {
  ScopedTempDir dir;
  std::ofstream("plain") << "x";
  EXPECT_TRUE(exists("plain"));
  EXPECT_FALSE(isDirectory("plain"));
  EXPECT_TRUE(exists("plain/"));  // a trailing slash does not hide a file
  EXPECT_FALSE(isDirectory("plain/"));
  EXPECT_TRUE(exists("."));
  EXPECT_TRUE(isDirectory("."));
  EXPECT_TRUE(isDirectory("./"));
  EXPECT_TRUE(isDirectory("/"));
  EXPECT_FALSE(exists("missing"));
  EXPECT_FALSE(isDirectory("missing"));
}

TEST(Pal, CreatesOneDirectoryLevel) {
  ScopedTempDir dir;
  EXPECT_TRUE(Directory::create("made"));
  EXPECT_TRUE(isDirectory("made"));
  EXPECT_TRUE(Directory::create("made"));      // exists as a directory
  EXPECT_TRUE(Directory::create("made/"));     // trailing slash
  EXPECT_FALSE(Directory::create("a/b"));      // parents are not created
  EXPECT_FALSE(exists("a"));
  std::ofstream("plain") << "x";
  EXPECT_FALSE(Directory::create("plain"));    // exists, not a directory
}

TEST(Pal, ClockHasHundredNanosecondStepsNearTheSystemClock) {
  const uint64_t now = systemClockNanoseconds();
  EXPECT_EQ(now % 100, 0u);
  const auto reference = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
  EXPECT_LT(static_cast<int64_t>(reference) - static_cast<int64_t>(now), 1000000000);
  EXPECT_GE(systemClockNanoseconds(), now);
}

TEST(Pal, ConvertsToLocalTime) {
  std::tm out{};
  ASSERT_TRUE(localTime(86400 * 365, out));
  EXPECT_TRUE(out.tm_year == 70 || out.tm_year == 71);  // 1971-01-01 UTC, any zone
}

TEST(Pal, DefaultStreamOpsWriteRealFiles) {
  ScopedTempDir dir;
  const StreamOps& ops = defaultStreamOps();
  std::FILE* file = ops.open("f.bin", "wb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ops.write("abc", 1, 3, file), 3u);
  EXPECT_EQ(ops.flush(file), 0);
  EXPECT_EQ(ops.close(file), 0);
  file = ops.open("f.bin", "ab");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ops.write("de", 2, 1, file), 1u);
  EXPECT_EQ(ops.close(file), 0);
  EXPECT_EQ(zeb::test::readFile("f.bin"), "abcde");
  EXPECT_EQ(ops.open("missing/f.bin", "wb"), nullptr);
}

}  // namespace
}  // namespace pal
