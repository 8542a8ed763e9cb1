// Every refusal of every entry point: its code, its one message ("" for none), nothing written.
#include <gtest/gtest.h>

#include "api/entry_points.h"
#include "api/provider.h"
#include "support/session.h"

namespace zeb::test {
namespace {

using namespace entry;
using B = Zeb_BackendHandle_t; using C = Zeb_ContextHandle_t; using G = Zeb_GraphHandle_t;
using P = Zeb_ProfileHandle_t; using D = Zeb_DeviceHandle_t;

// Handles 0 and one never issued, as each kind of handle.
template <class Handle> const Handle zero{};
template <class Handle> const Handle unknown = as<Handle>(kUnknownHandle);

struct Refusals : testing::Test {
  void SetUp() override { ASSERT_EQ(r.start(), 0u); }
  Session s;
  Recorder& r = s.recorder;
  const ZEB_INTERFACE_VER_TYPE table = functionTable();
};

#define EXPECT_REFUSED(code, message, call)                                                          \
  do {                                                                                               \
    const std::string before = s.model();                                                            \
    s.log.clear();                                                                                   \
    EXPECT_EQ(call, Zeb_ErrorHandle_t{code}) << #call;                                               \
    EXPECT_EQ(s.log.texts(), std::vector<std::string>(*message ? 1u : 0u, message)) << #call;          \
    EXPECT_EQ(s.model(), before) << #call;                                                           \
  } while (0)

constexpr const char *kNoBackend = "No backend associated with the provided handle",
                     *kNoContext = "No context associated with the provided handle",
                     *kNoProfile = "No profile associated with the provided handle",
                     *kNoDevice = "No device associated with the provided handle",
                     *kNullContext = "Provided context handle is NULL", *kNullGraph = "Provided graph handle is NULL",
                     *kNullContextPointer = "Provided context handle pointer is NULL",
                     *kNullName = "Provided graph handle or graph name is NULL", *kNullTensor = "Provided tensor ptr is NULL";

C context; G graph; P profile; Zeb_Tensor_t tensor; Zeb_ContextBinarySize_t size; uint32_t count; char buffer[4];
const ZebProfile_EventId_t* events;
const ZebDevice_PlatformInfo_t* info;

TEST_F(Refusals, Backend) {
  EXPECT_REFUSED(4004, "Provided backend handle pointer is NULL", backendCreate(r, nullptr, nullptr, nullptr));
  EXPECT_REFUSED(4011, kNoBackend, backendSetConfig(r, unknown<B>, nullptr));
  EXPECT_REFUSED(4011, kNoBackend, backendRegisterOpPackage(r, unknown<B>, "p", "i", "t"));
  const ZebBackend_OperationName_t* operations = nullptr;
  EXPECT_REFUSED(4011, kNoBackend, backendGetSupportedOperations(r, unknown<B>, &count, &operations));
  B freed = nullptr;
  backendCreate(r, nullptr, nullptr, &freed), backendFree(r, freed);
  EXPECT_REFUSED(4011, kNoBackend, backendFree(r, freed));
}

TEST_F(Refusals, Context) {
  EXPECT_REFUSED(5000, kNullContextPointer, contextCreate(r, nullptr, nullptr, nullptr, nullptr));
  context = unknown<C>;
  EXPECT_REFUSED(4011, kNoBackend, contextCreate(r, unknown<B>, nullptr, nullptr, &context));
  EXPECT_EQ(context, nullptr);  // cleared first, and left so by the refusal
  EXPECT_REFUSED(14000, kNoDevice, contextCreate(r, nullptr, unknown<D>, nullptr, &context));
  EXPECT_REFUSED(5000, kNullContextPointer, contextCreateFromBinary(r, nullptr, nullptr, nullptr, "b", 1, nullptr, nullptr));
  EXPECT_REFUSED(5000, kNullContextPointer,
                 contextCreateFromBinaryWithSignal(r, nullptr, nullptr, nullptr, "b", 1, nullptr, nullptr, nullptr));
  for (const C handle : {zero<C>, unknown<C>}) {
    const char* message = handle ? kNoContext : kNullContext;
    EXPECT_REFUSED(5002, message, contextSetConfig(r, handle, nullptr));
    EXPECT_REFUSED(5002, message, contextGetBinarySize(r, handle, &size));
    EXPECT_REFUSED(5002, message, contextGetBinary(r, handle, buffer, 4, &size));
  }
  EXPECT_REFUSED(5002, kNullContext, contextFree(r, zero<C>, nullptr));
  C freed = nullptr;
  contextCreate(r, nullptr, nullptr, nullptr, &freed), contextFree(r, freed, nullptr);
  EXPECT_REFUSED(5002, kNoContext, contextSetConfig(r, freed, nullptr));
  EXPECT_REFUSED(5002, "No context associated with the provided handle.", contextFree(r, freed, nullptr));
}

// graphCreate and graphRetrieve report an unknown context as a graph error.
TEST_F(Refusals, Graph) {
  const C known = as<C>(r.createContext().handle);
  EXPECT_REFUSED(5002, kNullContext, graphCreate(r, zero<C>, "g", nullptr, &graph));
  EXPECT_REFUSED(6001, kNoContext, graphCreate(r, unknown<C>, "g", nullptr, &graph));
  EXPECT_REFUSED(6000, kNullName, graphCreate(r, known, nullptr, nullptr, &graph));
  EXPECT_REFUSED(6000, kNullName, graphCreate(r, known, "g", nullptr, nullptr));
  EXPECT_REFUSED(5002, kNullContext, graphRetrieve(r, zero<C>, "g", &graph));
  EXPECT_REFUSED(6001, kNoContext, graphRetrieve(r, unknown<C>, "g", &graph));
  EXPECT_REFUSED(6000, kNullName, graphRetrieve(r, known, nullptr, &graph));
  for (const G handle : {zero<G>, unknown<G>}) {
    const char* message = handle ? "No graph associated with the provided handle" : kNullGraph;
    EXPECT_REFUSED(6001, message, graphCreateSubgraph(r, handle, "s", &graph));
    EXPECT_REFUSED(6001, message, graphSetConfig(r, handle, nullptr));
    EXPECT_REFUSED(6001, message, graphAddNode(r, handle, {}));
    EXPECT_REFUSED(6001, message, graphFinalize(r, handle, nullptr, nullptr));
    EXPECT_REFUSED(6001, message, graphExecute(r, handle, nullptr, 0, nullptr, 0, nullptr, nullptr));
    EXPECT_REFUSED(6001, message, tensorCreateGraphTensor(r, handle, &tensor));
  }
}

// tensorCreateContextTensor reports a context handle of 0 as a graph error.
TEST_F(Refusals, Tensor) {
  const C known = as<C>(r.createContext().handle);
  EXPECT_REFUSED(7004, kNullTensor, tensorCreateContextTensor(r, known, nullptr));
  EXPECT_REFUSED(6001, kNullContext, tensorCreateContextTensor(r, zero<C>, &tensor));
  EXPECT_REFUSED(5002, kNoContext, tensorCreateContextTensor(r, unknown<C>, &tensor));
  EXPECT_REFUSED(7004, kNullTensor, tensorCreateGraphTensor(r, unknown<G>, nullptr));
}

TEST_F(Refusals, Profile) {
  EXPECT_REFUSED(1004, "Provided profile handle pointer is NULL",
                 profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, nullptr));
  EXPECT_REFUSED(4011, kNoBackend, profileCreate(r, unknown<B>, ZEB_PROFILE_LEVEL_BASIC, &profile));
  for (const P handle : {zero<P>, unknown<P>}) {
    const char* message = handle ? kNoProfile : "Provided profile handle is NULL";
    EXPECT_REFUSED(12000, message, profileSetConfig(r, handle, nullptr));
    EXPECT_REFUSED(12000, message, profileGetEvents(r, handle, &events, &count));
  }
  EXPECT_REFUSED(12000, "Provided profile handle is NULL", profileFree(r, zero<P>));
  P freed = nullptr;
  profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, &freed), profileFree(r, freed);
  EXPECT_REFUSED(12000, "No profile associated with the provided handle.", profileFree(r, freed));
}

TEST_F(Refusals, Device) {
  EXPECT_REFUSED(1004, "Provided device handle pointer is NULL", deviceCreate(r, nullptr, nullptr, nullptr));
  for (const D handle : {zero<D>, unknown<D>}) {
    const char* message = handle ? kNoDevice : "Provided device handle is NULL";
    EXPECT_REFUSED(14000, message, deviceSetConfig(r, handle, nullptr));
    EXPECT_REFUSED(14000, message, deviceGetInfo(r, handle, &info));
    EXPECT_REFUSED(14000, message, deviceFree(r, handle));
  }
  // A live context's handle names no device, and a live device's names no context.
  const uint64_t liveContext = r.createContext().handle, liveDevice = r.createDevice();
  EXPECT_REFUSED(14000, kNoDevice, deviceFree(r, as<D>(liveContext)));
  EXPECT_REFUSED(5002, kNoContext, contextSetConfig(r, as<C>(liveDevice), nullptr));
}

// The unsupported slots, and the checks that some of them make first.
TEST_F(Refusals, UnsupportedSlots) {
  const char* text = nullptr;
  EXPECT_REFUSED(1000, "", table.graphExecuteAsync(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr));
  EXPECT_REFUSED(1000, "", table.memRegister(nullptr, nullptr, 1, nullptr));
  EXPECT_REFUSED(1000, "", table.memDeRegister(nullptr, 1));
  EXPECT_REFUSED(1000, "", table.deviceFreePlatformInfo(nullptr, nullptr));
  EXPECT_REFUSED(1000, "", table.signalCreate(nullptr, nullptr));
  EXPECT_REFUSED(1000, "", table.signalSetConfig(nullptr, nullptr));
  EXPECT_REFUSED(1000, "", table.signalTrigger(nullptr));
  EXPECT_REFUSED(1000, "", table.signalFree(nullptr));
  EXPECT_REFUSED(1000, "", errorGetMessage(r, 1000, &text));
  EXPECT_REFUSED(1000, "", errorGetVerboseMessage(r, 1000, &text));
  EXPECT_REFUSED(1000, "", errorFreeVerboseMessage(r, "m"));

  const Zeb_Tensor_t kindOne{ZEB_TENSOR_VERSION_1, {}}, kindTwo{ZEB_TENSOR_VERSION_2, {}};
  const Zeb_Tensor_t *ones[] = {&kindOne}, *twos[] = {&kindTwo};
  for (const auto update : {table.graphUpdateInputTensors, table.graphUpdateOutputTensors}) {
    EXPECT_REFUSED(6001, "", update(zero<G>, ones, 1));
    EXPECT_REFUSED(6000, "", update(unknown<G>, nullptr, 1));
    EXPECT_REFUSED(6000, "", update(unknown<G>, ones, 0));
    EXPECT_REFUSED(6000, "", update(unknown<G>, twos, 1));
    EXPECT_REFUSED(1000, "", update(unknown<G>, ones, 1));
  }

  const ZebGraph_ExecutionEnvironment_t kindZero{0, nullptr}, kindOneEnvironment{1, nullptr};
  const ZebGraph_ExecutionEnvironment_t *zeros[] = {&kindZero, nullptr}, *none[] = {nullptr},
                                        *onesEnvironment[] = {&kindOneEnvironment, nullptr};
  EXPECT_REFUSED(6001, kNullGraph, graphPrepareExecutionEnvironment(r, zero<G>, zeros));
  EXPECT_REFUSED(6000, "", graphPrepareExecutionEnvironment(r, unknown<G>, nullptr));
  EXPECT_REFUSED(0, "", graphPrepareExecutionEnvironment(r, unknown<G>, none));
  EXPECT_REFUSED(6000, "", graphPrepareExecutionEnvironment(r, unknown<G>, onesEnvironment));
  EXPECT_REFUSED(1000, "", graphPrepareExecutionEnvironment(r, unknown<G>, zeros));
}

}  // namespace
}  // namespace zeb::test
