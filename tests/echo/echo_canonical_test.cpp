// The echo backend's canonical lines, which the whole-road comparison rests on:
// one row per call it logs, every argument and field given a value of its own
// (lists of two), and the line it must write. A field the oracle drops would
// be lost on both sides of a comparison; here it fails its row.
#include <gtest/gtest.h>

#include <array>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "e2e/builders.h"
#include "echo_backend.h"
#include "echo_state.h"
#include "support/environment.h"
#include "support/scoped_temp_dir.h"

namespace zeb::echo {
namespace {

using namespace e2e;

// Data, and the size and FNV-1a hash its buffer is logged by.
uint8_t bytes[] = {1, 2, 3, 4, 5, 6}, binary[] = {7, 8, 9}, dynamic[] = {1, 0};
float floats[] = {1.0f, 2.0f}, scales[] = {0.5f, 0.25f};
const std::string kBytes = "buf(6,0x9746a713f3a6584a)", kFloats = "buf(8,0x097a69ee2da301d8)";
uint32_t dims[] = {2, 3}, paramDims[] = {2}, outDims[] = {4};
Zeb_ScaleOffset_t pairs[] = {{0.25f, 1}, {0.125f, 2}};
int32_t offsets[] = {-1, 1};
int opaque;  // what custom configurations, extensions and descriptors point to
template <class T> T ptr() { return reinterpret_cast<T>(&opaque); }
template <class T> T with(T value, void (*change)(T&)) { return change(value), value; }

// Tensors of both versions and every encoding, and their canonical texts.
Zeb_Tensor_t t1 = with(tensorV1("t", Zeb_TensorType_t(3), ZEB_DATATYPE_UINT_8, 2, dims, bytes, 6, scaleOffset(0.5f, -3)),
                       +[](Zeb_Tensor_t& t) { t.v1.id = 5, t.v1.dataFormat = 1; });
std::string t1Text(const char* id) {
  return std::string("{version=1,id=") + id + ",name=\"t\",type=3,dataFormat=1,dataType=264,quant={definition=1,encoding=0,"
         "scale=0.5,offset=-3},rank=2,dims=[2,3],memType=0,buf=" + kBytes + "}";
}
Zeb_Tensor_t t2 = tensorV2(tensorV1("u", Zeb_TensorType_t(2), ZEB_DATATYPE_FLOAT_32, 2, nullptr, nullptr, 0, axisScaleOffset(-1, 2, pairs)),
                           dynamic, {Zeb_SparseLayoutType_t(1), {{7}, {8}}}, 1);
std::string t2Text(const char* id) {
  return std::string("{version=2,id=") + id + ",name=\"u\",type=2,dataFormat=0,dataType=562,quant={definition=1,encoding=1,axis=-1,"
         "count=2,scaleOffsets=[{scale=0.25,offset=1},{scale=0.125,offset=2}]},rank=2,dims=NULL,memType=0,buf=buf(NULL),dynamic=[1,0],"
         "sparse={layout=1,specified=7,sparseDims=8},isProduced=1}";
}
Zeb_Tensor_t output = with(tensorV1("o", Zeb_TensorType_t(1), ZEB_DATATYPE_INT_8, 1, outDims, bytes, 6,
                                    bwAxisScaleOffset(8, 0, 2, scales, offsets)),
                           +[](Zeb_Tensor_t& t) { t.v1.memType = Zeb_TensorMemType_t(1); });
Zeb_Tensor_t unknownVersion{Zeb_TensorVersion_t(3), {}}, inputs[] = {t1, unknownVersion};

// Parameters of every kind of scalar, a tensor and an unknown type.
Zeb_Param_t params[] = {
    scalarParam("a", scalar(ZEB_DATATYPE_INT_8, &Zeb_Scalar_t::int8Value, -3)),
    scalarParam("b", scalar(ZEB_DATATYPE_UINT_64, &Zeb_Scalar_t::uint64Value, UINT64_MAX)),
    scalarParam(nullptr, scalar(ZEB_DATATYPE_FLOAT_32, &Zeb_Scalar_t::uint32Value, 0xffc00001u)),  // a NaN's bits
    scalarParam("d", scalar(ZEB_DATATYPE_FLOAT_64, &Zeb_Scalar_t::doubleValue, 2.25)),
    scalarParam("e", scalar(ZEB_DATATYPE_FLOAT_16, &Zeb_Scalar_t::uint16Value, 15360)),
    scalarParam("f", scalar(ZEB_DATATYPE_STRING, &Zeb_Scalar_t::stringValue, "s")),
    scalarParam("g", scalar(Zeb_DataType_t(0x999), &Zeb_Scalar_t::uint32Value, 1)),
    tensorParam("h", tensorV1("tp", Zeb_TensorType_t(4), ZEB_DATATYPE_FLOAT_32, 1, paramDims, floats, 8, bwScaleOffset(4, 1.5f, -8))),
    param(Zeb_ParamType_t(5), "i", &Zeb_Param_t::scalarParam, Zeb_Scalar_t{})};
const std::string kNode =
    "op={version=1,name=\"n\",package=\"pkg\",type=\"Conv\",numParams=9,params=[{paramType=0,name=\"a\",scalar={dataType=8,value=-3}},"
    "{paramType=0,name=\"b\",scalar={dataType=356,value=18446744073709551615}},{paramType=0,name=NULL,scalar={dataType=562,"
    "value=nan:0xffc00001}},{paramType=0,name=\"d\",scalar={dataType=612,value=2.25}},{paramType=0,name=\"e\",scalar={dataType=534,"
    "value=15360}},{paramType=0,name=\"f\",scalar={dataType=1544,value=\"s\"}},{paramType=0,name=\"g\",scalar={dataType=2457}},"
    "{paramType=1,name=\"h\",tensor={version=1,id=id:0,name=\"tp\",type=4,dataFormat=0,dataType=562,quant={definition=0,encoding=2,"
    "bitwidth=4,scale=1.5,offset=-8},rank=1,dims=[2],memType=0,buf=" + kFloats + "}},{paramType=5,name=\"i\"}],numInputs=2,inputs=[" +
    t1Text("tensor#1") + ",{version=3}],numOutputs=1,outputs=[{version=1,id=id:0,name=\"o\",type=1,dataFormat=0,dataType=8,quant={"
    "definition=1,encoding=3,bitwidth=8,axis=0,count=2,scales=[0.5,0.25],offsets=[-1,1]},rank=1,dims=[4],memType=1,buf=unread}]}";
Zeb_OpConfig_t node = opConfig("n", "pkg", "Conv", 9, params, 2, inputs, 1, &output), nodeV2{Zeb_OpConfigVersion_t(2), {}};

// A platform tree of two hardware devices, the first with two cores.
ZebDevice_CoreInfo_t cores[] = {deviceCore(21, 22), {ZEB_DEVICE_CORE_INFO_VERSION_1, {23, 24, ptr<ZebDevice_CoreInfoExtension_t>()}}};
ZebDevice_HardwareDeviceInfo_t hardware[] = {
    {ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1, {11, 12, 2, cores, ptr<ZebDevice_DeviceInfoExtension_t>()}},
    hardwareDevice(13, 14, 0, nullptr)};
ZebDevice_PlatformInfo_t platform = platformInfo(2, hardware);
const std::string kPlatform =
    "{version=1,numHwDevices=2,hwDevices=[{version=1,deviceId=11,deviceType=12,numCores=2,cores=[{version=1,coreId=21,coreType=22,"
    "extension=NULL},{version=1,coreId=23,coreType=24,extension=ptr}],extension=ptr},{version=1,deviceId=13,deviceType=14,numCores=0,"
    "cores=[],extension=NULL}]}";

// Configurations of every option, and one this API version does not define.
template <class Config> Config option(int value) { return withOption<Config>(decltype(Config::option)(value)); }
const char* graphNames[] = {"a", "b", nullptr};
const BackendConfig backendConfigs[] = {backendErrorReporting(2, 4096), backendPlatform("p\"\\\n\x7f"), custom(backendCustomNull()),
                                        option<BackendConfig>(9)};
const ContextConfig contextConfigs[] = {contextCustomNull(), contextPriority(150), contextErrorReporting(1, 77), contextOemString("oem"),
                                        contextAsyncDepth(9), contextEnableGraphs(graphNames), contextMemoryLimitHint(uint64_t(1) << 40),
                                        contextPersistentBinary(1), option<ContextConfig>(99)};
const ContextConfig moreContextConfigs[] = {
    contextEnableGraphs(nullptr),
    with(contextAsyncDepth(9), +[](ContextConfig& c) { c.asyncExeQueueDepth.type = ZebContext_AsyncExecutionQueueDepthType_t(7); })};
const ZebGraph_Config_t graphConfigs[] = {graphPriority(200), custom(graphCustomNull()), option<ZebGraph_Config_t>(4)};
const ZebDevice_Config_t deviceConfigs[] = {devicePlatformInfo(&platform), deviceCustomNull(), option<ZebDevice_Config_t>(7)};
const ZebProfile_Config_t profileConfigs[] = {profileMaxEvents(10000000000), custom(profileCustomNull()), option<ZebProfile_Config_t>(5)};
const ZebGraph_ExecutionEnvironment_t environment[] = {{3, &opaque}, {4, nullptr}};
const ZebGraph_ExecutionEnvironment_t* environmentList[] = {&environment[0], &environment[1], nullptr};

// The handles the calls make and pass on, and where queries answer.
struct World {
  const ZEB_INTERFACE_VER_TYPE& api;
  Zeb_LogHandle_t log{}; Zeb_BackendHandle_t backend{}; Zeb_DeviceHandle_t device{}; Zeb_ProfileHandle_t profile{};
  Zeb_ContextHandle_t context{}, other{}; Zeb_SignalHandle_t signal{}; Zeb_GraphHandle_t graph{}, subgraph{}; Zeb_MemHandle_t mems[2]{};
  Zeb_ApiVersion_t version{}; uint32_t count{}; const ZebDevice_PlatformInfo_t* info{}; ZebDevice_Infrastructure_t infra{};
  const ZebProfile_EventId_t* events{}; ZebProfile_EventData_t eventData{}; const char* message{}; uint64_t size{}; uint8_t buffer[100]{};
};

struct Row {
  void (*call)(World&);
  std::string line;
};

#define ROW(call, line) {[](World& w) { w.api.call; }, line}
void notify(void*, Zeb_ErrorHandle_t) {}
void logTo(const char*, ZebLog_Level_t, uint64_t, va_list) {}

const Row kRows[] = {
    ROW(logCreate(logTo, ZEB_LOG_LEVEL_INFO, &w.log), "log:logCreate callback=ptr level=3 -> -"),
    ROW(logSetLogLevel(w.log, ZEB_LOG_LEVEL_DEBUG), "log:logSetLogLevel logger=- level=5"),
    ROW(propertyHasCapability(7), "propertyHasCapability key=7"),
    ROW(backendCreate(w.log, listOf(backendConfigs).data(), &w.backend),
        "backendCreate log=- config=[errorReporting={level=2,limit=4096},platform=\"p\\\"\\\\\\x0a\\x7f\",custom=ptr,option=9] -> backend#1"),
    ROW(backendSetConfig(w.backend, nullptr), "backendSetConfig backend=backend#1 config=NULL"),
    ROW(backendGetApiVersion(&w.version), "backendGetApiVersion version=out"),
    ROW(backendGetBuildId(nullptr), "backendGetBuildId id=NULL"),
    ROW(backendRegisterOpPackage(w.backend, "path", "provider", nullptr),
        "backendRegisterOpPackage backend=backend#1 path=\"path\" provider=\"provider\" target=NULL"),
    ROW(backendGetSupportedOperations(w.backend, &w.count, nullptr),
        "backendGetSupportedOperations backend=backend#1 numOperations=out operations=NULL"),
    ROW(deviceGetPlatformInfo(w.log, &w.info), "deviceGetPlatformInfo log=- info=out"),
    ROW(deviceFreePlatformInfo(w.log, &platform), "deviceFreePlatformInfo log=- info=" + kPlatform),
    ROW(deviceGetInfrastructure(&w.infra), "deviceGetInfrastructure infra=out"),
    ROW(deviceCreate(w.log, listOf(deviceConfigs).data(), &w.device),
        "deviceCreate log=- config=[platformInfo=" + kPlatform + ",custom=NULL,option=7] -> device#1"),
    ROW(deviceSetConfig(w.device, listOf({devicePlatformInfo(nullptr)}).data()),
        "deviceSetConfig device=device#1 config=[platformInfo=NULL]"),
    ROW(deviceGetInfo(w.device, nullptr), "deviceGetInfo device=device#1 info=NULL"),
    ROW(profileCreate(w.backend, ZebProfile_Level_t(2), &w.profile), "profileCreate backend=backend#1 level=2 -> profile#1"),
    ROW(profileSetConfig(w.profile, listOf(profileConfigs).data()),
        "profileSetConfig profile=profile#1 config=[maxEvents=10000000000,custom=ptr,option=5]"),
    ROW(profileGetEvents(w.profile, &w.events, nullptr), "profileGetEvents profile=profile#1 events=out numEvents=NULL"),
    ROW(profileGetSubEvents(42, nullptr, &w.count), "profileGetSubEvents event=42 subEvents=NULL numSubEvents=out"),
    ROW(profileGetEventData(43, &w.eventData), "profileGetEventData event=43 data=out"),
    ROW(profileGetExtendedEventData(44, nullptr), "profileGetExtendedEventData event=44 data=NULL"),
    ROW(contextCreate(w.backend, w.device, listOf(contextConfigs).data(), &w.context),
        "contextCreate backend=backend#1 device=device#1 config=[custom=NULL,priority=150,errorReporting={level=1,limit=77},"
        "oemString=\"oem\",asyncExeQueueDepth={type=0,depth=9},enableGraphs=[\"a\",\"b\"],memoryLimitHint=1099511627776,"
        "persistentBinary=1,option=99] -> context#1"),
    ROW(contextSetConfig(w.context, listOf(moreContextConfigs).data()),
        "contextSetConfig context=context#1 config=[enableGraphs=NULL,asyncExeQueueDepth={type=7}]"),
    ROW(contextGetBinarySize(w.context, &w.size), "contextGetBinarySize context=context#1 size=out"),
    ROW(contextGetBinary(w.context, w.buffer, 100, nullptr), "contextGetBinary context=context#1 buffer=out size=100 written=NULL"),
    ROW(contextCreateFromBinary(w.backend, nullptr, nullptr, binary, 3, &w.other, w.profile),
        "contextCreateFromBinary backend=backend#1 device=NULL config=NULL binary=buf(3,0xbf6bca185d6e4119) profile=profile#1 -> context#2"),
    ROW(contextCreateFromBinaryWithSignal(nullptr, w.device, kNoContextConfigs, nullptr, 5, nullptr, nullptr, nullptr),
        "contextCreateFromBinaryWithSignal backend=NULL device=device#1 config=[] binary=buf(NULL) profile=NULL signal=- -> NULL"),
    ROW(contextValidateBinary(w.backend, w.device, nullptr, binary, 2),
        "contextValidateBinary backend=backend#1 device=device#1 config=NULL binary=buf(2,0x08285e07b4e2d40a)"),
    ROW(signalCreate(w.context, &w.signal), "signalCreate context=context#1 -> -"),
    ROW(signalSetConfig(w.signal, nullptr), "signalSetConfig signal=- config=NULL"),
    ROW(signalTrigger(w.signal), "signalTrigger signal=-"),
    ROW(memRegister(w.context, &opaque, 2, w.mems), "memRegister context=context#1 descriptors=ptr num=2 -> [mem#1,mem#2]"),
    ROW(memDeRegister(w.mems, 2), "memDeRegister num=2 handles=[mem#1,mem#2]"),
    ROW(graphCreate(w.context, "g", listOf(graphConfigs).data(), &w.graph),
        "graphCreate context=context#1 name=\"g\" config=[priority=200,custom=ptr,option=4] -> graph#1"),
    ROW(graphCreateSubgraph(w.graph, "sub", &w.subgraph), "graphCreateSubgraph graph=graph#1 name=\"sub\" -> graph#2"),
    ROW(graphSetConfig(w.graph, listOf({graphCustomNull()}).data()), "graphSetConfig graph=graph#1 config=[custom=NULL]"),
    ROW(tensorCreateContextTensor(w.context, &t1), "tensorCreateContextTensor context=context#1 tensor=" + t1Text("id:5") + " -> tensor#1"),
    ROW(tensorCreateGraphTensor(w.subgraph, &t2), "tensorCreateGraphTensor graph=graph#2 tensor=" + t2Text("id:0") + " -> tensor#2"),
    ROW(tensorCreateGraphTensor(w.graph, &unknownVersion), "tensorCreateGraphTensor graph=graph#1 tensor={version=3} -> NULL"),
    ROW(graphAddNode(w.graph, (inputs[0] = t1, node)), "graphAddNode graph=graph#1 " + kNode),
    ROW(backendValidateOpConfig(w.backend, nodeV2), "backendValidateOpConfig backend=backend#1 op={version=2}"),
    ROW(graphFinalize(w.graph, w.profile, w.signal), "graphFinalize graph=graph#1 profile=profile#1 signal=-"),
    ROW(graphRetrieve(w.context, "g", &w.subgraph), "graphRetrieve context=context#1 name=\"g\" -> graph#1"),
    ROW(graphExecute(w.graph, inputs, 2, &t2, 1, nullptr, nullptr),
        "graphExecute graph=graph#1 numInputs=2 inputs=[" + t1Text("tensor#1") + ",{version=3}] numOutputs=1 outputs=[" + t2Text("tensor#2") +
            "] profile=NULL signal=-"),
    ROW(graphExecuteAsync(w.graph, nullptr, 0, nullptr, 0, w.profile, nullptr, notify, &opaque),
        "graphExecuteAsync graph=graph#1 numInputs=0 inputs=[] numOutputs=0 outputs=[] profile=profile#1 signal=- notify=ptr notifyParam=ptr"),
    ROW(graphUpdateInputTensors(w.graph, std::array<const Zeb_Tensor_t*, 2>{&t1, nullptr}.data(), 2),
        "graphUpdateInputTensors graph=graph#1 numTensors=2 tensors=[" + t1Text("tensor#1") + ",NULL]"),
    ROW(graphUpdateOutputTensors(w.graph, nullptr, 1), "graphUpdateOutputTensors graph=graph#1 numTensors=1 tensors=NULL"),
    ROW(graphPrepareExecutionEnvironment(w.graph, environmentList),
        "graphPrepareExecutionEnvironment graph=graph#1 environment=[{kind=3,value=ptr},{kind=4,value=NULL}]"),
    ROW(errorGetMessage(5001, &w.message), "errorGetMessage error=5001 message=out"),
    ROW(errorGetVerboseMessage(5002, nullptr), "errorGetVerboseMessage error=5002 message=NULL"),
    ROW(errorFreeVerboseMessage("m"), "errorFreeVerboseMessage message=\"m\""),
    ROW(signalFree(w.signal), "signalFree signal=-"),
    ROW(contextFree(w.context, w.profile), "contextFree context=context#1 profile=profile#1"),
    ROW(profileFree(w.profile), "profileFree profile=profile#1"),
    ROW(deviceFree(w.device), "deviceFree device=device#1"),
    ROW(backendFree(w.backend), "backendFree backend=backend#1"),
    ROW(logFree(w.log), "log:logFree logger=-"),
};

const ZEB_INTERFACE_VER_TYPE& echoApi() {
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  ZebInterface_getProviders(&providers, &count);
  return providers[0]->ZEB_INTERFACE_VER_NAME;
}

// Rows run in order against one backend, so that handles keep their ordinals.
TEST(EchoBackend, LogsEveryFieldOfEveryCall) {
  const test::ScopedTempDir dir;
  const test::EnvironmentVariable log(kLogVariable, "calls.log");
  resetEchoState(EchoSettings::fromEnvironment());
  World world{echoApi()};
  std::string expected;
  for (const Row& row : kRows) row.call(world), expected += row.line + "\n";
  resetEchoState(EchoSettings{});  // closes the log
  EXPECT_EQ(test::readFile("calls.log"), expected);
}

TEST(EchoBackend, LogsOnlyWhereTheVariableNamesAFile) {
  const test::ScopedTempDir dir;
  resetEchoState(EchoSettings::fromEnvironment());
  echoApi().propertyHasCapability(7);
  resetEchoState(EchoSettings{});
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace zeb::echo
