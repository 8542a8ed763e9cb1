// A log callback may call the API from inside a call: the lock lets its holder in
// again, and messages about a failed write come once the files are cut back.
#include <gtest/gtest.h>

#include <utility>

#include "ZebScribe.h"
#include "api/entry_points.h"
#include "api/provider.h"
#include "log/logger.h"
#include "support/session.h"

namespace zeb::test {
namespace {

struct Reentry {
  const ZEB_INTERFACE_VER_TYPE* table = nullptr;
  Recorder* recorder = nullptr;  // for a call made on it directly
  Zeb_ContextHandle_t context = nullptr;
  bool inside = false;
  int callbacks = 0;
} reentry;

// A recorded call, a free, the configuration and the log family.
void callEveryKind(const char*, ZebLog_Level_t, uint64_t, va_list) {
  if (std::exchange(reentry.inside, true)) return;
  ++reentry.callbacks;
  EXPECT_EQ(reentry.table->propertyHasCapability(1), 4950u);
  EXPECT_EQ(reentry.table->contextFree(std::exchange(reentry.context, nullptr), nullptr), 0u);
  EXPECT_EQ(ZebScribe_initialize(nullptr), 0u);
  EXPECT_EQ(reentry.table->logSetLogLevel(nullptr, ZEB_LOG_LEVEL_WARN), 0u);
  reentry.inside = false;
}

// The graph's context freed inside a graph call that goes on after its message.
TEST(Reentry, ALogCallbackCallsEveryKindOfEntryFromInsideAGraphCall) {
  ScopedTempDir directory;
  const ZEB_INTERFACE_VER_TYPE table = functionTable();
  reentry.table = &table;
  Zeb_LogHandle_t log = nullptr;
  ASSERT_EQ(table.logCreate(callEveryKind, ZEB_LOG_LEVEL_WARN, &log), 0u);
  Zeb_BackendHandle_t backend = nullptr;
  ASSERT_EQ(table.backendCreate(nullptr, nullptr, &backend), 0u);
  ASSERT_EQ(table.contextCreate(backend, nullptr, nullptr, &reentry.context), 0u);
  Zeb_GraphHandle_t graph = nullptr;
  ASSERT_EQ(table.graphCreate(reentry.context, "g", nullptr, &graph), 0u);
  static unsigned char content;
  const ZebGraph_Config_t custom{ZEB_GRAPH_CONFIG_OPTION_CUSTOM, {reinterpret_cast<ZebGraph_CustomConfig_t>(&content)}};
  const ZebGraph_Config_t* configs[] = {&custom, nullptr};
  EXPECT_EQ(table.graphSetConfig(graph, configs), 0u);
  EXPECT_EQ(reentry.callbacks, 1);
  EXPECT_EQ(table.logFree(log), 0u);
}

void recordAgain(const char*, ZebLog_Level_t, uint64_t, va_list) {
  if (std::exchange(reentry.inside, true)) return;
  EXPECT_EQ(entry::propertyHasCapability(*reentry.recorder, 7), 4950u);
  reentry.inside = false;
}

TEST(Reentry, ACallFromTheCallbackOfAFailedWriteIsRecordedWhole) {
  Session session;
  reentry.recorder = &session.recorder;
  ASSERT_EQ(session.recorder.start(), 0u);
  const std::string header = session.model();
  const StreamOpsRestorer restorer;
  pal::streamOps().write = [](const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    pal::streamOps().write = pal::defaultStreamOps().write;  // once
    return pal::defaultStreamOps().write(buffer, size, count / 2, file);
  };
  Zeb_LogHandle_t log = nullptr;
  ASSERT_EQ(log::create(recordAgain, ZEB_LOG_LEVEL_ERROR, &log), 0u);
  EXPECT_NE(entry::propertyHasCapability(session.recorder, 1), 4950u);
  const std::string added = session.model().substr(header.size());
  EXPECT_EQ(added.find("propertyHasCapability("), added.rfind("propertyHasCapability(")) << added;
  EXPECT_NE(added.find("propertyHasCapability((ZebProperty_Key_t)7"), std::string::npos) << added;
  EXPECT_EQ(added.substr(added.size() - 3), ";\n\n");
  log::release();
}

}  // namespace
}  // namespace zeb::test
