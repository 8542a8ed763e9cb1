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
uint32_t kShape[] = {1, 4};

Zeb_Tensor_t floats(const char* name, Zeb_TensorType_t type, uint32_t* shape = kShape) {
  return tensorV1(name, type, ZEB_DATATYPE_FLOAT_32, 2, shape, nullptr, 0);
}

// One context tensor of each data type, and as version 2 with each quantisation encoding.
void createContextTensors(const ZebApi& api, Zeb_ContextHandle_t context) {
  static uint32_t dims[] = {2, 8};
  static Zeb_ScaleOffset_t pairs[] = {{0.5f, -3}, {0.1f, 7}};
  static float scales[] = {0.25f, 3.0e-7f};
  static int32_t offsets[] = {-128, 127};
  static uint8_t dynamic[] = {1, 0};
  uint8_t isProduced = 0;
  for (const int32_t dataType : {0x08, 0x16, 0x32, 0x64, 0x108, 0x116, 0x132, 0x164, 0x232, 0x264, 0x304, 0x308,
                                 0x316, 0x332, 0x404, 0x408, 0x416, 0x432}) {
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
  static uint32_t biasShape[] = {4};
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
  params.push_back(tensorParam(
      "bias", tensorV1("bias", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_INT_32, 1, biasShape, bias, sizeof bias)));
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

  const ZebGraph_Config_t priority = graphPriority(ZEB_PRIORITY_HIGH), custom = graphCustomNull();
  const ZebGraph_Config_t lower = graphPriority(ZEB_PRIORITY_LOW);
  const ZebGraph_Config_t *configs[] = {&priority, &custom, nullptr}, *newConfigs[] = {&lower, nullptr}, *none[] = {nullptr};
  Zeb_GraphHandle_t graph = nullptr, head = nullptr;
  api.graphCreate(context, "mobilenet v2/block:1", configs, &graph);
  api.graphSetConfig(graph, newConfigs); api.graphSetConfig(graph, none);
  api.graphCreateSubgraph(graph, "head", &head);

  // Graph tensors for a convolution: input, weights with data, output.
  static uint32_t weightShape[] = {4, 4};
  static float weights[16] = {0.5f, -1.25f, 3.0e-7f, 1e9f, 0.1f, 123456789.0f};
  Zeb_Tensor_t input = floats("input:0", ZEB_TENSOR_TYPE_APP_WRITE), output = floats("output:0", ZEB_TENSOR_TYPE_APP_READ);
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
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, kNoBackendConfigs, &backend);
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  static uint32_t shape[] = {4};
  Zeb_Tensor_t table = tensorV1("table", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, shape, kBytes, 4);
  api.tensorCreateContextTensor(context, &table);
  Zeb_GraphHandle_t graph = nullptr; api.graphCreate(context, "g", kNoGraphConfigs, &graph);
  float weights[4] = {0.5f, -1.0f, 2.0f, 0.25f};
  Zeb_Tensor_t tensors[] = {tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0),
                            tensorV1("w", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 1, shape, weights, 16)};
  for (Zeb_Tensor_t& tensor : tensors) api.tensorCreateGraphTensor(graph, &tensor);
  int32_t bias[2] = {3, -3};
  Zeb_Param_t params[] = {
      tensorParam("bias", tensorV1("bias", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_INT_32, 1, shape, bias, 8))};
  api.graphAddNode(graph, opConfig("mul", "pkg", "Mul", 1, params, 2, tensors, 0, nullptr));
  float input[4] = {1.0f, 2.0f, 3.0f, 4.0f};
  Zeb_Tensor_t inputs[] = {tensors[0]};
  inputs[0].v1.clientBuf = {input, sizeof input};
  api.graphExecute(graph, inputs, 1, nullptr, 0, nullptr, nullptr);
  Zeb_GraphHandle_t again = nullptr; api.graphRetrieve(context, "g", &again);
  api.contextFree(context, nullptr); api.backendFree(backend);
}

// Blocks of several blobs: small ones travel together, one past the recorder's
// gathering buffer alone, so a block takes up to three writes of the data file.
void severalBlobs(const ZebApi& api) {
  static float large[5000];  // 20,000 bytes
  for (std::size_t i = 0; i < std::size(large); ++i) large[i] = float(i % 251) - 100.0f;
  static uint32_t small[] = {4}, wide[] = {5000};
  float first[4] = {1, 2, 3, 4}, last[4] = {-1, -2, -3, -4};
  int32_t bias[4] = {7, -7, 70, -70};
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, kNoBackendConfigs, &backend);
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  Zeb_GraphHandle_t graph = nullptr; api.graphCreate(context, "g", kNoGraphConfigs, &graph);
  Zeb_Tensor_t inputs[] = {tensorV1("a", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, small, nullptr, 0),
                           tensorV1("b", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, wide, nullptr, 0),
                           tensorV1("c", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, small, nullptr, 0)};
  for (Zeb_Tensor_t& tensor : inputs) api.tensorCreateGraphTensor(graph, &tensor);
  Zeb_Param_t params[] = {
      tensorParam("bias", tensorV1("bias", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_INT_32, 1, small, bias, sizeof bias)),
      tensorParam("w", tensorV1("w", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 1, wide, large, sizeof large))};
  api.graphAddNode(graph, opConfig("mix", "pkg", "Mix", 2, params, 3, inputs, 0, nullptr));
  inputs[0].v1.clientBuf = {first, sizeof first};
  inputs[1].v1.clientBuf = {large, sizeof large};
  inputs[2].v1.clientBuf = {last, sizeof last};
  api.graphExecute(graph, inputs, 3, nullptr, 0, nullptr, nullptr);
  Zeb_GraphHandle_t again = nullptr; api.graphRetrieve(context, "g", &again);
  api.contextFree(context, nullptr); api.backendFree(backend);
  switchFiles();  // the new program declares only what it creates
  api.backendCreate(nullptr, kNoBackendConfigs, &backend);
  api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  Zeb_Tensor_t alone = tensorV1("alone", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 1, wide, large, sizeof large);
  api.tensorCreateContextTensor(context, &alone);
  api.contextFree(context, nullptr); api.backendFree(backend);
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
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, kNoBackendConfigs, &backend);
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  Zeb_GraphHandle_t graph = nullptr; api.graphCreate(context, "g", kNoGraphConfigs, &graph);
  std::vector<Zeb_Tensor_t> tensors;
  for (const Q& encoding : {scaleOffset(values[2], 0), scaleOffset(values[3], 0), bwScaleOffset(8, values[5], 1),
                            axisScaleOffset(0, 6, pairs), bwAxisScaleOffset(8, 0, 6, values, offsets)}) {
    tensors.push_back(tensorV1("q", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, nullptr, 0, encoding));
    api.tensorCreateGraphTensor(graph, &tensors.back());
  }
  api.graphAddNode(graph, opConfig("floats", "pkg", "Op", 6, params.data(), 5, tensors.data(), 0, nullptr));
  api.contextFree(context, nullptr); api.backendFree(backend);
}

}  // namespace zeb::e2e
