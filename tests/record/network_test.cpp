// Beyond the goldens: edge cases of the written text, refusals, and what a failed write leaves.
#include <gtest/gtest.h>

#include "record/context_binary.h"
#include "record/graph.h"
#include "record/graph_names.h"
#include "record/node.h"
#include "record/tensor_description.h"
#include "e2e/builders.h"
#include "support/session.h"

namespace zeb::test {
namespace {

uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
uint32_t dims[] = {1, 4};
Zeb_ScaleOffset_t pairs[] = {{0.5f, -3}, {0.1f, 7}};
using Change = void (*)(Zeb_Tensor_t&);

// "in", float, dims {1, 4}, scale-offset {0.5, 0}, 16 bytes of data; as the row changes it.
Zeb_Tensor_t tensor(Change change = [](Zeb_Tensor_t&) {}) {
  Zeb_Tensor_t t = e2e::tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 2, dims, bytes, 16,
                                 e2e::scaleOffset(0.5f, 0));
  change(t);
  return t;
}

const std::string kNoData = "Zeb_ClientBuffer_t B_clientBuf = {NULL, 0};";
std::string body(const std::string& name, const std::string& dims, const std::string& rank = "2") {
  return "Zeb_TensorV1_t B_v1 = {0, " + name + ", (Zeb_TensorType_t)0, 0, (Zeb_DataType_t)562, B_quantizeParams, " +
         rank + ", " + dims + ", (Zeb_TensorMemType_t)0, B_clientBuf};";
}

TEST(TensorDescriptions, EdgeCasesAndRefusals) {
  const struct {
    Change change;
    Zeb_ErrorHandle_t code;
    std::vector<std::string> lines;  // written one after the other (without the indentation)
    std::vector<uint64_t> blobBytes;
    std::vector<std::string> messages;
  } rows[] = {
      {[](Zeb_Tensor_t& t) { t.v1.dimensions = nullptr, t.v1.name = nullptr; }, 0,
       {"Zeb_ClientBuffer_t B_clientBuf = {(void*)B_data, 16};", body("NULL", "NULL")}, {16}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.clientBuf = {nullptr, 100}; }, 0, {kNoData, body("\"in\"", "B_dims")}, {}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.clientBuf.dataSize = 10; }, 0,  // trailing bytes that fill no element
       {"static float B_data[2];", "fread(B_data, 4, 2, fp);", "Zeb_ClientBuffer_t B_clientBuf = {(void*)B_data, 10};"},
       {8}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.quantizeParams = e2e::noQuantization(), t.v1.rank = 0, t.v1.clientBuf = {nullptr, 0}; }, 0,
       {"uint32_t B_dims[] = {};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)2147483647, "
        "(Zeb_QuantizationEncoding_t)2147483647, .scaleOffsetEncoding = {0.0, 0}};", kNoData, body("\"in\"", "B_dims", "0")},
       {}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.quantizeParams = e2e::axisScaleOffset(0, 0, pairs); }, 0,  // an empty list is an empty array
       {"Zeb_ScaleOffset_t B_quantizeParams_scaleOffsets[] = {};",
        "Zeb_AxisScaleOffset_t B_quantizeParams_axisScaleOffset = {0, 0, B_quantizeParams_scaleOffsets};"}, {16}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.quantizeParams = e2e::axisScaleOffset(2, 3, nullptr); }, 0,  // NULL arrays are not read
       {"uint32_t B_dims[] = {1, 4};", "Zeb_AxisScaleOffset_t B_quantizeParams_axisScaleOffset = {2, 3, NULL};"}, {16}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.quantizeParams = e2e::bwAxisScaleOffset(8, 1, 2, nullptr, nullptr); }, 0,
       {"Zeb_BwAxisScaleOffset_t B_quantizeParams_bwAxisScaleOffset = {8, 1, 2, NULL, NULL};"}, {16}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.dataType = ZEB_DATATYPE_FLOAT_16, t.v1.clientBuf = {nullptr, 8}; }, 0, {kNoData}, {}, {}},
      {[](Zeb_Tensor_t& t) { t.v1.dataType = ZEB_DATATYPE_FLOAT_16; }, 7999, {}, {}, {"Invalid Zeb_DataType_t provided: 534"}},
      {[](Zeb_Tensor_t& t) { t.v1.memType = ZEB_TENSORMEMTYPE_MEMHANDLE; }, 6004, {}, {},
       {"Failed to parse Zeb_Tensor_t, MemHandle is not supported."}},
      {[](Zeb_Tensor_t& t) { t.v1.quantizeParams.quantizationEncoding = Zeb_QuantizationEncoding_t(7); }, 1000, {}, {},
       {"Unsupported quantization encoding: 7.\n"}},
      {[](Zeb_Tensor_t& t) { t.version = Zeb_TensorVersion_t(3); }, 1000, {}, {},
       {"Unsupported tensor version 3.\n", "Unsupported tensor version: 3.\n"}},
  };
  for (const auto& row : rows) {
    LogCapture log;
    StatementBuilder builder;
    const Zeb_ErrorHandle_t code = record::writeTensor(tensor(row.change), "B", builder, "fp", nullptr);
    std::string wanted, written(builder.text());
    for (const std::string& part : row.lines) wanted += "   " + part + "\n";
    std::vector<uint64_t> blobBytes;
    for (const Blob& blob : builder.blobs()) blobBytes.push_back(blob.elementSize * blob.elementCount);
    EXPECT_EQ(code, row.code) << wanted;
    EXPECT_NE(written.find(wanted), std::string::npos) << "wanted\n" << wanted << "within\n" << written;
    EXPECT_EQ(blobBytes, code == 0 ? row.blobBytes : blobBytes) << wanted;
    EXPECT_EQ(log.texts(), row.messages) << wanted;
  }
}

// A started session with context_0.
struct Network : testing::Test {
  void SetUp() override { ASSERT_EQ(s.recorder.start(), 0u); s.log.clear(); }
  ScribeGraph& graph(const char* name = "g") {
    uint64_t handle = 0;
    EXPECT_EQ(record::graphCreate(r, contextHandle, context, name, nullptr, &handle), 0u);
    return *r.findGraph(handle);
  }
  std::string lastMessage() const { return s.log.texts().empty() ? "" : s.log.texts().back(); }

  Session s;
  Recorder& r = s.recorder;
  const uint64_t contextHandle = r.createContext().handle;
  ScribeContext& context = *r.findContext(contextHandle);
};

TEST_F(Network, GraphRefusalsAndFailedWrites) {
  ScribeGraph& g = graph("a-b");
  const auto unknown = e2e::withOption<ZebGraph_Config_t>(ZebGraph_ConfigOption_t(9));
  const ZebGraph_Config_t* unknowns[] = {&unknown, nullptr};
  EXPECT_EQ(record::graphSetConfig(r, g, unknowns), 6000u);
  EXPECT_EQ(lastMessage(), "Unknown config option provided: 9");

  uint64_t handle = 0;
  EXPECT_EQ(record::graphCreate(r, contextHandle, context, "a.b", nullptr, &handle), 6003u);
  EXPECT_EQ(lastMessage(), "Graph with name a.b already exists within the context");
  EXPECT_EQ(record::graphExecute(r, g, nullptr, 1, nullptr, 0, 0), 6000u);
  EXPECT_EQ(lastMessage(), "Provided input tensor array is NULL while numInputs is 1");
  EXPECT_EQ(record::graphExecute(r, g, nullptr, 0, nullptr, 1, 0), 6000u);
  EXPECT_EQ(lastMessage(), "Provided output tensor array is NULL while numOutputs is 1");
  {
    StreamOpsRestorer restorer;
    pal::streamOps().write = [](const void*, std::size_t, std::size_t, std::FILE*) { return std::size_t{0}; };
    EXPECT_EQ(record::graphCreate(r, contextHandle, context, "lost", nullptr, &handle), 5999u);
    EXPECT_EQ(handle, 0u);
    uint64_t sub = 0;
    EXPECT_EQ(record::graphCreateSubgraph(r, 0, g, "sub", &sub), 5999u);
    EXPECT_NE(sub, 0u);  // the client's subgraph all the same
    EXPECT_EQ(record::graphSetConfig(r, g, nullptr), 6999u);
  }
  EXPECT_EQ(record::graphCreate(r, contextHandle, context, "lost", nullptr, &handle), 6003u);
  // A graph whose declaring block was lost is declared by the next block; one
  // retrieved by its variable name is that graph.
  uint64_t sub = 0, same = 0;
  ASSERT_EQ(record::graphRetrieve(r, contextHandle, context, "sub", &sub), 0u);
  ASSERT_EQ(record::graphRetrieve(r, contextHandle, context, "context_0_a_b", &same), 0u);
  EXPECT_EQ(r.findGraph(same).get(), &g);
  EXPECT_NE(s.blocks().find("   Zeb_GraphHandle_t context_0_sub;\n"), std::string::npos);
  // A subgraph belongs to its parent's context.
  ASSERT_EQ(record::graphCreateSubgraph(r, same, g, "head", &sub), 0u);
  EXPECT_NE(r.findGraph(sub), nullptr);
}

Zeb_OpConfig_t relu(Zeb_Param_t* params, int version = 1) {
  Zeb_OpConfig_t op = e2e::opConfig("relu", "pkg", "Relu", 1, params, 0, nullptr, 0, nullptr);
  op.version = Zeb_OpConfigVersion_t(version);
  return op;
}

// The configuration is checked before the backend, and nothing is written.
TEST_F(Network, NodeRefusals) {
  ScribeGraph& g = graph();
  Zeb_Param_t text = e2e::scalarParam("p", e2e::scalar(ZEB_DATATYPE_STRING, &Zeb_Scalar_t::stringValue, nullptr));
  ASSERT_EQ(record::graphAddNode(r, g, relu(&text)), 0u);
  EXPECT_NE(s.blocks().find("{(Zeb_DataType_t)1544, .stringValue = NULL};"), std::string::npos);
  Zeb_Param_t oddScalar = text, oddType = text;
  oddScalar.scalarParam.dataType = Zeb_DataType_t(100), oddType.paramType = Zeb_ParamType_t(5);
  const std::string written = s.blocks();
  const std::tuple<Zeb_OpConfig_t, Zeb_ErrorHandle_t, const char*> rows[] = {
      {relu(&oddScalar), 4004, "Invalid Zeb_DataType_t provided: 100"},
      {relu(&oddType), 4004, "Invalid Zeb_ParamType_t provided: 5\n"},
      {relu(&text, 2), 1000, "Unsupported opconfig version: 2.\n"}};
  for (const auto& [op, code, message] : rows) {
    s.log.clear();
    EXPECT_EQ(record::graphAddNode(r, g, op), code);
    EXPECT_EQ(s.log.texts(), std::vector<std::string>{message});
  }
  EXPECT_EQ(record::backendValidateOpConfig(r, 77, relu(&text, 2)), 1000u);
  EXPECT_EQ(record::backendValidateOpConfig(r, 77, relu(&text)), 4011u);
  EXPECT_EQ(lastMessage(), "No backend associated with the provided handle");
  EXPECT_EQ(s.blocks(), written);
}

// Handles come first, and a binary that cannot be written leaves no block and no blob.
TEST_F(Network, ContextBinaryRefusals) {
  const char* notWritten = "Failed to write context binary to disk, ensure binaryBufferSize matches the actual buffer size.";
  const struct { bool validate; uint64_t backend, device; Zeb_ErrorHandle_t code; const char* lastMessage; } rows[] = {
      {false, 5, 0, 4011, "No backend associated with the provided handle"},
      {false, 0, 5, 14000, "No device associated with the provided handle"},
      {false, 0, 0, 5005, notWritten},
      {true, 5, 0, 5002, "No backend associated with the provided handle"},
      {true, 0, 5, 5002, "No device associated with the provided handle"},
      {true, 0, 0, 5999, notWritten},
  };
  for (const auto& row : rows) {
    const record::BinarySource source{row.backend, row.device, nullptr, bytes, 16};
    StreamOpsRestorer restorer;
    pal::streamOps().write = [](const void* d, std::size_t size, std::size_t count, std::FILE* f) {
      return count == 0 ? 0 : std::fwrite(d, size, count - 1, f);
    };
    EXPECT_EQ(row.validate ? record::contextValidateBinary(r, source)
                           : record::contextCreateFromBinary(r, context, source, 0, false),
              row.code);
    EXPECT_EQ(lastMessage(), row.lastMessage);
  }
  EXPECT_EQ(s.blocks(), "");
  EXPECT_EQ(s.data(), "");
}

// A client's graph or node name as the identifier its variables are named after.
TEST(Identifiers, KeepSeparateAndDrop) {
  const std::pair<std::string, std::string> rows[] = {
      {"conv 1", "conv_1"}, {"1st/layer:0", "_1st_layer_0"}, {"-9", "_9"}, {"$9", "_9"}, {"0x", "_0x"},
      {"\xc3\xa9t\xc3\xa9|x.y,z+w;v", "t_x_y_z_w_v"}, {"a\tb", "ab"}, {"", ""}};
  for (const auto& [name, identifier] : rows) EXPECT_EQ(record::makeIdentifier(name), identifier);
}

}  // namespace
}  // namespace zeb::test
