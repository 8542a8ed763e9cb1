// The logger registry and the recorder are process-wide statics; messages that
// the recorder logs at unload must reach a live logger, or be dropped when the
// registry is already gone. Each case runs in a fresh process (the threadsafe
// death-test style re-executes the test binary), so the statics start unmade
// and their destruction order is the real one at exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ZebInterface.h"
#include "log/logger.h"
#include "pal/stream_ops_override.h"
#include "recorder/recorder.h"

namespace zeb {
namespace {

#if defined(_WIN32)
constexpr const char* kNullDevice = "NUL";
#else
constexpr const char* kNullDevice = "/dev/null";
#endif

// Ends each message with ";" rather than a newline, which Windows would
// widen to "\r\n".
void toStderr(const char* format, ZebLog_Level_t, uint64_t, va_list args) {
  std::vfprintf(stderr, format, args);
  std::fputc(';', stderr);
}

// Files open on the null device and every close fails, so each file logs
// "Failed to close the file" when it is destroyed.
void useFailingNullStreams() {
  // Each case runs in a process of its own, so the table is never restored.
  pal::streamOps().open = [](const char*, const char* mode) {
    return std::fopen(kNullDevice, mode);
  };
  pal::streamOps().close = test::StreamOpsOverride::closeButFail;
}

void createLogger() {
  Zeb_LogHandle_t handle = nullptr;
  if (log::create(toStderr, ZEB_LOG_LEVEL_ERROR, &handle) != 0) std::abort();
}

void startRecorder() {
  Recorder& recorder = *Recorder::instance();
  recorder.setOutputDirectory(".");
  if (recorder.start() != 0) std::abort();
}

TEST(LoggerRegistryDeathTest, RecorderMadeBeforeTheLoggerStillLogsAtUnload) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        useFailingNullStreams();
        startRecorder();
        createLogger();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "Failed to close the file;Failed to close the file;");
}

TEST(LoggerRegistryDeathTest, LoggerMadeBeforeTheRecorderStillLogsAtUnload) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        useFailingNullStreams();
        createLogger();
        startRecorder();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "Failed to close the file;Failed to close the file;");
}

TEST(LoggerRegistryDeathTest, MessagesAfterTheRegistryIsGoneAreDropped) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        useFailingNullStreams();
        // Made before the registry, so destroyed after it.
        static DataFile file(".", "data.bin");
        if (!file.open()) std::abort();
        createLogger();
        log::error("while alive");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^while alive;$");
}

// A client's static object, made before the recorder, calls in while the
// process exits: the call is answered without touching the destroyed recorder.
TEST(RecorderLifetimeDeathTest, CallsAfterTheRecorderIsGoneAreRefused) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct LateClient {
          ~LateClient() {
            const ZebInterface_t** providers = nullptr;
            uint32_t count = 0;
            ZebInterface_getProviders(&providers, &count);
            const auto code = providers[0]->ZEB_INTERFACE_VER_NAME.propertyHasCapability(1);
            std::fprintf(stderr, "late call: %u;", static_cast<unsigned>(code));
          }
        };
        static LateClient client;
        useFailingNullStreams();
        startRecorder();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "late call: 4000;");
}

}  // namespace
}  // namespace zeb
