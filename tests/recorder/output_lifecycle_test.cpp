// The output files through the recorder's life, from the start to after unload.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "api/entry_points.h"
#include "support/session.h"

namespace zeb::test {
namespace {

namespace fs = std::filesystem;

// The first recorded call makes the directory and the files (an old data file is emptied);
// each block is flushed as it is written: the file already ends with it.
TEST(Output, FirstRecordedCallMakesTheDirectoryAndEachBlockIsFlushed) {
  Session session;
  session.recorder.setOutputDirectory("plain");
  fs::create_directory("plain");
  std::ofstream("plain/params.bin") << "old blob";
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 1), 4950u);
  const std::string model = readFile("plain/scribe_output.c");
  EXPECT_EQ(model.substr(model.size() - 4), ");\n\n");
  EXPECT_EQ(readFile("plain/params.bin"), "");
}

// A second recorder of the same files (here in this process; another process in
// OtherProcesses) leaves them as they are and answers 4000 naming the holder; once the
// holder has finished, it records.
TEST(Output, FilesHeldByAnotherRecorderAreLeftAloneUntilItIsGone) {
  Session session;
  auto holder = std::make_unique<Recorder>();
  holder->setOutputDirectory("out/");
  ASSERT_EQ(entry::propertyHasCapability(*holder, 1), 4950u);
  const std::string held = session.model();
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 2), 4000u);
  EXPECT_EQ(session.log.texts().back(), "out/scribe_output.c is being recorded by process " +
                                            std::to_string(pal::processId()) + ": this process records nothing into it");
  EXPECT_EQ(session.model(), held);
  holder.reset();
  EXPECT_EQ(entry::propertyHasCapability(session.recorder, 3), 4950u);
  EXPECT_NE(session.model().find("(ZebProperty_Key_t)3"), std::string::npos);
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
        pal::streamOps().open = [](const char*) { return std::fopen(kNullDevice, "ab"); };
        Recorder::instance()->setOutputDirectory(".");
        std::exit(Recorder::instance()->start() == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "late call: 4000;");
}

}  // namespace
}  // namespace zeb::test
