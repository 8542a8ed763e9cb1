// Graph and node blocks: the documented examples and edge cases, exact text.
// (That a whole network replays is the end-to-end tests' business.)
#include "record/graph.h"

#include <gtest/gtest.h>

#include "record/node.h"
#include "record/recording_session.h"

namespace zeb::test {
namespace {


ZebGraph_Config_t priority(int32_t value) {
  ZebGraph_Config_t config{};
  config.option = ZEB_GRAPH_CONFIG_OPTION_PRIORITY;
  config.priority = static_cast<Zeb_Priority_t>(value);
  return config;
}

ZebGraph_Config_t custom(void* pointer) {
  ZebGraph_Config_t config{};
  config.option = ZEB_GRAPH_CONFIG_OPTION_CUSTOM;
  config.customConfig = static_cast<ZebGraph_CustomConfig_t>(pointer);
  return config;
}

// A session with context_0 and, once made, its graph g.
struct GraphSession : RecordingSession {
  GraphSession() : contextHandle(recorder.createContext()), context(*recorder.findContext(contextHandle)) {}

  ScribeGraph& createGraph(const char* name = "g") {
    uint64_t handle = 0;
    EXPECT_EQ(record::graphCreate(recorder, contextHandle, context, name, nullptr, &handle), 0u);
    return *recorder.findGraph(handle);
  }

  const uint64_t contextHandle;
  ScribeContext& context;
};

TEST(GraphCreate, WritesTheConfigurationsTheArrayAndTheCall) {
  GraphSession s;
  const ZebGraph_Config_t hundred = priority(100);
  const ZebGraph_Config_t* configs[] = {&hundred, nullptr};
  uint64_t handle = 0;
  ASSERT_EQ(record::graphCreate(s.recorder, s.contextHandle, s.context, "my graph", configs, &handle), 0u);
  EXPECT_EQ(s.blocks(),
            block({"ZebGraph_Config_t context_0_my_graph_priority_0 = "
                   "{ZEB_GRAPH_CONFIG_OPTION_PRIORITY, .priority=(Zeb_Priority_t)100};",
                   "",
                   "const ZebGraph_Config_t* context_0_my_graph_config_0[] = "
                   "{&context_0_my_graph_priority_0, NULL};",
                   "Zeb_GraphHandle_t context_0_my_graph;",
                   "VALIDATE(error, interface.graphCreate(context_0, \"my graph\", "
                   "context_0_my_graph_config_0, &context_0_my_graph));"}));
  EXPECT_EQ(s.recorder.findGraph(handle)->name, "context_0_my_graph");
}

TEST(GraphConfigs, CustomOnesAreDroppedOrRefusedByBackend) {
  const struct {
    uint32_t backendId;
    Zeb_ErrorHandle_t code;
    Logged messages;
  } rows[] = {
      {0, 0,
       warning("Custom config provided without specifying backend ID, provide a backend ID via "
               "ZebScribe_Initialize() to record custom configs.")},
      {2, 6000,
       error("Scribe backend ID was provided and a custom config was passed to "
             "ZebBackend_Initialize(). Scribe does not support custom configs.")},
      {3, 6000,
       error("CPU backend ID was provided and a custom config was passed to "
             "ZebBackend_Initialize(). CPU does not support custom configs.")},
      {9, 6000, error("Unknown or unsupported backend ID provided: 9")},
  };
  int opaque = 0;
  for (const auto& row : rows) {
    GraphSession s;
    s.recorder.setBackendIdentifier(row.backendId);
    ScribeGraph& graph = s.createGraph();
    s.log.clear();
    const ZebGraph_Config_t mine = custom(&opaque);
    const ZebGraph_Config_t* configs[] = {&mine, nullptr};
    EXPECT_EQ(record::graphSetConfig(s.recorder, graph, configs), row.code);
    EXPECT_EQ(s.messages(), row.messages);
  }
}

TEST(GraphConfigs, ArraysCountOnAcrossCallsAndUnknownOptionsAreRefused) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph("9net");
  const ZebGraph_Config_t none = custom(nullptr);
  const ZebGraph_Config_t* configs[] = {&none, nullptr};
  ASSERT_EQ(record::graphSetConfig(s.recorder, graph, configs), 0u);
  ZebGraph_Config_t unknown{};
  unknown.option = static_cast<ZebGraph_ConfigOption_t>(9);
  const ZebGraph_Config_t* refused[] = {&unknown, nullptr};
  EXPECT_EQ(record::graphSetConfig(s.recorder, graph, refused), 6000u);
  EXPECT_EQ(s.messages().back(), error("Unknown config option provided: 9")[0]);
  EXPECT_EQ(s.blocks(),
            block({"const ZebGraph_Config_t* context_0__9net_config_0[] = {NULL};",
                   "Zeb_GraphHandle_t context_0__9net;",
                   "VALIDATE(error, interface.graphCreate(context_0, \"9net\", "
                   "context_0__9net_config_0, &context_0__9net));"}) +
                block({"ZebGraph_Config_t context_0__9net_customConfig_0 = "
                       "{ZEB_GRAPH_CONFIG_OPTION_CUSTOM, .customConfig=NULL};",
                       "",
                       "const ZebGraph_Config_t* context_0__9net_config_1[] = "
                       "{&context_0__9net_customConfig_0, NULL};",
                       "VALIDATE(error, interface.graphSetConfig(context_0__9net, "
                       "context_0__9net_config_1));"}));
}

TEST(GraphCalls, SubgraphFinalizeExecuteAndRetrieveBlocks) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph();
  const std::string created = s.blocks();
  uint64_t sub = 0;
  ASSERT_EQ(record::graphCreateSubgraph(s.recorder, 0, graph, "head 1", &sub), 0u);
  ASSERT_EQ(record::graphFinalize(s.recorder, graph, 12345), 0u);  // unknown profile
  ASSERT_EQ(record::graphExecute(s.recorder, graph, nullptr, 0, nullptr, 0, 0), 0u);
  ASSERT_EQ(record::graphExecute(s.recorder, graph, nullptr, 0, nullptr, 0, 0), 0u);
  uint64_t retrieved = 0;
  ASSERT_EQ(record::graphRetrieve(s.recorder, s.contextHandle, s.context, "stored", &retrieved), 0u);
  ASSERT_EQ(record::graphRetrieve(s.recorder, s.contextHandle, s.context, "stored", &retrieved), 0u);
  ASSERT_EQ(record::graphFinalize(s.recorder, *s.recorder.findGraph(retrieved), 0), 0u);
  EXPECT_EQ(s.blocks().substr(created.size()),
            block({"Zeb_GraphHandle_t context_0_head_1;",
                   "VALIDATE(error, interface.graphCreateSubgraph(context_0_g, \"head 1\", "
                   "&context_0_head_1));"}) +
                block({"VALIDATE(error, interface.graphFinalize(context_0_g, NULL, NULL));"}) +
                block({"Zeb_Tensor_t context_0_g_inputTensors_0[] = {};",
                       "Zeb_Tensor_t context_0_g_outputTensors_0[] = {};",
                       "VALIDATE(error, interface.graphExecute(context_0_g, "
                       "context_0_g_inputTensors_0, 0, context_0_g_outputTensors_0, 0, NULL, "
                       "NULL));"}) +
                block({"Zeb_Tensor_t context_0_g_inputTensors_1[] = {};",
                       "Zeb_Tensor_t context_0_g_outputTensors_1[] = {};",
                       "VALIDATE(error, interface.graphExecute(context_0_g, "
                       "context_0_g_inputTensors_1, 0, context_0_g_outputTensors_1, 0, NULL, "
                       "NULL));"}) +
                block({"Zeb_GraphHandle_t context_0_stored;",
                       "VALIDATE(error, interface.graphRetrieve(context_0, \"stored\", "
                       "&context_0_stored));"}) +
                block({"VALIDATE(error, interface.graphRetrieve(context_0, \"stored\", "
                       "&context_0_stored));"}) +
                block({"VALIDATE(error, interface.graphFinalize(context_0_stored, NULL, NULL));"}));
}

TEST(GraphCalls, ExecutionDescribesEachTensorUnderItsExecutionNumber) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph();
  Zeb_Tensor_t tensors[2] = {};
  for (Zeb_Tensor_t& t : tensors) {
    t.version = ZEB_TENSOR_VERSION_1;
    t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  }
  const std::string before = s.blocks();
  ASSERT_EQ(record::graphExecute(s.recorder, graph, &tensors[0], 1, &tensors[1], 1, 0), 0u);
  const std::string written = s.blocks().substr(before.size());
  for (const char* line :
       {"   Zeb_Tensor_t context_0_g_inputTensor_0_0 = {(Zeb_TensorVersion_t)1, "
        ".v1 = context_0_g_inputTensor_0_0_v1};\n\n",
        "   Zeb_Tensor_t context_0_g_outputTensor_0_0 = {(Zeb_TensorVersion_t)1, "
        ".v1 = context_0_g_outputTensor_0_0_v1};\n\n",
        "   Zeb_Tensor_t context_0_g_inputTensors_0[] = {context_0_g_inputTensor_0_0};\n"
        "   Zeb_Tensor_t context_0_g_outputTensors_0[] = {context_0_g_outputTensor_0_0};\n"
        "   VALIDATE(error, interface.graphExecute(context_0_g, context_0_g_inputTensors_0, 1, "
        "context_0_g_outputTensors_0, 1, NULL, NULL));\n\n"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line;
  }
}

TEST(GraphCalls, RefusalsAndFailedWrites) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph("a-b");
  uint64_t handle = 0;
  EXPECT_EQ(record::graphCreate(s.recorder, s.contextHandle, s.context, "a.b", nullptr, &handle), 6003u);
  EXPECT_EQ(s.messages().back(), error("Graph with name a.b already exists within the context")[0]);
  EXPECT_EQ(record::graphExecute(s.recorder, graph, nullptr, 1, nullptr, 0, 0), 6000u);
  {
    FailingWrites failing;
    EXPECT_EQ(record::graphCreate(s.recorder, s.contextHandle, s.context, "lost", nullptr, &handle), 5999u);
    EXPECT_EQ(handle, 0u);
    uint64_t sub = 0;
    EXPECT_EQ(record::graphCreateSubgraph(s.recorder, 0, graph, "sub", &sub), 5999u);
    EXPECT_NE(sub, 0u);  // the client's subgraph all the same
    EXPECT_EQ(record::graphSetConfig(s.recorder, graph, nullptr), 6999u);
  }
  EXPECT_EQ(record::graphCreate(s.recorder, s.contextHandle, s.context, "lost", nullptr, &handle), 6003u);
  // A graph whose declaring block was lost is declared NULL by the next block.
  uint64_t sub = 0;
  ASSERT_EQ(record::graphRetrieve(s.recorder, s.contextHandle, s.context, "sub", &sub), 0u);
  EXPECT_NE(s.blocks().find("   Zeb_GraphHandle_t context_0_sub;\n"), std::string::npos);
}

// Node blocks, with the relu example: one float scalar, one input, one output.
Zeb_Tensor_t plainTensor(const char* name) {
  Zeb_Tensor_t t{};
  t.version = ZEB_TENSOR_VERSION_1;
  t.v1.name = name;
  t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  return t;
}

Zeb_Param_t scalarParam(const char* name, Zeb_Scalar_t scalar) {
  Zeb_Param_t param{};
  param.paramType = ZEB_PARAMTYPE_SCALAR;
  param.name = name;
  param.scalarParam = scalar;
  return param;
}

Zeb_OpConfig_t relu(Zeb_Param_t* params, uint32_t numParams, Zeb_Tensor_t* in, Zeb_Tensor_t* out) {
  Zeb_OpConfig_t op{};
  op.version = ZEB_OPCONFIG_VERSION_1;
  op.v1 = {"relu", "pkg", "Relu", numParams, params, 1, in, 1, out};
  return op;
}

TEST(Nodes, ReluExampleWritesParamsInputsOutputsAndTheConfiguration) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph();
  const std::string before = s.blocks();
  Zeb_Scalar_t alpha{};
  alpha.dataType = ZEB_DATATYPE_FLOAT_32;
  alpha.floatValue = 0.1f;
  Zeb_Param_t params[] = {scalarParam("alpha", alpha)};
  Zeb_Tensor_t in = plainTensor("in"), out = plainTensor("out");
  ASSERT_EQ(record::graphAddNode(s.recorder, graph, relu(params, 1, &in, &out)), 0u);
  const std::string written = s.blocks().substr(before.size());
  const std::string op = "context_0_g_relu_0";
  for (const std::string& lines :
       {"   Zeb_Scalar_t " + op + "_param_0_scalar = {(Zeb_DataType_t)562, .floatValue = 0.100000001};\n"
        "   Zeb_Param_t " + op + "_param_0 = {(Zeb_ParamType_t)0, \"alpha\", .scalarParam = " + op + "_param_0_scalar};\n"
        "\n"
        "   Zeb_Param_t " + op + "_params[] = {" + op + "_param_0};\n",
        "   Zeb_Tensor_t " + op + "_input_0 = {(Zeb_TensorVersion_t)1, .v1 = " + op + "_input_0_v1};\n"
        "\n"
        "   Zeb_Tensor_t " + op + "_inputs[] = {" + op + "_input_0};\n",
        "   Zeb_Tensor_t " + op + "_outputs[] = {" + op + "_output_0};\n"
        "   Zeb_OpConfigV1_t " + op + "_v1 = {\"relu\", \"pkg\", \"Relu\", 1, " + op + "_params, 1, " + op + "_inputs, 1, " + op + "_outputs};\n"
        "   Zeb_OpConfig_t " + op + " = {(Zeb_OpConfigVersion_t)1, .v1 = " + op + "_v1};\n"
        "   VALIDATE(error, interface.graphAddNode(context_0_g, " + op + "));\n\n"}) {
    EXPECT_NE(written.find(lines), std::string::npos) << lines;
  }
}

TEST(Nodes, ScalarKindsWriteTheirDesignatedMember) {
  const struct {
    Zeb_DataType_t dataType;
    void (*set)(Zeb_Scalar_t&);
    const char* field;
  } rows[] = {
      {ZEB_DATATYPE_INT_8, [](Zeb_Scalar_t& v) { v.int8Value = -3; }, ".int8Value = -3"},
      {ZEB_DATATYPE_INT_16, [](Zeb_Scalar_t& v) { v.int16Value = -300; }, ".int16Value = -300"},
      {ZEB_DATATYPE_INT_32, [](Zeb_Scalar_t& v) { v.int32Value = -70000; }, ".int32Value = -70000"},
      {ZEB_DATATYPE_UINT_8, [](Zeb_Scalar_t& v) { v.uint8Value = 200; }, ".uint8Value = 200"},
      {ZEB_DATATYPE_UINT_16, [](Zeb_Scalar_t& v) { v.uint16Value = 60000; }, ".uint16Value = 60000"},
      {ZEB_DATATYPE_UINT_32, [](Zeb_Scalar_t& v) { v.uint32Value = 4294967295u; },
       ".uint32Value = 4294967295"},
      {ZEB_DATATYPE_FLOAT_32, [](Zeb_Scalar_t& v) { v.floatValue = -2.5f; }, ".floatValue = -2.5"},
      {ZEB_DATATYPE_BOOL_8, [](Zeb_Scalar_t& v) { v.bool8Value = 1; }, ".bool8Value = 1"},
      {ZEB_DATATYPE_STRING, [](Zeb_Scalar_t& v) { v.stringValue = "abc"; }, ".stringValue = \"abc\""},
      {ZEB_DATATYPE_STRING, [](Zeb_Scalar_t& v) { v.stringValue = nullptr; }, ".stringValue = NULL"},
  };
  for (const auto& row : rows) {
    GraphSession s;
    ScribeGraph& graph = s.createGraph();
    Zeb_Scalar_t scalar{};
    scalar.dataType = row.dataType;
    row.set(scalar);
    Zeb_Param_t params[] = {scalarParam(nullptr, scalar)};
    ASSERT_EQ(record::graphAddNode(s.recorder, graph, relu(params, 1, nullptr, nullptr)), 0u);
    const std::string expected = "   Zeb_Scalar_t context_0_g_relu_0_param_0_scalar = {(Zeb_DataType_t)" +
                                 std::to_string(row.dataType) + ", " + row.field + "};\n";
    EXPECT_NE(s.blocks().find(expected), std::string::npos) << expected;
  }
}

TEST(Nodes, NamesNullArraysAndRefusals) {
  GraphSession s;
  ScribeGraph& graph = s.createGraph();
  Zeb_Param_t none[1] = {};
  Zeb_OpConfig_t nameless = relu(none, 0, nullptr, nullptr);
  nameless.v1.name = nullptr;
  ASSERT_EQ(record::graphAddNode(s.recorder, graph, nameless), 0u);
  Zeb_OpConfig_t unread = relu(nullptr, 2, nullptr, nullptr);
  ASSERT_EQ(record::graphAddNode(s.recorder, graph, unread), 0u);
  for (const char* line :
       {"   Zeb_Param_t context_0_g_opConfig_0_params[] = {};\n",
        "   Zeb_Tensor_t* context_0_g_opConfig_0_inputs = NULL;\n",
        "   Zeb_Param_t* context_0_g_relu_0_params = NULL;\n",
        "   Zeb_OpConfigV1_t context_0_g_relu_0_v1 = {\"relu\", \"pkg\", \"Relu\", 2, "
        "context_0_g_relu_0_params, 1, context_0_g_relu_0_inputs, 1, context_0_g_relu_0_outputs};\n"}) {
    EXPECT_NE(s.blocks().find(line), std::string::npos) << line;
  }

  const std::string written = s.blocks();
  Zeb_Scalar_t odd{};
  odd.dataType = static_cast<Zeb_DataType_t>(100);
  Zeb_Param_t oddScalar[] = {scalarParam("p", odd)};
  Zeb_Param_t oddType[] = {scalarParam("p", odd)};
  oddType[0].paramType = static_cast<Zeb_ParamType_t>(5);
  Zeb_OpConfig_t version2 = relu(nullptr, 0, nullptr, nullptr);
  version2.version = static_cast<Zeb_OpConfigVersion_t>(2);
  const struct {
    Zeb_OpConfig_t op;
    Zeb_ErrorHandle_t code;
    const char* message;
  } rows[] = {
      {relu(oddScalar, 1, nullptr, nullptr), 4004, "Invalid Zeb_DataType_t provided: 100"},
      {relu(oddType, 1, nullptr, nullptr), 4004, "Invalid Zeb_ParamType_t provided: 5\n"},
      {version2, 1000, "Unsupported opconfig version: 2.\n"},
  };
  for (const auto& row : rows) {
    s.log.clear();
    EXPECT_EQ(record::graphAddNode(s.recorder, graph, row.op), row.code);
    EXPECT_EQ(s.messages(), error(row.message));
  }
  // The configuration is checked before the backend.
  EXPECT_EQ(record::backendValidateOpConfig(s.recorder, 77, version2), 1000u);
  EXPECT_EQ(s.blocks(), written);
  EXPECT_EQ(record::backendValidateOpConfig(s.recorder, 77, nameless), 4011u);
  EXPECT_EQ(s.messages().back(), error("No backend associated with the provided handle")[0]);
}

TEST(Nodes, ValidationNamesTheConfigurationWithoutAGraph) {
  RecordingSession s;
  Zeb_OpConfig_t conv = relu(nullptr, 0, nullptr, nullptr);
  conv.v1.name = "conv 1";
  conv.v1.numOfInputs = conv.v1.numOfOutputs = 0;
  ASSERT_EQ(record::backendValidateOpConfig(s.recorder, 0, conv), 0u);
  EXPECT_NE(s.blocks().find("   Zeb_OpConfig_t conv_1_0 = {(Zeb_OpConfigVersion_t)1, .v1 = "
                            "conv_1_0_v1};\n   VALIDATE(error, interface.backendValidateOpConfig("
                            "NULL, conv_1_0));\n\n"),
            std::string::npos);
}

}  // namespace
}  // namespace zeb::test
