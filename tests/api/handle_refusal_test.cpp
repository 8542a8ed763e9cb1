// Every recorded call that takes a backend, context, device or profile handle,
// given a handle of 0, one that was never issued, and one that was freed: the
// family's code and message, and nothing written.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/api_session.h"
#include "api/entry_points.h"
#include "support/log_capture.h"

namespace zeb::test {
namespace {

enum class Kind { kZero, kUnknown, kFreed };

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::kZero:
      return "Zero";
    case Kind::kUnknown:
      return "Unknown";
    case Kind::kFreed:
      return "Freed";
  }
  return "";
}

// Makes a handle of the row's kind: a freed one is created and freed first.
using MakeHandle = std::function<uint64_t(Recorder&)>;

uint64_t freedBackend(Recorder& r) {
  Zeb_BackendHandle_t backend = nullptr;
  entry::backendCreate(r, nullptr, nullptr, &backend);
  entry::backendFree(r, backend);
  return handleValue(backend);
}

uint64_t freedContext(Recorder& r) {
  Zeb_ContextHandle_t context = nullptr;
  entry::contextCreate(r, nullptr, nullptr, nullptr, &context);
  entry::contextFree(r, context, nullptr);
  return handleValue(context);
}

uint64_t freedProfile(Recorder& r) {
  Zeb_ProfileHandle_t profile = nullptr;
  entry::profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, &profile);
  entry::profileFree(r, profile);
  return handleValue(profile);
}

using Call = std::function<Zeb_ErrorHandle_t(Recorder&, uint64_t)>;

struct Row {
  std::string name;
  Kind kind;
  Call call;
  MakeHandle freed;
  Zeb_ErrorHandle_t code;
  std::string message;
};

std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

template <class Handle>
Handle as(uint64_t value) {
  return clientHandle<Handle>(value);
}

const ZebProfile_EventId_t* events;
uint32_t eventCount;
const ZebBackend_OperationName_t* operations;
const ZebDevice_PlatformInfo_t* platformInfo;

struct Family {
  std::vector<std::pair<std::string, Call>> calls;
  std::vector<Kind> kinds;
  Zeb_ErrorHandle_t code;
  const char* nullMessage;
  const char* unknownMessage;
  MakeHandle freed = nullptr;
};

std::vector<Row> rows() {
  constexpr const char* kNoBackend = "No backend associated with the provided handle";
  constexpr const char* kNoContext = "No context associated with the provided handle";
  constexpr const char* kNoDevice = "No device associated with the provided handle";
  constexpr const char* kNoProfile = "No profile associated with the provided handle";
  // A handle of 0 names no backend and is written as NULL, so only unknown and
  // freed backends are refused.
  const Family backend{
      {{"backendSetConfig",
        [](Recorder& r, uint64_t h) {
          return entry::backendSetConfig(r, as<Zeb_BackendHandle_t>(h), nullptr);
        }},
       {"backendRegisterOpPackage",
        [](Recorder& r, uint64_t h) {
          return entry::backendRegisterOpPackage(r, as<Zeb_BackendHandle_t>(h), "p", "i", "t");
        }},
       {"backendGetSupportedOperations",
        [](Recorder& r, uint64_t h) {
          return entry::backendGetSupportedOperations(r, as<Zeb_BackendHandle_t>(h), &eventCount,
                                                      &operations);
        }},
       {"backendFree",
        [](Recorder& r, uint64_t h) { return entry::backendFree(r, as<Zeb_BackendHandle_t>(h)); }},
       {"contextCreate",
        [](Recorder& r, uint64_t h) {
          Zeb_ContextHandle_t context;
          return entry::contextCreate(r, as<Zeb_BackendHandle_t>(h), nullptr, nullptr, &context);
        }},
       {"profileCreate",
        [](Recorder& r, uint64_t h) {
          Zeb_ProfileHandle_t profile;
          return entry::profileCreate(r, as<Zeb_BackendHandle_t>(h), ZEB_PROFILE_LEVEL_BASIC,
                                      &profile);
        }}},
      {Kind::kUnknown, Kind::kFreed},
      4011,
      "",
      kNoBackend,
      freedBackend};
  const Family context{{{"contextSetConfig",
                         [](Recorder& r, uint64_t h) {
                           return entry::contextSetConfig(r, as<Zeb_ContextHandle_t>(h), nullptr);
                         }},
                        {"contextGetBinarySize",
                         [](Recorder& r, uint64_t h) {
                           Zeb_ContextBinarySize_t size;
                           return entry::contextGetBinarySize(r, as<Zeb_ContextHandle_t>(h), &size);
                         }},
                        {"contextGetBinary",
                         [](Recorder& r, uint64_t h) {
                           char buffer[4];
                           return entry::contextGetBinary(r, as<Zeb_ContextHandle_t>(h), buffer, 4,
                                                          nullptr);
                         }}},
                       {Kind::kZero, Kind::kUnknown, Kind::kFreed},
                       5002,
                       "Provided context handle is NULL",
                       kNoContext,
                       freedContext};
  // contextFree finds the context itself while releasing it; its message ends in a full stop.
  const Family contextFree{{{"contextFree",
                             [](Recorder& r, uint64_t h) {
                               return entry::contextFree(r, as<Zeb_ContextHandle_t>(h), nullptr);
                             }}},
                           {Kind::kZero, Kind::kUnknown, Kind::kFreed},
                           5002,
                           "Provided context handle is NULL",
                           "No context associated with the provided handle.",
                           freedContext};
  // A freed device stays registered: deviceFree only records the call.
  const Family device{
      {{"deviceSetConfig",
        [](Recorder& r, uint64_t h) {
          return entry::deviceSetConfig(r, as<Zeb_DeviceHandle_t>(h), nullptr);
        }},
       {"deviceGetInfo",
        [](Recorder& r, uint64_t h) {
          return entry::deviceGetInfo(r, as<Zeb_DeviceHandle_t>(h), &platformInfo);
        }},
       {"deviceFree",
        [](Recorder& r, uint64_t h) { return entry::deviceFree(r, as<Zeb_DeviceHandle_t>(h)); }}},
      {Kind::kZero, Kind::kUnknown},
      14000,
      "Provided device handle is NULL",
      kNoDevice};
  // A device handle of 0 in contextCreate is written as NULL.
  const Family contextDevice{{{"contextCreate_device",
                               [](Recorder& r, uint64_t h) {
                                 Zeb_ContextHandle_t context;
                                 return entry::contextCreate(r, nullptr, as<Zeb_DeviceHandle_t>(h),
                                                             nullptr, &context);
                               }}},
                             {Kind::kUnknown},
                             14000,
                             "",
                             kNoDevice};
  const Family profile{{{"profileSetConfig",
                         [](Recorder& r, uint64_t h) {
                           return entry::profileSetConfig(r, as<Zeb_ProfileHandle_t>(h), nullptr);
                         }},
                        {"profileGetEvents",
                         [](Recorder& r, uint64_t h) {
                           return entry::profileGetEvents(r, as<Zeb_ProfileHandle_t>(h), &events,
                                                          &eventCount);
                         }}},
                       {Kind::kZero, Kind::kUnknown, Kind::kFreed},
                       12000,
                       "Provided profile handle is NULL",
                       kNoProfile,
                       freedProfile};
  const Family profileFree{
      {{"profileFree",
        [](Recorder& r, uint64_t h) { return entry::profileFree(r, as<Zeb_ProfileHandle_t>(h)); }}},
      {Kind::kZero, Kind::kUnknown, Kind::kFreed},
      12000,
      "Provided profile handle is NULL",
      "No profile associated with the provided handle.",
      freedProfile};

  std::vector<Row> rows;
  for (const Family* family :
       {&backend, &context, &contextFree, &device, &contextDevice, &profile, &profileFree}) {
    for (const auto& [name, call] : family->calls) {
      for (Kind kind : family->kinds) {
        rows.push_back({name + "_" + kindName(kind), kind, call, family->freed, family->code,
                        kind == Kind::kZero ? family->nullMessage : family->unknownMessage});
      }
    }
  }
  return rows;
}

class HandleRefusalTest : public testing::TestWithParam<Row> {
 protected:
  ApiSession session;
};

TEST_P(HandleRefusalTest, RefusesWithTheFamilyCodeAndMessageAndWritesNothing) {
  const Row& row = GetParam();
  ASSERT_EQ(session.recorder.start(), 0u);
  uint64_t handle = 0;
  if (row.kind == Kind::kUnknown) handle = kUnknownHandle;
  if (row.kind == Kind::kFreed) handle = row.freed(session.recorder);
  const std::string before = readFile(session.output() / session.recorder.modelFileName());

  LogCapture log;
  EXPECT_EQ(row.call(session.recorder, handle), row.code);
  EXPECT_EQ(log.texts(), std::vector<std::string>{row.message});
  EXPECT_EQ(readFile(session.output() / session.recorder.modelFileName()), before);
}

INSTANTIATE_TEST_SUITE_P(AllHandleKinds, HandleRefusalTest, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

TEST(FreedDevice, StaysUsableBecauseDeviceFreeOnlyRecordsTheCall) {
  ApiSession session;
  Zeb_DeviceHandle_t device = nullptr;
  ASSERT_EQ(entry::deviceCreate(session.recorder, nullptr, nullptr, &device), 0u);
  ASSERT_EQ(entry::deviceFree(session.recorder, device), 0u);
  Zeb_ContextHandle_t context = nullptr;
  EXPECT_EQ(entry::deviceSetConfig(session.recorder, device, nullptr), 0u);
  EXPECT_EQ(entry::contextCreate(session.recorder, nullptr, device, nullptr, &context), 0u);
}

}  // namespace
}  // namespace zeb::test
