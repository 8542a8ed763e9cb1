// Every argument guard of every family: the code, the message, whether the
// recorder was started first, and that nothing was recorded.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/api_session.h"
#include "api/entry_points.h"
#include "log/logger.h"
#include "record/graph_names.h"
#include "support/log_capture.h"

namespace zeb::test {
namespace {

using Call = std::function<Zeb_ErrorHandle_t(ApiSession&)>;

struct GuardRow {
  std::string name;
  Call call;
  Zeb_ErrorHandle_t code;
  std::string message;
  bool startsFirst;  // the recorder starts before the refusing check
};

std::ostream& operator<<(std::ostream& out, const GuardRow& row) { return out << row.name; }

constexpr const char* kNullContext = "Provided context handle is NULL";
constexpr const char* kUnknownContext = "No context associated with the provided handle";
constexpr const char* kNullGraph = "Provided graph handle is NULL";
constexpr const char* kUnknownGraph = "No graph associated with the provided handle";
constexpr const char* kNullGraphName = "Provided graph handle or graph name is NULL";
constexpr const char* kNullTensor = "Provided tensor ptr is NULL";
constexpr const char* kNullDevice = "Provided device handle is NULL";
constexpr const char* kUnknownDevice = "No device associated with the provided handle";
constexpr const char* kNullProfile = "Provided profile handle is NULL";
constexpr const char* kUnknownProfile = "No profile associated with the provided handle";

Zeb_GraphHandle_t graphOut;
Zeb_Tensor_t tensor;
const ZebProfile_EventId_t* events;
uint32_t count;
const ZebDevice_PlatformInfo_t* platformInfo;

// Calls on an existing context, graph, device or profile, by the handle they are given.
template <class Handle>
using HandleCall = std::function<Zeb_ErrorHandle_t(Recorder&, Handle)>;

std::vector<std::pair<std::string, HandleCall<Zeb_GraphHandle_t>>> graphCalls() {
  return {
      {"graphCreateSubgraph",
       [](Recorder& r, Zeb_GraphHandle_t g) {
         return entry::graphCreateSubgraph(r, g, "sub", &graphOut);
       }},
      {"graphSetConfig",
       [](Recorder& r, Zeb_GraphHandle_t g) { return entry::graphSetConfig(r, g, nullptr); }},
      {"graphAddNode",
       [](Recorder& r, Zeb_GraphHandle_t g) {
         return entry::graphAddNode(r, g, Zeb_OpConfig_t{});
       }},
      {"graphFinalize",
       [](Recorder& r, Zeb_GraphHandle_t g) {
         return entry::graphFinalize(r, g, nullptr, nullptr);
       }},
      {"graphExecute",
       [](Recorder& r, Zeb_GraphHandle_t g) {
         return entry::graphExecute(r, g, nullptr, 0, nullptr, 0, nullptr, nullptr);
       }},
      {"tensorCreateGraphTensor",
       [](Recorder& r, Zeb_GraphHandle_t g) {
         return entry::tensorCreateGraphTensor(r, g, &tensor);
       }},
  };
}

std::vector<std::pair<std::string, HandleCall<Zeb_ContextHandle_t>>> contextCalls() {
  return {
      {"contextSetConfig",
       [](Recorder& r, Zeb_ContextHandle_t c) { return entry::contextSetConfig(r, c, nullptr); }},
      {"contextGetBinarySize",
       [](Recorder& r, Zeb_ContextHandle_t c) {
         Zeb_ContextBinarySize_t size;
         return entry::contextGetBinarySize(r, c, &size);
       }},
      {"contextGetBinary",
       [](Recorder& r, Zeb_ContextHandle_t c) {
         char buffer[4];
         Zeb_ContextBinarySize_t written;
         return entry::contextGetBinary(r, c, buffer, sizeof buffer, &written);
       }},
  };
}

std::vector<std::pair<std::string, HandleCall<Zeb_DeviceHandle_t>>> deviceCalls() {
  return {
      {"deviceSetConfig",
       [](Recorder& r, Zeb_DeviceHandle_t d) { return entry::deviceSetConfig(r, d, nullptr); }},
      {"deviceGetInfo",
       [](Recorder& r, Zeb_DeviceHandle_t d) { return entry::deviceGetInfo(r, d, &platformInfo); }},
      {"deviceFree", [](Recorder& r, Zeb_DeviceHandle_t d) { return entry::deviceFree(r, d); }},
  };
}

std::vector<std::pair<std::string, HandleCall<Zeb_ProfileHandle_t>>> profileCalls() {
  return {
      {"profileSetConfig",
       [](Recorder& r, Zeb_ProfileHandle_t p) { return entry::profileSetConfig(r, p, nullptr); }},
      {"profileGetEvents",
       [](Recorder& r, Zeb_ProfileHandle_t p) {
         return entry::profileGetEvents(r, p, &events, &count);
       }},
  };
}

// Each call twice: with a handle of 0 and with a handle that names nothing.
template <class Handle, class Calls>
void addHandleRows(std::vector<GuardRow>& rows, const Calls& calls, Zeb_ErrorHandle_t code,
                   const char* nullMessage, const char* unknownMessage) {
  for (const auto& [name, call] : calls) {
    rows.push_back({name + "_NullHandle",
                    [call = call](ApiSession& s) { return call(s.recorder, Handle{}); }, code,
                    nullMessage, true});
    rows.push_back(
        {name + "_UnknownHandle",
         [call = call](ApiSession& s) { return call(s.recorder, unknownHandle<Handle>()); }, code,
         unknownMessage, true});
  }
}

std::vector<GuardRow> guardRows() {
  std::vector<GuardRow> rows = {
      {"backendCreate_NullHandlePointer",
       [](ApiSession& s) { return entry::backendCreate(s.recorder, nullptr, nullptr, nullptr); },
       4004, "Provided backend handle pointer is NULL", false},
      {"contextCreate_NullHandlePointer",
       [](ApiSession& s) {
         return entry::contextCreate(s.recorder, nullptr, nullptr, nullptr, nullptr);
       },
       5000, "Provided context handle pointer is NULL", true},
      {"contextCreateFromBinary_NullHandlePointer",
       [](ApiSession& s) {
         return entry::contextCreateFromBinary(s.recorder, nullptr, nullptr, nullptr, "b", 1,
                                               nullptr, nullptr);
       },
       5000, "Provided context handle pointer is NULL", true},
      {"contextCreateFromBinaryWithSignal_NullHandlePointer",
       [](ApiSession& s) {
         return entry::contextCreateFromBinaryWithSignal(s.recorder, nullptr, nullptr, nullptr, "b",
                                                         1, nullptr, nullptr, nullptr);
       },
       5000, "Provided context handle pointer is NULL", true},
      {"contextFree_NullHandle",
       [](ApiSession& s) { return entry::contextFree(s.recorder, nullptr, nullptr); }, 5002,
       kNullContext, true},
      {"tensorCreateContextTensor_NullTensor",
       [](ApiSession& s) {
         return entry::tensorCreateContextTensor(s.recorder, s.knownContext(), nullptr);
       },
       7004, kNullTensor, false},
      {"tensorCreateContextTensor_NullContext",
       [](ApiSession& s) { return entry::tensorCreateContextTensor(s.recorder, nullptr, &tensor); },
       6001, kNullContext, true},
      {"tensorCreateContextTensor_UnknownContext",
       [](ApiSession& s) {
         return entry::tensorCreateContextTensor(s.recorder, unknownHandle<Zeb_ContextHandle_t>(),
                                                 &tensor);
       },
       5002, kUnknownContext, true},
      {"tensorCreateGraphTensor_NullTensor",
       [](ApiSession& s) {
         return entry::tensorCreateGraphTensor(s.recorder, s.knownGraph(), nullptr);
       },
       7004, kNullTensor, false},
      {"graphCreate_NameTaken",
       [](ApiSession& s) {
         // "a-b" and "a.b" make the same identifier.
         record::createGraph(*s.recorder.findContext(handleValue(s.knownContext())), "a-b");
         return entry::graphCreate(s.recorder, s.knownContext(), "a.b", nullptr, &graphOut);
       },
       6003, "Graph with name a.b already exists within the context", true},
      {"profileCreate_NullHandlePointer",
       [](ApiSession& s) {
         return entry::profileCreate(s.recorder, nullptr, ZEB_PROFILE_LEVEL_BASIC, nullptr);
       },
       1004, "Provided profile handle pointer is NULL", true},
      {"profileFree_NullHandle",
       [](ApiSession& s) { return entry::profileFree(s.recorder, nullptr); }, 12000, kNullProfile,
       true},
      {"deviceCreate_NullHandlePointer",
       [](ApiSession& s) { return entry::deviceCreate(s.recorder, nullptr, nullptr, nullptr); },
       1004, "Provided device handle pointer is NULL", true},
  };
  // graphCreate and graphRetrieve share their checks.
  const std::vector<
      std::pair<std::string, std::function<Zeb_ErrorHandle_t(Recorder&, Zeb_ContextHandle_t,
                                                             const char*, Zeb_GraphHandle_t*)>>>
      namedGraphCalls = {
          {"graphCreate",
           [](Recorder& r, Zeb_ContextHandle_t c, const char* n, Zeb_GraphHandle_t* g) {
             return entry::graphCreate(r, c, n, nullptr, g);
           }},
          {"graphRetrieve", entry::graphRetrieve},
      };
  for (const auto& [name, call] : namedGraphCalls) {
    rows.push_back(
        {name + "_NullContext",
         [call = call](ApiSession& s) { return call(s.recorder, nullptr, "g", &graphOut); }, 5002,
         kNullContext, true});
    rows.push_back({name + "_UnknownContext",
                    [call = call](ApiSession& s) {
                      return call(s.recorder, unknownHandle<Zeb_ContextHandle_t>(), "g", &graphOut);
                    },
                    6001, kUnknownContext, true});
    rows.push_back({name + "_NullName",
                    [call = call](ApiSession& s) {
                      return call(s.recorder, s.knownContext(), nullptr, &graphOut);
                    },
                    6000, kNullGraphName, true});
    rows.push_back(
        {name + "_NullGraphPointer",
         [call = call](ApiSession& s) { return call(s.recorder, s.knownContext(), "g", nullptr); },
         6000, kNullGraphName, true});
  }
  addHandleRows<Zeb_ContextHandle_t>(rows, contextCalls(), 5002, kNullContext, kUnknownContext);
  addHandleRows<Zeb_GraphHandle_t>(rows, graphCalls(), 6001, kNullGraph, kUnknownGraph);
  addHandleRows<Zeb_DeviceHandle_t>(rows, deviceCalls(), 14000, kNullDevice, kUnknownDevice);
  addHandleRows<Zeb_ProfileHandle_t>(rows, profileCalls(), 12000, kNullProfile, kUnknownProfile);
  return rows;
}

class GuardTest : public testing::TestWithParam<GuardRow> {
 protected:
  ApiSession session;
};

TEST_P(GuardTest, RefusesWithTheFamilyCodeAndMessage) {
  const GuardRow& row = GetParam();
  LogCapture log;
  EXPECT_EQ(row.call(session), row.code);
  EXPECT_EQ(log.texts(), std::vector<std::string>{row.message});
  EXPECT_EQ(session.recorder.started(), row.startsFirst);
  session.expectNothingRecorded();
}

TEST_P(GuardTest, FailedStartComesBeforeTheChecksThatFollowIt) {
  const GuardRow& row = GetParam();
  session.blockOutput();
  LogCapture log;
  if (row.startsFirst) {
    EXPECT_EQ(row.call(session), 4000u);
    EXPECT_EQ(log.texts(), std::vector<std::string>{session.output().string() + " already exists"});
  } else {
    EXPECT_EQ(row.call(session), row.code);
    EXPECT_EQ(log.texts(), std::vector<std::string>{row.message});
  }
  EXPECT_FALSE(session.recorder.started());
  EXPECT_TRUE(std::filesystem::is_regular_file(session.output()));
}

TEST_P(GuardTest, WithoutALoggerTheMessageIsDroppedAndTheCodeReturned) {
  const GuardRow& row = GetParam();
  LogCapture log;
  ASSERT_EQ(zeb::log::release(), 0u);  // the capture's logger is gone from here on
  EXPECT_EQ(row.call(session), row.code);
  EXPECT_TRUE(log.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(AllFamilies, GuardTest, testing::ValuesIn(guardRows()),
                         [](const testing::TestParamInfo<GuardRow>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace zeb::test
