// Every refusal of every entry point, as the entry-point tables give it: the
// code, the one message logged, and nothing written to the model file. The
// recorder has started before each call.
#include <gtest/gtest.h>

#include <functional>

#include "api/entry_points.h"
#include "api/provider.h"
#include "support/session.h"

namespace zeb::test {
namespace {

// The handle a row passes: 0, one never issued, a registered context, or one
// created and freed through the entry points first.
enum class Given { kZero, kUnknown, kContext, kFreedBackend, kFreedContext, kFreedProfile };

uint64_t handleFor(Given given, Recorder& r) {
  switch (given) {
    case Given::kZero: return 0;
    case Given::kUnknown: return kUnknownHandle;
    case Given::kContext: return r.createContext();
    case Given::kFreedBackend: {
      Zeb_BackendHandle_t backend = nullptr;
      entry::backendCreate(r, nullptr, nullptr, &backend);
      entry::backendFree(r, backend);
      return handleValue(backend);
    }
    case Given::kFreedContext: {
      Zeb_ContextHandle_t context = nullptr;
      entry::contextCreate(r, nullptr, nullptr, nullptr, &context);
      entry::contextFree(r, context, nullptr);
      return handleValue(context);
    }
    case Given::kFreedProfile: {
      Zeb_ProfileHandle_t profile = nullptr;
      entry::profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, &profile);
      entry::profileFree(r, profile);
      return handleValue(profile);
    }
  }
  return 0;
}

using Call = std::function<Zeb_ErrorHandle_t(Recorder&, uint64_t)>;
#define CALL(expression) [](Recorder & r, uint64_t h) -> Zeb_ErrorHandle_t { \
  (void)r, (void)h;                                                         \
  return expression;                                                        \
}

struct Row {
  const char* name;
  Given given;
  Call call;
  Zeb_ErrorHandle_t code;
  const char* message;  // "" when nothing is logged
};
std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

// Arguments the calls point to.
Zeb_ContextHandle_t contextOut;
Zeb_GraphHandle_t graphOut;
Zeb_ProfileHandle_t profileOut;
Zeb_Tensor_t tensor;
Zeb_ContextBinarySize_t size;
uint32_t count;
const ZebBackend_OperationName_t* operations;
const ZebProfile_EventId_t* events;
const ZebDevice_PlatformInfo_t* info;
const char* text;
char buffer[4];

const Zeb_Tensor_t kindOne{ZEB_TENSOR_VERSION_1, {}};
const Zeb_Tensor_t kindTwo{ZEB_TENSOR_VERSION_2, {}};
const Zeb_Tensor_t* kindOneList[] = {&kindOne};
const Zeb_Tensor_t* kindTwoList[] = {&kindTwo};
const ZebGraph_ExecutionEnvironment_t kindZeroEnvironment{0, nullptr};
const ZebGraph_ExecutionEnvironment_t kindOneEnvironment{1, nullptr};
const ZebGraph_ExecutionEnvironment_t* kindZeroEnvironments[] = {&kindZeroEnvironment, nullptr};
const ZebGraph_ExecutionEnvironment_t* kindOneEnvironments[] = {&kindOneEnvironment, nullptr};
const ZebGraph_ExecutionEnvironment_t* noEnvironment[] = {nullptr};

const ZEB_INTERFACE_VER_TYPE& table() {
  static const ZEB_INTERFACE_VER_TYPE functions = functionTable();
  return functions;
}

constexpr const char* kNoBackend = "No backend associated with the provided handle";
constexpr const char* kNullContext = "Provided context handle is NULL";
constexpr const char* kNoContext = "No context associated with the provided handle";
constexpr const char* kNullGraph = "Provided graph handle is NULL";
constexpr const char* kNoGraph = "No graph associated with the provided handle";
constexpr const char* kNullName = "Provided graph handle or graph name is NULL";
constexpr const char* kNullTensor = "Provided tensor ptr is NULL";
constexpr const char* kNullProfile = "Provided profile handle is NULL";
constexpr const char* kNoProfile = "No profile associated with the provided handle";
constexpr const char* kNullDevice = "Provided device handle is NULL";
constexpr const char* kNoDevice = "No device associated with the provided handle";

using B = Zeb_BackendHandle_t;
using C = Zeb_ContextHandle_t;
using G = Zeb_GraphHandle_t;
using P = Zeb_ProfileHandle_t;
using D = Zeb_DeviceHandle_t;
using namespace entry;
const Given kZero = Given::kZero, kUnknown = Given::kUnknown, kContext = Given::kContext;

const Row kRows[] = {
    {"backendCreate_NullPointer", kZero, CALL(backendCreate(r, nullptr, nullptr, nullptr)), 4004,
     "Provided backend handle pointer is NULL"},
    {"backendSetConfig_Unknown", kUnknown, CALL(backendSetConfig(r, as<B>(h), nullptr)), 4011, kNoBackend},
    {"backendRegisterOpPackage_Unknown", kUnknown,
     CALL(backendRegisterOpPackage(r, as<B>(h), "p", "i", "t")), 4011, kNoBackend},
    {"backendGetSupportedOperations_Unknown", kUnknown,
     CALL(backendGetSupportedOperations(r, as<B>(h), &count, &operations)), 4011, kNoBackend},
    {"backendFree_Unknown", kUnknown, CALL(backendFree(r, as<B>(h))), 4011, kNoBackend},
    {"backendFree_Freed", Given::kFreedBackend, CALL(backendFree(r, as<B>(h))), 4011, kNoBackend},
    {"contextCreate_NullPointer", kZero, CALL(contextCreate(r, nullptr, nullptr, nullptr, nullptr)),
     5000, "Provided context handle pointer is NULL"},
    {"contextCreate_UnknownBackend", kUnknown,
     CALL(contextCreate(r, as<B>(h), nullptr, nullptr, &contextOut)), 4011, kNoBackend},
    {"contextCreate_UnknownDevice", kUnknown,
     CALL(contextCreate(r, nullptr, as<D>(h), nullptr, &contextOut)), 14000, kNoDevice},
    {"contextCreateFromBinary_NullPointer", kZero,
     CALL(contextCreateFromBinary(r, nullptr, nullptr, nullptr, "b", 1, nullptr, nullptr)), 5000,
     "Provided context handle pointer is NULL"},
    {"contextCreateFromBinaryWithSignal_NullPointer", kZero,
     CALL(contextCreateFromBinaryWithSignal(r, nullptr, nullptr, nullptr, "b", 1, nullptr, nullptr,
                                            nullptr)),
     5000, "Provided context handle pointer is NULL"},
    {"contextSetConfig_Zero", kZero, CALL(contextSetConfig(r, as<C>(h), nullptr)), 5002, kNullContext},
    {"contextSetConfig_Unknown", kUnknown, CALL(contextSetConfig(r, as<C>(h), nullptr)), 5002, kNoContext},
    {"contextSetConfig_Freed", Given::kFreedContext, CALL(contextSetConfig(r, as<C>(h), nullptr)),
     5002, kNoContext},
    {"contextGetBinarySize_Zero", kZero, CALL(contextGetBinarySize(r, as<C>(h), &size)), 5002,
     kNullContext},
    {"contextGetBinarySize_Unknown", kUnknown, CALL(contextGetBinarySize(r, as<C>(h), &size)), 5002,
     kNoContext},
    {"contextGetBinary_Zero", kZero, CALL(contextGetBinary(r, as<C>(h), buffer, 4, &size)), 5002,
     kNullContext},
    {"contextGetBinary_Unknown", kUnknown, CALL(contextGetBinary(r, as<C>(h), buffer, 4, &size)),
     5002, kNoContext},
    {"contextFree_Zero", kZero, CALL(contextFree(r, as<C>(h), nullptr)), 5002, kNullContext},
    {"contextFree_Unknown", kUnknown, CALL(contextFree(r, as<C>(h), nullptr)), 5002,
     "No context associated with the provided handle."},
    {"contextFree_Freed", Given::kFreedContext, CALL(contextFree(r, as<C>(h), nullptr)), 5002,
     "No context associated with the provided handle."},
    {"graphCreate_ZeroContext", kZero, CALL(graphCreate(r, as<C>(h), "g", nullptr, &graphOut)), 5002,
     kNullContext},
    {"graphCreate_UnknownContext", kUnknown, CALL(graphCreate(r, as<C>(h), "g", nullptr, &graphOut)),
     6001, kNoContext},
    {"graphCreate_NullName", kContext, CALL(graphCreate(r, as<C>(h), nullptr, nullptr, &graphOut)),
     6000, kNullName},
    {"graphCreate_NullPointer", kContext, CALL(graphCreate(r, as<C>(h), "g", nullptr, nullptr)),
     6000, kNullName},
    {"graphRetrieve_ZeroContext", kZero, CALL(graphRetrieve(r, as<C>(h), "g", &graphOut)), 5002,
     kNullContext},
    {"graphRetrieve_UnknownContext", kUnknown, CALL(graphRetrieve(r, as<C>(h), "g", &graphOut)), 6001,
     kNoContext},
    {"graphRetrieve_NullName", kContext, CALL(graphRetrieve(r, as<C>(h), nullptr, &graphOut)), 6000,
     kNullName},
    {"graphCreateSubgraph_Zero", kZero, CALL(graphCreateSubgraph(r, as<G>(h), "s", &graphOut)), 6001,
     kNullGraph},
    {"graphCreateSubgraph_Unknown", kUnknown, CALL(graphCreateSubgraph(r, as<G>(h), "s", &graphOut)),
     6001, kNoGraph},
    {"graphSetConfig_Zero", kZero, CALL(graphSetConfig(r, as<G>(h), nullptr)), 6001, kNullGraph},
    {"graphSetConfig_Unknown", kUnknown, CALL(graphSetConfig(r, as<G>(h), nullptr)), 6001, kNoGraph},
    {"graphAddNode_Zero", kZero, CALL(graphAddNode(r, as<G>(h), {})), 6001, kNullGraph},
    {"graphAddNode_Unknown", kUnknown, CALL(graphAddNode(r, as<G>(h), {})), 6001, kNoGraph},
    {"graphFinalize_Zero", kZero, CALL(graphFinalize(r, as<G>(h), nullptr, nullptr)), 6001, kNullGraph},
    {"graphFinalize_Unknown", kUnknown, CALL(graphFinalize(r, as<G>(h), nullptr, nullptr)), 6001,
     kNoGraph},
    {"graphExecute_Zero", kZero,
     CALL(graphExecute(r, as<G>(h), nullptr, 0, nullptr, 0, nullptr, nullptr)), 6001, kNullGraph},
    {"graphExecute_Unknown", kUnknown,
     CALL(graphExecute(r, as<G>(h), nullptr, 0, nullptr, 0, nullptr, nullptr)), 6001, kNoGraph},
    {"tensorCreateContextTensor_NullTensor", kContext,
     CALL(tensorCreateContextTensor(r, as<C>(h), nullptr)), 7004, kNullTensor},
    {"tensorCreateContextTensor_ZeroContext", kZero,
     CALL(tensorCreateContextTensor(r, as<C>(h), &tensor)), 6001, kNullContext},
    {"tensorCreateContextTensor_UnknownContext", kUnknown,
     CALL(tensorCreateContextTensor(r, as<C>(h), &tensor)), 5002, kNoContext},
    {"tensorCreateGraphTensor_NullTensor", kUnknown,
     CALL(tensorCreateGraphTensor(r, as<G>(h), nullptr)), 7004, kNullTensor},
    {"tensorCreateGraphTensor_Zero", kZero, CALL(tensorCreateGraphTensor(r, as<G>(h), &tensor)), 6001,
     kNullGraph},
    {"tensorCreateGraphTensor_Unknown", kUnknown, CALL(tensorCreateGraphTensor(r, as<G>(h), &tensor)),
     6001, kNoGraph},
    {"profileCreate_NullPointer", kZero,
     CALL(profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, nullptr)), 1004,
     "Provided profile handle pointer is NULL"},
    {"profileCreate_UnknownBackend", kUnknown,
     CALL(profileCreate(r, as<B>(h), ZEB_PROFILE_LEVEL_BASIC, &profileOut)), 4011, kNoBackend},
    {"profileSetConfig_Zero", kZero, CALL(profileSetConfig(r, as<P>(h), nullptr)), 12000, kNullProfile},
    {"profileSetConfig_Unknown", kUnknown, CALL(profileSetConfig(r, as<P>(h), nullptr)), 12000,
     kNoProfile},
    {"profileGetEvents_Zero", kZero, CALL(profileGetEvents(r, as<P>(h), &events, &count)), 12000,
     kNullProfile},
    {"profileGetEvents_Unknown", kUnknown, CALL(profileGetEvents(r, as<P>(h), &events, &count)), 12000,
     kNoProfile},
    {"profileFree_Zero", kZero, CALL(profileFree(r, as<P>(h))), 12000, kNullProfile},
    {"profileFree_Freed", Given::kFreedProfile, CALL(profileFree(r, as<P>(h))), 12000,
     "No profile associated with the provided handle."},
    {"deviceCreate_NullPointer", kZero, CALL(deviceCreate(r, nullptr, nullptr, nullptr)), 1004,
     "Provided device handle pointer is NULL"},
    {"deviceSetConfig_Zero", kZero, CALL(deviceSetConfig(r, as<D>(h), nullptr)), 14000, kNullDevice},
    {"deviceSetConfig_Unknown", kUnknown, CALL(deviceSetConfig(r, as<D>(h), nullptr)), 14000, kNoDevice},
    {"deviceGetInfo_Zero", kZero, CALL(deviceGetInfo(r, as<D>(h), &info)), 14000, kNullDevice},
    {"deviceGetInfo_Unknown", kUnknown, CALL(deviceGetInfo(r, as<D>(h), &info)), 14000, kNoDevice},
    {"deviceFree_Zero", kZero, CALL(deviceFree(r, as<D>(h))), 14000, kNullDevice},
    {"deviceFree_Unknown", kUnknown, CALL(deviceFree(r, as<D>(h))), 14000, kNoDevice},
    // Slots this library does not support, and the checks some of them make first.
    {"slot22_graphExecuteAsync", kZero,
     CALL(table().graphExecuteAsync(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr,
                                    nullptr)),
     1000, ""},
    {"slot35_memRegister", kZero, CALL(table().memRegister(nullptr, nullptr, 1, nullptr)), 1000, ""},
    {"slot38_deviceFreePlatformInfo", kZero, CALL(table().deviceFreePlatformInfo(nullptr, nullptr)),
     1000, ""},
    {"slot44_signalCreate", kZero, CALL(table().signalCreate(nullptr, nullptr)), 1000, ""},
    {"slot48_errorGetMessage", kZero, CALL(errorGetMessage(r, 1000, &text)), 1000, ""},
    {"slot50_errorFreeVerboseMessage", kZero, CALL(errorFreeVerboseMessage(r, "m")), 1000, ""},
    {"slot51_ZeroGraph", kZero, CALL(table().graphUpdateInputTensors(as<G>(h), kindOneList, 1)), 6001,
     ""},
    {"slot51_NullArray", kUnknown, CALL(table().graphUpdateInputTensors(as<G>(h), nullptr, 1)), 6000,
     ""},
    {"slot51_NoTensors", kUnknown, CALL(table().graphUpdateInputTensors(as<G>(h), kindOneList, 0)),
     6000, ""},
    {"slot51_KindTwo", kUnknown, CALL(table().graphUpdateInputTensors(as<G>(h), kindTwoList, 1)), 6000,
     ""},
    {"slot51_KindOne", kUnknown, CALL(table().graphUpdateInputTensors(as<G>(h), kindOneList, 1)), 1000,
     ""},
    {"slot52_KindTwo", kUnknown, CALL(table().graphUpdateOutputTensors(as<G>(h), kindTwoList, 1)),
     6000, ""},
    {"slot53_ZeroGraph", kZero,
     CALL(graphPrepareExecutionEnvironment(r, as<G>(h), kindZeroEnvironments)), 6001, kNullGraph},
    {"slot53_NullArray", kUnknown, CALL(graphPrepareExecutionEnvironment(r, as<G>(h), nullptr)), 6000,
     ""},
    {"slot53_EmptyArray", kUnknown, CALL(graphPrepareExecutionEnvironment(r, as<G>(h), noEnvironment)),
     0, ""},
    {"slot53_KindOne", kUnknown,
     CALL(graphPrepareExecutionEnvironment(r, as<G>(h), kindOneEnvironments)), 6000, ""},
    {"slot53_KindZero", kUnknown,
     CALL(graphPrepareExecutionEnvironment(r, as<G>(h), kindZeroEnvironments)), 1000, ""},
};

class Refusal : public testing::TestWithParam<Row> {};

TEST_P(Refusal, GivesTheCodeLogsTheMessageAndWritesNothing) {
  const Row& row = GetParam();
  Session session;
  ASSERT_EQ(session.recorder.start(), 0u);
  const uint64_t handle = handleFor(row.given, session.recorder);
  const std::string before = session.model();
  session.log.clear();

  EXPECT_EQ(row.call(session.recorder, handle), row.code);
  std::vector<std::string> expected;
  if (*row.message) expected.push_back(row.message);
  EXPECT_EQ(session.log.texts(), expected);
  EXPECT_EQ(session.model(), before);
}

INSTANTIATE_TEST_SUITE_P(EveryEntryPoint, Refusal, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
}  // namespace zeb::test
