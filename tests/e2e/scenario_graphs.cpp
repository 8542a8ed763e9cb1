// The graphs, data-path, several-blobs and non-finite-floats scenarios (see scenarios.h).
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

// 16 bytes fill whole elements of every type.
uint8_t kBytes[16] = {0, 1, 2, 3, 0x80, 0xFF, 0x7F, 9, 10, 11, 12, 13, 14, 15, 16, 0xAA};
uint32_t kShape[] = {1, 4}, kFour[] = {4};

Zeb_Tensor_t floats(const char* name, Zeb_TensorType_t type, uint32_t rank = 2, uint32_t* shape = kShape,
                    void* data = nullptr, uint32_t size = 0) {
  return tensorV1(name, type, ZEB_DATATYPE_FLOAT_32, rank, shape, data, size);
}
Zeb_Param_t staticParam(const char* name, Zeb_DataType_t dataType, uint32_t* shape, void* data, uint32_t size) {
  return tensorParam(name, tensorV1(name, ZEB_TENSOR_TYPE_STATIC, dataType, 1, shape, data, size));
}

// One context tensor of each data type, and as version 2 with each quantisation encoding.
void createContextTensors(const ZebApi& api, Zeb_ContextHandle_t context) {
  static uint32_t dims[] = {2, 8};
  static Zeb_ScaleOffset_t pairs[] = {{0.5f, -3}, {0.1f, 7}};
  static float scales[] = {0.25f, 3.0e-7f};
  static int32_t offsets[] = {-128, 127};
  static uint8_t dynamic[] = {1, 0};
  uint8_t isProduced = 0;
  for (const int32_t dataType : kSizedDataTypes) {
    Zeb_Tensor_t tensor = tensorV1("weights", ZEB_TENSOR_TYPE_STATIC, Zeb_DataType_t(dataType), 2, dims, kBytes, 16);
    api.tensorCreateContextTensor(context, &tensor);
  }
  for (const Q& encoding : {scaleOffset(0.0039215689f, 0), axisScaleOffset(-1, 2, pairs), bwScaleOffset(4, 1.5f, -8),
                            bwAxisScaleOffset(8, 0, 2, scales, offsets), noQuantization()}) {
    const Zeb_Tensor_t v1 = tensorV1("quantized", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 2, dims, kBytes, 16, encoding);
    Zeb_Tensor_t tensor = tensorV2(v1, dynamic, {ZEB_SPARSE_LAYOUT_HYBRID_COO, {{5}, {2}}}, isProduced++);
    api.tensorCreateContextTensor(context, &tensor);
  }
}

// With every scalar kind and a tensor parameter; params holds what it points to.
Zeb_OpConfig_t convolution(std::vector<Zeb_Param_t>& params, Zeb_Tensor_t* inputs, Zeb_Tensor_t* outputs) {
  static int32_t bias[4] = {1, -2, 3, -4};
  using S = Zeb_Scalar_t;
  params.clear();
  for (const S& value : {scalar(ZEB_DATATYPE_INT_8, &S::int8Value, -3), scalar(ZEB_DATATYPE_INT_16, &S::int16Value, -32768),
                         scalar(ZEB_DATATYPE_INT_32, &S::int32Value, INT32_MAX), scalar(ZEB_DATATYPE_UINT_8, &S::uint8Value, 255),
                         scalar(ZEB_DATATYPE_UINT_16, &S::uint16Value, 65535),
                         scalar(ZEB_DATATYPE_UINT_32, &S::uint32Value, UINT32_MAX),
                         scalar(ZEB_DATATYPE_FLOAT_32, &S::floatValue, 0.1f), scalar(ZEB_DATATYPE_BOOL_8, &S::bool8Value, 1),
                         scalar(ZEB_DATATYPE_STRING, &S::stringValue, "SAME padding")})
    params.push_back(scalarParam("scalar", value));
  params.back().name = nullptr;
  params.push_back(staticParam("bias", ZEB_DATATYPE_INT_32, kFour, bias, sizeof bias));
  return opConfig("conv 1", "zeb.aisw", "Conv2d", uint32_t(params.size()), params.data(), 2, inputs, 1, outputs);
}

}  // namespace

void graphs(const ZebApi& api) {
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, kNoBackendConfigs, &backend);
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  Zeb_ProfileHandle_t profile = nullptr; api.profileCreate(backend, ZEB_PROFILE_LEVEL_BASIC, &profile);
  createContextTensors(api, context);

  // Before the graph exists: the backend sees the client's descriptions, ids and all.
  std::vector<Zeb_Param_t> params;
  Zeb_Tensor_t ins[] = {floats("input:0", ZEB_TENSOR_TYPE_APP_WRITE), floats("input:1", ZEB_TENSOR_TYPE_APP_WRITE)};
  Zeb_Tensor_t outs[] = {floats("output:0", ZEB_TENSOR_TYPE_APP_READ)};
  api.backendValidateOpConfig(backend, convolution(params, ins, outs));
  api.backendValidateOpConfig(backend, opConfig(nullptr, nullptr, "Relu", 0, nullptr, 0, nullptr, 0, nullptr));

  const ZebGraph_Config_t configs[] = {graphPriority(ZEB_PRIORITY_HIGH), graphCustomNull()};
  const ZebGraph_Config_t newConfigs[] = {graphPriority(ZEB_PRIORITY_LOW)};
  Zeb_GraphHandle_t graph = nullptr, head = nullptr;
  api.graphCreate(context, "mobilenet v2/block:1", listOf(configs).data(), &graph);
  api.graphSetConfig(graph, listOf(newConfigs).data()); api.graphSetConfig(graph, kNoGraphConfigs);
  api.graphCreateSubgraph(graph, "head", &head);

  // Graph tensors for a convolution: input, weights with data, output.
  static uint32_t weightShape[] = {4, 4};
  static float weights[16] = {0.5f, -1.25f, 3.0e-7f, 1e9f, 0.1f, 123456789.0f};
  Zeb_Tensor_t input = ins[0], output = outs[0];
  Zeb_Tensor_t weight = tensorV1("conv/weights", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 2, weightShape, weights,
                                 sizeof weights, scaleOffset(0.5f, 0));
  for (Zeb_Tensor_t* tensor : {&input, &weight, &output}) api.tensorCreateGraphTensor(graph, tensor);
  Zeb_Tensor_t inputs[] = {input, weight}, outputs[] = {output};
  api.graphAddNode(graph, convolution(params, inputs, outputs));
  // No name, no parameters, a parameter array without elements.
  Zeb_Param_t noParams[1] = {};
  api.graphAddNode(graph, opConfig(nullptr, "zeb.aisw", "Relu", 0, noParams, 1, outputs, 1, outputs));
  api.graphAddNode(graph, opConfig("relu", nullptr, nullptr, 2, nullptr, 0, nullptr, 0, nullptr));
  api.graphFinalize(graph, profile, nullptr); api.graphFinalize(head, nullptr, nullptr);

  float inputData[4] = {1.0f, 2.0f, 3.0f, 4.0f}, outputData[4] = {};
  inputs[0].v1.clientBuf = {inputData, sizeof inputData};
  outputs[0].v1.clientBuf = {outputData, sizeof outputData};
  api.graphExecute(graph, inputs, 1, outputs, 1, profile, nullptr);
  inputData[3] = -0.5f;
  // Cleared, as the calls are to be the same whatever the backend put there.
  std::fill(std::begin(outputData), std::end(outputData), 0.0f);
  api.graphExecute(graph, inputs, 1, outputs, 1, nullptr, nullptr);
  api.graphExecute(graph, nullptr, 0, nullptr, 0, nullptr, nullptr);

  // A context made from nothing else: the graph comes back by name.
  Zeb_ContextHandle_t stored = nullptr; api.contextCreate(backend, nullptr, kNoContextConfigs, &stored);
  Zeb_GraphHandle_t retrieved = nullptr, again = nullptr; api.graphRetrieve(stored, "stored net", &retrieved);
  static uint32_t three[] = {3};
  uint8_t data[3] = {7, 8, 9};
  Zeb_Tensor_t in[] = {tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_UINT_8, 1, three, data, 3)};
  api.graphExecute(retrieved, in, 1, nullptr, 0, nullptr, nullptr);
  api.graphRetrieve(stored, "stored net", &again);
  api.graphFinalize(again, nullptr, nullptr);
  api.contextFree(stored, nullptr); api.contextFree(context, profile);
  api.profileFree(profile); api.backendFree(backend);
}

// Each kind of call that carries data once: every write point in a short run.
void dataPath(const ZebApi& api) {
  const PlainContext plain(api);
  Zeb_Tensor_t table = tensorV1("table", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kFour, kBytes, 4);
  api.tensorCreateContextTensor(plain.context, &table);
  const Zeb_GraphHandle_t graph = plain.graph("g");
  float weights[4] = {0.5f, -1.0f, 2.0f, 0.25f}, input[4] = {1.0f, 2.0f, 3.0f, 4.0f};
  Zeb_Tensor_t tensors[] = {floats("in", ZEB_TENSOR_TYPE_APP_WRITE, 1, kFour),
                            floats("w", ZEB_TENSOR_TYPE_STATIC, 1, kFour, weights, 16)};
  for (Zeb_Tensor_t& tensor : tensors) api.tensorCreateGraphTensor(graph, &tensor);
  int32_t bias[2] = {3, -3};
  Zeb_Param_t params[] = {staticParam("bias", ZEB_DATATYPE_INT_32, kFour, bias, 8)};
  api.graphAddNode(graph, opConfig("mul", "pkg", "Mul", 1, params, 2, tensors, 0, nullptr));
  tensors[0].v1.clientBuf = {input, sizeof input};
  api.graphExecute(graph, tensors, 1, nullptr, 0, nullptr, nullptr);
  Zeb_GraphHandle_t again = nullptr; api.graphRetrieve(plain.context, "g", &again);
}

// Blocks of several blobs: small ones travel together, one past the recorder's
// gathering buffer alone, so a block takes up to three writes of the data file.
void severalBlobs(const ZebApi& api) {
  static float large[5000];  // 20,000 bytes
  for (std::size_t i = 0; i < std::size(large); ++i) large[i] = float(i % 251) - 100.0f;
  static uint32_t wide[] = {5000};
  float first[4] = {1, 2, 3, 4}, last[4] = {-1, -2, -3, -4};
  int32_t bias[4] = {7, -7, 70, -70};
  {
    const PlainContext plain(api);
    const Zeb_GraphHandle_t graph = plain.graph("g");
    Zeb_Tensor_t inputs[] = {floats("a", ZEB_TENSOR_TYPE_APP_WRITE, 1, kFour), floats("b", ZEB_TENSOR_TYPE_APP_WRITE, 1, wide),
                             floats("c", ZEB_TENSOR_TYPE_APP_WRITE, 1, kFour)};
    for (Zeb_Tensor_t& tensor : inputs) api.tensorCreateGraphTensor(graph, &tensor);
    Zeb_Param_t params[] = {staticParam("bias", ZEB_DATATYPE_INT_32, kFour, bias, sizeof bias),
                            staticParam("w", ZEB_DATATYPE_FLOAT_32, wide, large, sizeof large)};
    api.graphAddNode(graph, opConfig("mix", "pkg", "Mix", 2, params, 3, inputs, 0, nullptr));
    inputs[0].v1.clientBuf = {first, sizeof first};
    inputs[1].v1.clientBuf = {large, sizeof large};
    inputs[2].v1.clientBuf = {last, sizeof last};
    api.graphExecute(graph, inputs, 3, nullptr, 0, nullptr, nullptr);
    Zeb_GraphHandle_t again = nullptr; api.graphRetrieve(plain.context, "g", &again);
  }
  switchFiles();  // the new program declares only what it creates
  const PlainContext plain(api);
  Zeb_Tensor_t alone = floats("alone", ZEB_TENSOR_TYPE_STATIC, 1, wide, large, sizeof large);
  api.tensorCreateContextTensor(plain.context, &alone);
}

// NaNs of both signs, quiet and signalling, with payloads, and infinities, in each place
// a float is written: scalar parameters, and the scales of every encoding.
void nonFiniteFloats(const ZebApi& api) {
  static float values[6] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
  const uint32_t nans[] = {0x7fc00000, 0xffc00000, 0x7f800001, 0xff9abcde};
  std::memcpy(values + 2, nans, sizeof nans);
  static Zeb_ScaleOffset_t pairs[6];
  static int32_t offsets[6];
  std::vector<Zeb_Param_t> params;
  for (int i = 0; i < 6; ++i) {
    pairs[i] = {values[i], i};
    params.push_back(scalarParam("value", scalar(ZEB_DATATYPE_FLOAT_32, &Zeb_Scalar_t::floatValue, values[i])));
  }
  const PlainContext plain(api);
  const Zeb_GraphHandle_t graph = plain.graph("g");
  std::vector<Zeb_Tensor_t> tensors;
  for (const Q& encoding : {scaleOffset(values[2], 0), scaleOffset(values[3], 0), bwScaleOffset(8, values[5], 1),
                            axisScaleOffset(0, 6, pairs), bwAxisScaleOffset(8, 0, 6, values, offsets)}) {
    tensors.push_back(tensorV1("q", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, nullptr, 0, encoding));
    api.tensorCreateGraphTensor(graph, &tensors.back());
  }
  api.graphAddNode(graph, opConfig("floats", "pkg", "Op", 6, params.data(), 5, tensors.data(), 0, nullptr));
}

void tensorFlow(const ZebApi& api) {
  const PlainContext plain(api);
  const Zeb_GraphHandle_t graph = plain.graph("models\\flow");
  Zeb_Tensor_t tensors[] = {floats("in", ZEB_TENSOR_TYPE_APP_WRITE, 1, kFour),
                            floats("state\\h", ZEB_TENSOR_TYPE_APP_READWRITE, 1, kFour),
                            floats("out", ZEB_TENSOR_TYPE_APP_READ, 1, kFour)};
  for (Zeb_Tensor_t& tensor : tensors) api.tensorCreateGraphTensor(graph, &tensor);
  api.graphAddNode(graph, opConfig("step\\1", "pkg", "Add", 0, nullptr, 1, tensors, 1, tensors + 1));
  api.graphAddNode(graph, opConfig("step\\2", "pkg", "Mul", 0, nullptr, 1, tensors + 1, 1, tensors + 2));
  api.graphFinalize(graph, nullptr, nullptr);
}

}  // namespace zeb::e2e
