// The output files through the recorder's life, from the start to after unload.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "api/entry_points.h"
#include "support/session.h"

namespace zeb::test {
namespace {

namespace fs = std::filesystem;

TEST(Output, FirstRecordedCallMakesTheDirectoryAndEachBlockIsFlushed) {
  Session session;
  session.recorder.setOutputDirectory("./scribe_output/");
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 1), 4950u);
  const std::string model = readFile("scribe_output/scribe_output.c");
  // Each block is flushed as it is written: the file already ends with it.
  EXPECT_EQ(model.substr(model.size() - 4), ");\n\n");
  EXPECT_EQ(fs::file_size("scribe_output/params.bin"), 0u);
}

// "plain" gets its slash before the file names; an old data file is emptied.
TEST(Output, FilesGoIntoTheDirectoryGivenAndStartEmpty) {
  Session session;
  session.recorder.setOutputDirectory("plain");
  fs::create_directory("plain");
  std::ofstream("plain/params.bin") << "old blob";
  ASSERT_EQ(session.recorder.start(), 0u);
  EXPECT_TRUE(fs::is_regular_file("plain/scribe_output.c"));
  EXPECT_EQ(readFile("plain/params.bin"), "");
}

TEST(Output, APlainFileInTheWayFailsEveryStartUntilItIsGone) {
  Session session;
  session.recorder.setOutputDirectory("./scribe_output/");
  std::ofstream("scribe_output") << "in the way";
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 1), 4000u);
  EXPECT_EQ(entry::deviceGetInfrastructure(session.recorder, nullptr), 4000u);
  EXPECT_EQ(session.log.texts(), std::vector<std::string>(2, "./scribe_output/ already exists"));
  fs::remove("scribe_output");
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 1), 4950u);
}

#if defined(_WIN32)
constexpr const char* kNullDevice = "NUL";
#else
constexpr const char* kNullDevice = "/dev/null";
#endif

// A client's static, made before the recorder, calls in at exit, in a process of its own.
TEST(LifecycleDeathTest, CallsAfterTheRecorderIsGoneAnswer4000) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct LateClient {
          ~LateClient() {
            const ZebInterface_t** providers = nullptr; uint32_t count = 0;
            ZebInterface_getProviders(&providers, &count);
            std::fprintf(stderr, "late call: %u;", unsigned(providers[0]->ZEB_INTERFACE_VER_NAME.propertyHasCapability(1)));
          }
        };
        static LateClient client;
        pal::streamOps().open = [](const char*, const char* mode) { return std::fopen(kNullDevice, mode); };
        Recorder::instance()->setOutputDirectory(".");
        std::exit(Recorder::instance()->start() == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "late call: 4000;");
}

}  // namespace
}  // namespace zeb::test
