// The slots this library does not support, and the argument checks some of
// them make before refusing.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "api/api_session.h"
#include "api/entry_points.h"
#include "support/log_capture.h"

namespace zeb::test {
namespace {

const ZEB_INTERFACE_VER_TYPE& table() {
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  EXPECT_EQ(ZebInterface_getProviders(&providers, &count), 0u);
  return providers[0]->ZEB_INTERFACE_VER_NAME;
}

TEST(UnsupportedSlots, RefuseWithoutStartingWhateverTheArguments) {
  ScopedTempDir directory;
  LogCapture log;
  const auto& t = table();
  Zeb_SignalHandle_t signal = nullptr;
  Zeb_MemHandle_t memory = nullptr;
  const std::vector<std::pair<int, Zeb_ErrorHandle_t>> answers = {
      {22,
       t.graphExecuteAsync(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr)},
      {35, t.memRegister(nullptr, nullptr, 1, &memory)},
      {36, t.memDeRegister(&memory, 1)},
      {38, t.deviceFreePlatformInfo(nullptr, nullptr)},
      {44, t.signalCreate(nullptr, &signal)},
      {45, t.signalSetConfig(signal, nullptr)},
      {46, t.signalTrigger(signal)},
      {47, t.signalFree(signal)},
  };
  for (const auto& [slot, code] : answers) EXPECT_EQ(code, 1000u) << "slot " << slot;
  EXPECT_TRUE(log.texts().empty());
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "scribe_output"));
}

using RecorderCall = std::function<Zeb_ErrorHandle_t(Recorder&)>;

const std::vector<std::pair<int, RecorderCall>>& errorSlots() {
  static const std::vector<std::pair<int, RecorderCall>> slots = {
      {48,
       [](Recorder& r) {
         const char* message = nullptr;
         return entry::errorGetMessage(r, 1000, &message);
       }},
      {49,
       [](Recorder& r) {
         const char* message = nullptr;
         return entry::errorGetVerboseMessage(r, 1000, &message);
       }},
      {50, [](Recorder& r) { return entry::errorFreeVerboseMessage(r, "text"); }},
  };
  return slots;
}

TEST(UnsupportedSlots, ErrorMessageSlotsStartTheRecorderThenRefuse) {
  for (const auto& [slot, call] : errorSlots()) {
    ApiSession session;
    EXPECT_EQ(call(session.recorder), 1000u) << "slot " << slot;
    EXPECT_TRUE(session.recorder.started()) << "slot " << slot;
    session.expectNothingRecorded();
  }
}

TEST(UnsupportedSlots, ErrorMessageSlotsReportAFailedStart) {
  for (const auto& [slot, call] : errorSlots()) {
    ApiSession session;
    session.blockOutput();
    EXPECT_EQ(call(session.recorder), 4000u) << "slot " << slot;
    EXPECT_FALSE(session.recorder.started()) << "slot " << slot;
  }
}

// Slots 51 and 52 check their arguments in order; the graph is not looked up.
TEST(UnsupportedSlots, TensorUpdatesCheckTheirArgumentsOnly) {
  ScopedTempDir directory;
  LogCapture log;
  Zeb_Tensor_t versionOne{};
  versionOne.version = ZEB_TENSOR_VERSION_1;
  Zeb_Tensor_t versionTwo{};
  versionTwo.version = ZEB_TENSOR_VERSION_2;
  const Zeb_Tensor_t* ones[] = {&versionOne};
  const Zeb_Tensor_t* twos[] = {&versionTwo};
  const Zeb_Tensor_t* nulls[] = {nullptr};
  const auto graph = unknownHandle<Zeb_GraphHandle_t>();
  struct Case {
    const char* name;
    Zeb_GraphHandle_t graph;
    const Zeb_Tensor_t** tensors;
    uint32_t count;
    Zeb_ErrorHandle_t code;
  };
  const Case cases[] = {
      {"null graph", nullptr, ones, 1, 6001},       {"null array", graph, nullptr, 1, 6000},
      {"no tensors", graph, ones, 0, 6000},         {"kind above 1", graph, twos, 1, 6000},
      {"null first tensor", graph, nulls, 1, 6000}, {"kind 1", graph, ones, 1, 1000},
  };
  for (const auto update : {table().graphUpdateInputTensors, table().graphUpdateOutputTensors}) {
    for (const Case& c : cases) EXPECT_EQ(update(c.graph, c.tensors, c.count), c.code) << c.name;
  }
  EXPECT_TRUE(log.texts().empty());
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "scribe_output"));
}

struct EnvironmentCase {
  std::string name;
  bool nullGraph;
  std::vector<ZebGraph_ExecutionEnvironment_t> entries;  // the array's records
  bool nullArray;
  Zeb_ErrorHandle_t code;
};

Zeb_ErrorHandle_t prepare(ApiSession& session, const EnvironmentCase& c) {
  std::vector<const ZebGraph_ExecutionEnvironment_t*> array;
  for (const auto& entry : c.entries) array.push_back(&entry);
  array.push_back(nullptr);
  const auto graph = c.nullGraph ? nullptr : unknownHandle<Zeb_GraphHandle_t>();
  return entry::graphPrepareExecutionEnvironment(session.recorder, graph,
                                                 c.nullArray ? nullptr : array.data());
}

TEST(UnsupportedSlots, PrepareExecutionEnvironmentStartsThenChecksItsArguments) {
  const std::vector<EnvironmentCase> cases = {
      {"null graph", true, {{0, nullptr}}, false, 6001},
      {"null array", false, {}, true, 6000},
      {"empty array", false, {}, false, 0},
      {"kind 1", false, {{1, nullptr}}, false, 6000},
      {"kind 0", false, {{0, nullptr}}, false, 1000},
  };
  for (const auto& c : cases) {
    ApiSession session;
    LogCapture log;
    EXPECT_EQ(prepare(session, c), c.code) << c.name;
    const std::vector<std::string> expected =
        c.nullGraph ? std::vector<std::string>{"Provided graph handle is NULL"}
                    : std::vector<std::string>{};
    EXPECT_EQ(log.texts(), expected) << c.name;
    EXPECT_TRUE(session.recorder.started()) << c.name;
    session.expectNothingRecorded();
  }
}

TEST(UnsupportedSlots, PrepareExecutionEnvironmentReportsAFailedStartFirst) {
  ApiSession session;
  session.blockOutput();
  EXPECT_EQ(prepare(session, {"null graph", true, {}, true, 4000}), 4000u);
  EXPECT_FALSE(session.recorder.started());
}

}  // namespace
}  // namespace zeb::test
