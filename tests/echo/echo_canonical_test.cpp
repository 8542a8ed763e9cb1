#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "canonical.h"
#include "echo_backend.h"
#include "echo_state.h"
#include "support/scoped_temp_dir.h"

namespace zeb::echo {
namespace {

constexpr const char* kHashOfA = "buf(1,0xaf63dc4c8601ec8c)";  // FNV-1a 64 of "a"
char byteA[] = "a";

template <class Write>
std::string lineOf(const Ordinals& ordinals, Write write) {
  Line line(ordinals, "call");
  write(line.arg("x"));
  return line.finish();
}

Zeb_Tensor_t floatTensor(const char* name, uint32_t* dims, uint32_t rank) {
  Zeb_Tensor_t tensor{};
  tensor.version = ZEB_TENSOR_VERSION_1;
  tensor.v1.name = name;
  tensor.v1.dataType = ZEB_DATATYPE_FLOAT_32;
  tensor.v1.quantizeParams = {ZEB_DEFINITION_UNDEFINED, ZEB_QUANTIZATION_ENCODING_UNDEFINED, {}};
  tensor.v1.rank = rank;
  tensor.v1.dimensions = dims;
  tensor.v1.clientBuf = {byteA, 1};
  return tensor;
}

// ---- structures ------------------------------------------------------------

TEST(EchoCanonical, BufferHashIsFnv1a64) {
  EXPECT_EQ(fnv1a("", 0), 0xcbf29ce484222325ull);
  EXPECT_EQ(fnv1a("foobar", 6), 0x85944171f73967e8ull);
  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [](Line& l) { l.buffer(nullptr, 16); }), "call x=buf(NULL)\n");
  EXPECT_EQ(lineOf(ordinals, [](Line& l) { l.buffer("", 0); }),
            "call x=buf(0,0xcbf29ce484222325)\n");
}

TEST(EchoCanonical, StringsStayOnOneLine) {
  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [](Line& l) { l.string("a\"b\\c\nd\x7f"); }),
            "call x=\"a\\\"b\\\\c\\x0ad\\x7f\"\n");
  EXPECT_EQ(lineOf(ordinals, [](Line& l) { l.string(nullptr); }), "call x=NULL\n");
}

struct EncodingCase {
  const char* label;
  Zeb_QuantizeParams_t params;
  const char* expected;
};

Zeb_ScaleOffset_t pairs[] = {{0.25f, 1}, {0.125f, -2}};
float scales[] = {1.5f, 2.0f};
int32_t offsets[] = {0, -1};

TEST(EchoCanonical, TensorWithEveryEncoding) {
  const EncodingCase cases[] = {
      {"scale-offset",
       {ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET, {}},
       "{definition=1,encoding=0,scale=0.5,offset=-3}"},
      {"axis-scale-offset",
       {ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET, {}},
       "{definition=1,encoding=1,axis=1,count=2,"
       "scaleOffsets=[{scale=0.25,offset=1},{scale=0.125,offset=-2}]}"},
      {"bw-scale-offset",
       {ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET, {}},
       "{definition=1,encoding=2,bitwidth=4,scale=0.1,offset=7}"},
      {"bw-axis-scale-offset",
       {ZEB_DEFINITION_IMPL_GENERATED, ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET, {}},
       "{definition=0,encoding=3,bitwidth=8,axis=0,count=2,scales=[1.5,2],offsets=[0,-1]}"},
      {"undefined",
       {ZEB_DEFINITION_UNDEFINED, ZEB_QUANTIZATION_ENCODING_UNDEFINED, {}},
       "{definition=2147483647,encoding=2147483647}"},
  };
  Zeb_QuantizeParams_t filled[5];
  for (int i = 0; i < 5; ++i) filled[i] = cases[i].params;
  filled[0].scaleOffsetEncoding = {0.5f, -3};
  filled[1].axisScaleOffsetEncoding = {1, 2, pairs};
  filled[2].bwScaleOffsetEncoding = {4, 0.1f, 7};
  filled[3].bwAxisScaleOffsetEncoding = {8, 0, 2, scales, offsets};

  uint32_t dims[] = {1, 4};
  Ordinals ordinals;
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(cases[i].label);
    Zeb_Tensor_t tensor = floatTensor("in", dims, 2);
    tensor.v1.quantizeParams = filled[i];
    EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.tensor(&tensor); }),
              std::string("call x={version=1,id=id:0,name=\"in\",type=0,dataFormat=0,"
                          "dataType=562,quant=") +
                  cases[i].expected + ",rank=2,dims=[1,4],memType=0,buf=" + kHashOfA + "}\n");
  }
}

TEST(EchoCanonical, CountedArraysWithoutElementsOrPointers) {
  Zeb_Tensor_t tensor = floatTensor(nullptr, nullptr, 0);
  tensor.v1.quantizeParams = {ZEB_DEFINITION_DEFINED,
                              ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET, {}};
  tensor.v1.quantizeParams.axisScaleOffsetEncoding = {0, 3, nullptr};
  tensor.v1.memType = ZEB_TENSORMEMTYPE_MEMHANDLE;
  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.tensor(&tensor); }),
            "call x={version=1,id=id:0,name=NULL,type=0,dataFormat=0,dataType=562,"
            "quant={definition=1,encoding=1,axis=0,count=3,scaleOffsets=NULL},"
            "rank=0,dims=[],memType=1,buf=unread}\n");
}

TEST(EchoCanonical, VersionTwoTensor) {
  uint32_t dims[] = {2, 3, 4};
  uint8_t dynamic[] = {0, 1, 0};
  Zeb_Tensor_t tensor{};
  tensor.version = ZEB_TENSOR_VERSION_2;
  Zeb_TensorV2_t& v2 = tensor.v2;
  v2.id = 1000;
  v2.type = ZEB_TENSOR_TYPE_APP_READ;
  v2.dataFormat = 1;
  v2.dataType = ZEB_DATATYPE_UINT_8;
  v2.quantizeParams = {ZEB_DEFINITION_UNDEFINED, ZEB_QUANTIZATION_ENCODING_UNDEFINED, {}};
  v2.rank = 3;
  v2.dimensions = dims;
  v2.clientBuf = {nullptr, 16};
  v2.isDynamicDimensions = dynamic;
  v2.sparseParams.type = ZEB_SPARSE_LAYOUT_HYBRID_COO;
  v2.sparseParams.hybridCoo.numSpecifiedElements = 5;
  v2.sparseParams.hybridCoo.numSparseDimensions = 2;
  v2.isProduced = 1;

  Ordinals ordinals;
  ordinals.addTensorId(1000);
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.tensor(&tensor); }),
            "call x={version=2,id=tensor#1,name=NULL,type=1,dataFormat=1,dataType=264,"
            "quant={definition=2147483647,encoding=2147483647},rank=3,dims=[2,3,4],memType=0,"
            "buf=buf(NULL),dynamic=[0,1,0],sparse={layout=0,specified=5,sparseDims=2},"
            "isProduced=1}\n");
}

Zeb_Param_t scalarParam(const char* name, Zeb_DataType_t type) {
  Zeb_Param_t param{};
  param.paramType = ZEB_PARAMTYPE_SCALAR;
  param.name = name;
  param.scalarParam.dataType = type;
  return param;
}

TEST(EchoCanonical, OpConfigWithParams) {
  uint32_t dims[] = {2};
  Zeb_Param_t params[7] = {
      scalarParam("alpha", ZEB_DATATYPE_FLOAT_32), scalarParam("n", ZEB_DATATYPE_INT_8),
      scalarParam("max", ZEB_DATATYPE_UINT_32),    scalarParam("flag", ZEB_DATATYPE_BOOL_8),
      scalarParam("s", ZEB_DATATYPE_STRING),       scalarParam("odd", Zeb_DataType_t(7)),
  };
  params[0].scalarParam.floatValue = 0.1f;
  params[1].scalarParam.int8Value = -3;
  params[2].scalarParam.uint32Value = 4294967295u;
  params[3].scalarParam.bool8Value = 1;
  params[4].scalarParam.stringValue = "a\"b";
  params[6].paramType = ZEB_PARAMTYPE_TENSOR;
  params[6].name = "w";
  params[6].tensorParam = floatTensor("w", dims, 1);
  Zeb_Tensor_t input = floatTensor("in", dims, 1);

  Zeb_OpConfig_t op{};
  op.version = ZEB_OPCONFIG_VERSION_1;
  op.v1 = {"conv 1", "pkg", "Conv2d", 7, params, 1, &input, 1, nullptr};

  Ordinals ordinals;
  const std::string tensorW = std::string(
                                  "{version=1,id=id:0,name=\"w\",type=0,dataFormat=0,"
                                  "dataType=562,quant={definition=2147483647,encoding=2147483647},"
                                  "rank=1,dims=[2],memType=0,buf=") +
                              kHashOfA + "}";
  std::string tensorIn = tensorW;
  tensorIn.replace(tensorIn.find("\"w\""), 3, "\"in\"");
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.opConfig(op); }),
            "call x={version=1,name=\"conv 1\",package=\"pkg\",type=\"Conv2d\",numParams=7,"
            "params=[{paramType=0,name=\"alpha\",scalar={dataType=562,value=0.1}},"
            "{paramType=0,name=\"n\",scalar={dataType=8,value=-3}},"
            "{paramType=0,name=\"max\",scalar={dataType=306,value=4294967295}},"
            "{paramType=0,name=\"flag\",scalar={dataType=1288,value=1}},"
            "{paramType=0,name=\"s\",scalar={dataType=1544,value=\"a\\\"b\"}},"
            "{paramType=0,name=\"odd\",scalar={dataType=7}},"
            "{paramType=1,name=\"w\",tensor=" +
                tensorW + "}],numInputs=1,inputs=[" + tensorIn +
                "],numOutputs=1,outputs=NULL}\n");

  op.version = Zeb_OpConfigVersion_t(2);
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.opConfig(op); }), "call x={version=2}\n");
}

TEST(EchoCanonical, PlatformTree) {
  int extension = 0;
  ZebDevice_CoreInfo_t cores[2] = {};
  cores[0].version = ZEB_DEVICE_CORE_INFO_VERSION_1;
  cores[0].v1 = {0, 2, nullptr};
  cores[1].version = ZEB_DEVICE_CORE_INFO_VERSION_1;
  cores[1].v1 = {1, 2, reinterpret_cast<ZebDevice_CoreInfoExtension_t>(&extension)};
  ZebDevice_HardwareDeviceInfo_t devices[2] = {};
  devices[0].version = ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1;
  devices[0].v1 = {0, 1, 2, cores, nullptr};
  devices[1].version = ZebDevice_HardwareDeviceInfoVersion_t(2);
  ZebDevice_PlatformInfo_t info{};
  info.version = ZEB_DEVICE_PLATFORM_INFO_VERSION_1;
  info.v1 = {2, devices};
  ZebDevice_Config_t config{};
  config.option = ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO;
  config.hardwareInfo = &info;
  const ZebDevice_Config_t* configs[] = {&config, nullptr};

  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.deviceConfigs(configs); }),
            "call x=[platformInfo={version=1,numHwDevices=2,hwDevices=["
            "{version=1,deviceId=0,deviceType=1,numCores=2,cores=["
            "{version=1,coreId=0,coreType=2,extension=NULL},"
            "{version=1,coreId=1,coreType=2,extension=ptr}],extension=NULL},"
            "{version=2}]}]\n");
}

TEST(EchoCanonical, EveryContextOption) {
  const char* const graphs[] = {"a", "b", nullptr};
  ZebContext_Config_t c[9] = {};
  const ZebContext_ConfigOption_t options[9] = {
      ZEB_CONTEXT_CONFIG_OPTION_CUSTOM,        ZEB_CONTEXT_CONFIG_OPTION_PRIORITY,
      ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING, ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING,
      ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH, ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS,
      ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT,    ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY,
      ZebContext_ConfigOption_t(9)};
  for (int i = 0; i < 9; ++i) c[i].option = options[i];
  c[1].priority = Zeb_Priority_t(-1);
  c[2].errorConfig = {ZEB_ERROR_REPORTING_LEVEL_DETAILED, 4096};
  c[3].oemString = "x";
  c[4].asyncExeQueueDepth.depth = 4;
  c[5].enableGraphs = graphs;
  c[6].memoryLimitHint = UINT64_MAX;
  c[7].isPersistentBinary = 1;
  const ZebContext_Config_t* configs[] = {&c[0], &c[1], &c[2], &c[3], &c[4],
                                          &c[5], &c[6], &c[7], &c[8], nullptr};
  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.contextConfigs(configs); }),
            "call x=[custom=NULL,priority=-1,errorReporting={level=2,limit=4096},oemString=\"x\","
            "asyncExeQueueDepth={type=0,depth=4},enableGraphs=[\"a\",\"b\"],"
            "memoryLimitHint=18446744073709551615,persistentBinary=1,option=9]\n");
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.contextConfigs(nullptr); }), "call x=NULL\n");
}

TEST(EchoCanonical, OtherConfigurationLists) {
  int custom = 0;
  ZebBackend_Config_t backend[2] = {};
  backend[0].option = ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING;
  backend[0].errorConfig = {ZEB_ERROR_REPORTING_LEVEL_BRIEF, 0};
  backend[1].option = ZEB_BACKEND_CONFIG_OPTION_CUSTOM;
  backend[1].customConfig = reinterpret_cast<ZebBackend_CustomConfig_t>(&custom);
  const ZebBackend_Config_t* backendList[] = {&backend[0], &backend[1], nullptr};
  ZebGraph_Config_t graph[2] = {};
  graph[0].option = ZEB_GRAPH_CONFIG_OPTION_PRIORITY;
  graph[0].priority = ZEB_PRIORITY_HIGH;
  graph[1].option = ZEB_GRAPH_CONFIG_OPTION_PROFILING_STATE;
  const ZebGraph_Config_t* graphList[] = {&graph[0], &graph[1], nullptr};
  ZebProfile_Config_t profile{};
  profile.option = ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS;
  profile.numMaxEvents = 100;
  const ZebProfile_Config_t* profileList[] = {&profile, nullptr};

  Ordinals ordinals;
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.backendConfigs(backendList); }),
            "call x=[errorReporting={level=1,limit=0},custom=ptr]\n");
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.graphConfigs(graphList); }),
            "call x=[priority=200,option=1]\n");
  EXPECT_EQ(lineOf(ordinals, [&](Line& l) { l.profileConfigs(profileList); }),
            "call x=[maxEvents=100]\n");
}

TEST(EchoCanonical, HandlesAndIdsBecomeOrdinalsPerKind) {
  int a, b, c;
  Ordinals ordinals;
  EXPECT_EQ(ordinals.addHandle(HandleKind::Context, &a), "context#1");
  EXPECT_EQ(ordinals.addHandle(HandleKind::Graph, &b), "graph#1");
  EXPECT_EQ(ordinals.addHandle(HandleKind::Context, &c), "context#2");
  EXPECT_EQ(ordinals.addHandle(HandleKind::Signal, &c), "-");
  EXPECT_EQ(ordinals.handle(HandleKind::Context, &c), "context#2");
  EXPECT_EQ(ordinals.handle(HandleKind::Context, &b), "unknown");  // a graph, not a context
  EXPECT_EQ(ordinals.handle(HandleKind::Backend, nullptr), "NULL");
  EXPECT_EQ(ordinals.handle(HandleKind::Log, &a), "-");
  EXPECT_EQ(ordinals.addTensorId(77), "tensor#1");
  EXPECT_EQ(ordinals.addTensorId(5000), "tensor#2");
  EXPECT_EQ(ordinals.tensorId(77), "tensor#1");
  EXPECT_EQ(ordinals.tensorId(5), "id:5");
}

// ---- the backend through its function table ---------------------------------

const ZebInterface_t& provider() {
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  EXPECT_EQ(ZebInterface_getProviders(&providers, &count), ZEB_SUCCESS);
  EXPECT_EQ(count, 1u);
  return *providers[0];
}

void setLogVariable(const char* value) {
#ifdef _WIN32
  _putenv_s(kLogVariable, value != nullptr ? value : "");
#else
  if (value != nullptr) {
    setenv(kLogVariable, value, 1);
  } else {
    unsetenv(kLogVariable);
  }
#endif
}

class EchoBackend : public ::testing::Test {
 protected:
  void TearDown() override {
    setLogVariable(nullptr);
    resetEchoState(EchoSettings{});  // closes the log before the directory goes
  }
  const ZEB_INTERFACE_VER_TYPE& api = provider().ZEB_INTERFACE_VER_NAME;
  test::ScopedTempDir dir;
};

TEST_F(EchoBackend, ProviderFillsEverySlot) {
  EXPECT_STREQ(provider().providerName, kProviderName);
  EXPECT_EQ(provider().backendId, kBackendId);
  using Slot = void (*)();
  static_assert(sizeof(ZEB_INTERFACE_VER_TYPE) == 56 * sizeof(Slot));
  Slot slots[56];
  std::memcpy(slots, &api, sizeof slots);
  for (int i = 0; i < 56; ++i) EXPECT_NE(slots[i], nullptr) << "slot " << i;
}

struct ScenarioHandles {
  Zeb_BackendHandle_t backend = nullptr;
  Zeb_GraphHandle_t graph = nullptr;
  uint32_t inputId = 0;
};

// A small whole road: create, build, run, query and free.
ScenarioHandles runScenario(const ZEB_INTERFACE_VER_TYPE& api) {
  ScenarioHandles h;
  ZebBackend_Config_t platform{};
  platform.option = ZEB_BACKEND_CONFIG_OPTION_PLATFORM;
  platform.platformOption = "opt";
  const ZebBackend_Config_t* backendConfig[] = {&platform, nullptr};
  api.backendCreate(reinterpret_cast<Zeb_LogHandle_t>(0x77), backendConfig, &h.backend);
  Zeb_LogHandle_t logger = nullptr;
  api.logCreate(nullptr, ZEB_LOG_LEVEL_INFO, &logger);
  Zeb_DeviceHandle_t device = nullptr;
  api.deviceCreate(logger, nullptr, &device);
  ZebContext_Config_t priority{};
  priority.option = ZEB_CONTEXT_CONFIG_OPTION_PRIORITY;
  priority.priority = ZEB_PRIORITY_NORMAL;
  const ZebContext_Config_t* contextConfig[] = {&priority, nullptr};
  Zeb_ContextHandle_t context = nullptr;
  api.contextCreate(h.backend, device, contextConfig, &context);
  const ZebGraph_Config_t* noGraphConfig[] = {nullptr};
  api.graphCreate(context, "g", noGraphConfig, &h.graph);

  uint32_t dims[] = {2};
  Zeb_Tensor_t input = floatTensor("in", dims, 1);
  Zeb_Tensor_t output = floatTensor("out", dims, 1);
  api.tensorCreateGraphTensor(h.graph, &input);
  api.tensorCreateContextTensor(context, &output);
  h.inputId = input.v1.id;
  Zeb_OpConfig_t op{};
  op.version = ZEB_OPCONFIG_VERSION_1;
  op.v1 = {"relu", "pkg", "Relu", 0, nullptr, 1, &input, 1, &output};
  api.graphAddNode(h.graph, op);
  api.graphFinalize(h.graph, nullptr, nullptr);
  api.graphExecute(h.graph, &input, 1, &output, 1, nullptr,
                   reinterpret_cast<Zeb_SignalHandle_t>(0x55));
  Zeb_GraphHandle_t retrieved = nullptr;
  api.graphRetrieve(context, "g", &retrieved);
  EXPECT_EQ(retrieved, h.graph);

  Zeb_ContextBinarySize_t size = 0;
  api.contextGetBinarySize(context, &size);
  EXPECT_EQ(size, kContextBinarySize);
  uint8_t binary[kContextBinarySize] = {};
  Zeb_ContextBinarySize_t written = 0;
  api.contextGetBinary(context, binary, sizeof binary, &written);
  EXPECT_EQ(written, kContextBinarySize);
  EXPECT_EQ(binary[5], binaryByte(5));

  Zeb_ProfileHandle_t profile = nullptr;
  api.profileCreate(h.backend, ZEB_PROFILE_LEVEL_BASIC, &profile);
  api.contextFree(context, profile);
  api.backendFree(reinterpret_cast<Zeb_BackendHandle_t>(0xdead0));
  api.backendFree(h.backend);
  return h;
}

std::string expectedScenarioLog() {
  const auto tensor = [](const char* name, const std::string& id) {
    return "{version=1,id=" + id + ",name=\"" + name +
           "\",type=0,dataFormat=0,dataType=562,quant={definition=2147483647,"
           "encoding=2147483647},rank=1,dims=[2],memType=0,buf=" +
           kHashOfA + "}";
  };
  const std::string in = tensor("in", "tensor#1");
  const std::string out = tensor("out", "tensor#2");
  return "backendCreate log=- config=[platform=\"opt\"] -> backend#1\n"
         "log:logCreate callback=NULL level=3 -> -\n"
         "deviceCreate log=- config=NULL -> device#1\n"
         "contextCreate backend=backend#1 device=device#1 config=[priority=100] -> context#1\n"
         "graphCreate context=context#1 name=\"g\" config=[] -> graph#1\n"
         "tensorCreateGraphTensor graph=graph#1 tensor=" +
         tensor("in", "id:0") +
         " -> tensor#1\n"
         "tensorCreateContextTensor context=context#1 tensor=" +
         tensor("out", "id:0") +
         " -> tensor#2\n"
         "graphAddNode graph=graph#1 op={version=1,name=\"relu\",package=\"pkg\","
         "type=\"Relu\",numParams=0,params=[],numInputs=1,inputs=[" +
         in + "],numOutputs=1,outputs=[" + out +
         "]}\n"
         "graphFinalize graph=graph#1 profile=NULL signal=-\n"
         "graphExecute graph=graph#1 numInputs=1 inputs=[" +
         in + "] numOutputs=1 outputs=[" + out +
         "] profile=NULL signal=-\n"
         "graphRetrieve context=context#1 name=\"g\" -> graph#1\n"
         "contextGetBinarySize context=context#1 size=out\n"
         "contextGetBinary context=context#1 buffer=out size=64 written=out\n"
         "profileCreate backend=backend#1 level=1 -> profile#1\n"
         "contextFree context=context#1 profile=profile#1\n"
         "backendFree backend=unknown\n"
         "backendFree backend=backend#1\n";
}

TEST_F(EchoBackend, SameScenarioWithOtherHandlesAndIdsLogsTheSameLines) {
  resetEchoState({0x1000, 1000, "first.log"});
  const ScenarioHandles first = runScenario(api);
  resetEchoState({0x900000, 7, "second.log"});
  const ScenarioHandles second = runScenario(api);

  EXPECT_NE(first.backend, second.backend);
  EXPECT_NE(first.graph, second.graph);
  EXPECT_EQ(first.inputId, 1000u);
  EXPECT_EQ(second.inputId, 7u);
  EXPECT_EQ(test::readFile("first.log"), expectedScenarioLog());
  EXPECT_EQ(test::readFile("second.log"), expectedScenarioLog());
}

TEST_F(EchoBackend, LogsOnlyWhenTheVariableNamesAFile) {
  setLogVariable(nullptr);
  resetEchoState(EchoSettings::fromEnvironment());
  api.propertyHasCapability(7);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  std::ofstream("calls.log", std::ios::binary) << "earlier\n";
  setLogVariable("calls.log");
  resetEchoState(EchoSettings::fromEnvironment());
  api.propertyHasCapability(7);
  EXPECT_EQ(test::readFile("calls.log"), "earlier\npropertyHasCapability key=7\n");
}

}  // namespace
}  // namespace zeb::echo
