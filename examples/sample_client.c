/* sample_client <backend-library>
 *
 * A small client of the Zeb API: loads a backend library at run time and builds
 * and runs a little image classifier on it (convolution, bias add, ReLU, fully
 * connected layer with quantised weights, softmax), executes it twice, asks for
 * the context binary and frees everything. Loaded with ZebScribe, the run is
 * recorded as a C program. Results are not inspected: the client makes the
 * same calls whatever a backend answers (it clears the scores before each
 * execution). */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ZebInterface.h"

#ifdef _WIN32
#include <windows.h>
typedef HMODULE Library;
static Library openLibrary(const char* path) { return LoadLibraryA(path); }
static void closeLibrary(Library library) { FreeLibrary(library); }
static ZebInterface_GetProvidersFn_t providerLookup(Library library) {
  FARPROC address = GetProcAddress(library, "ZebInterface_getProviders");
  ZebInterface_GetProvidersFn_t lookup;
  memcpy(&lookup, &address, sizeof lookup);
  return lookup;
}
#else
#include <dlfcn.h>
typedef void* Library;
static Library openLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
static void closeLibrary(Library library) { dlclose(library); }
static ZebInterface_GetProvidersFn_t providerLookup(Library library) {
  void* address = dlsym(library, "ZebInterface_getProviders");
  ZebInterface_GetProvidersFn_t lookup;
  memcpy(&lookup, &address, sizeof lookup);
  return lookup;
}
#endif

/* Image 8x8x3 -> conv 3x3 (4 filters) -> bias -> ReLU -> fully connected (10) -> softmax. */
enum { H = 8, W = 8, C_IN = 3, C_OUT = 4, K = 3, FEATURES = H * W * C_OUT, CLASSES = 10 };

/* The weights come from a fixed seed, so every run records the same data. */
static uint32_t seedState = 20240501u;
static float nextWeight(void) {
  seedState ^= seedState << 13;
  seedState ^= seedState >> 17;
  seedState ^= seedState << 5;
  return (float)(seedState % 2001u) / 1000.0f - 1.0f;
}
static void fill(float* values, size_t count) {
  for (size_t i = 0; i < count; ++i) values[i] = nextWeight();
}

static float convWeights[K * K * C_IN * C_OUT];
static float convBias[C_OUT];
static uint8_t fcWeights[CLASSES * FEATURES];
static float fcBias[CLASSES];
static float images[2][H * W * C_IN];
static float scores[CLASSES];

static void makeData(void) {
  fill(convWeights, K * K * C_IN * C_OUT);
  fill(convBias, C_OUT);
  for (size_t i = 0; i < sizeof fcWeights; ++i) {
    fcWeights[i] = (uint8_t)(nextWeight() * 127.0f + 128.0f);
  }
  fill(fcBias, CLASSES);
  fill(images[0], H * W * C_IN);
  fill(images[1], H * W * C_IN);
}

static uint32_t inputDims[] = {1, H, W, C_IN};
static uint32_t convWeightDims[] = {K, K, C_IN, C_OUT};
static uint32_t channelDims[] = {C_OUT};
static uint32_t featureMapDims[] = {1, H, W, C_OUT};
static uint32_t fcWeightDims[] = {CLASSES, FEATURES};
static uint32_t classDims[] = {CLASSES};
static uint32_t scoreDims[] = {1, CLASSES};
static uint32_t pairDims[] = {2};
static uint32_t padDims[] = {2, 2};
static uint32_t strides[] = {1, 1};
static uint32_t padding[] = {1, 1, 1, 1};

static Zeb_Tensor_t tensor(const char* name, Zeb_TensorType_t type, Zeb_DataType_t dataType,
                           uint32_t rank, uint32_t* dims, void* data, uint32_t bytes) {
  Zeb_Tensor_t t;
  memset(&t, 0, sizeof t);
  t.version = ZEB_TENSOR_VERSION_1;
  t.v1.name = name;
  t.v1.type = type;
  t.v1.dataType = dataType;
  t.v1.quantizeParams.encodingDefinition = ZEB_DEFINITION_UNDEFINED;
  t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  t.v1.rank = rank;
  t.v1.dimensions = dims;
  t.v1.memType = ZEB_TENSORMEMTYPE_RAW;
  t.v1.clientBuf.data = data;
  t.v1.clientBuf.dataSize = bytes;
  return t;
}

static Zeb_Tensor_t floatTensor(const char* name, Zeb_TensorType_t type, uint32_t rank,
                                uint32_t* dims, float* data, uint32_t count) {
  return tensor(name, type, ZEB_DATATYPE_FLOAT_32, rank, dims, data,
                data ? count * (uint32_t)sizeof(float) : 0);
}

static Zeb_Param_t tensorParam(const char* name, uint32_t* dims, uint32_t rank, uint32_t* data,
                               uint32_t count) {
  Zeb_Param_t param;
  memset(&param, 0, sizeof param);
  param.paramType = ZEB_PARAMTYPE_TENSOR;
  param.name = name;
  param.tensorParam = tensor(name, ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_32, rank, dims, data,
                             count * (uint32_t)sizeof(uint32_t));
  return param;
}

static Zeb_Param_t floatParam(const char* name, float value) {
  Zeb_Param_t param;
  memset(&param, 0, sizeof param);
  param.paramType = ZEB_PARAMTYPE_SCALAR;
  param.name = name;
  param.scalarParam.dataType = ZEB_DATATYPE_FLOAT_32;
  param.scalarParam.floatValue = value;
  return param;
}

static Zeb_ErrorHandle_t addNode(const ZEB_INTERFACE_VER_TYPE* zeb, Zeb_GraphHandle_t graph,
                                 const char* name, const char* typeName, uint32_t numParams,
                                 Zeb_Param_t* params, uint32_t numInputs, Zeb_Tensor_t* inputs,
                                 Zeb_Tensor_t* output) {
  Zeb_OpConfig_t op;
  memset(&op, 0, sizeof op);
  op.version = ZEB_OPCONFIG_VERSION_1;
  op.v1.name = name;
  op.v1.packageName = "zeb.sample";
  op.v1.typeName = typeName;
  op.v1.numOfParams = numParams;
  op.v1.params = params;
  op.v1.numOfInputs = numInputs;
  op.v1.inputTensors = inputs;
  op.v1.numOfOutputs = 1;
  op.v1.outputTensors = output;
  return zeb->graphAddNode(graph, op);
}

/* The graph's tensors; each gets its id from the backend when it is created. */
struct Network {
  Zeb_Tensor_t input, convWeights, convOut, convBias, biasOut, reluOut, fcWeights, fcBias, fcOut,
      output;
};

static void createTensors(const ZEB_INTERFACE_VER_TYPE* zeb, Zeb_GraphHandle_t graph,
                          struct Network* net) {
  net->input = floatTensor("image", ZEB_TENSOR_TYPE_APP_WRITE, 4, inputDims, NULL, 0);
  net->convWeights = floatTensor("conv1.weight", ZEB_TENSOR_TYPE_STATIC, 4, convWeightDims,
                                 convWeights, K * K * C_IN * C_OUT);
  net->convOut = floatTensor("conv1.out", ZEB_TENSOR_TYPE_NATIVE, 4, featureMapDims, NULL, 0);
  net->convBias =
      floatTensor("conv1.bias", ZEB_TENSOR_TYPE_STATIC, 1, channelDims, convBias, C_OUT);
  net->biasOut = floatTensor("conv1.biased", ZEB_TENSOR_TYPE_NATIVE, 4, featureMapDims, NULL, 0);
  net->reluOut = floatTensor("relu1.out", ZEB_TENSOR_TYPE_NATIVE, 4, featureMapDims, NULL, 0);
  /* The classifier's weights are quantised to 8 bits: real = 0.0078125 * (q - 128). */
  net->fcWeights = tensor("fc.weight", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UFIXED_POINT_8, 2,
                          fcWeightDims, fcWeights, (uint32_t)sizeof fcWeights);
  net->fcWeights.v1.quantizeParams.encodingDefinition = ZEB_DEFINITION_DEFINED;
  net->fcWeights.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET;
  net->fcWeights.v1.quantizeParams.scaleOffsetEncoding.scale = 0.0078125f;
  net->fcWeights.v1.quantizeParams.scaleOffsetEncoding.offset = -128;
  net->fcBias = floatTensor("fc.bias", ZEB_TENSOR_TYPE_STATIC, 1, classDims, fcBias, CLASSES);
  net->fcOut = floatTensor("fc.out", ZEB_TENSOR_TYPE_NATIVE, 2, scoreDims, NULL, 0);
  net->output = floatTensor("probabilities", ZEB_TENSOR_TYPE_APP_READ, 2, scoreDims, NULL, 0);

  Zeb_Tensor_t* all[] = {&net->input,   &net->convWeights, &net->convOut, &net->convBias,
                         &net->biasOut, &net->reluOut,     &net->fcWeights, &net->fcBias,
                         &net->fcOut,   &net->output};
  for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) {
    zeb->tensorCreateGraphTensor(graph, all[i]);
  }
}

static void addLayers(const ZEB_INTERFACE_VER_TYPE* zeb, Zeb_GraphHandle_t graph,
                      struct Network* net) {
  Zeb_Param_t convParams[] = {tensorParam("stride", pairDims, 1, strides, 2),
                              tensorParam("pad_amount", padDims, 2, padding, 4)};
  Zeb_Tensor_t convInputs[] = {net->input, net->convWeights};
  addNode(zeb, graph, "conv1", "Conv2d", 2, convParams, 2, convInputs, &net->convOut);

  Zeb_Tensor_t biasInputs[] = {net->convOut, net->convBias};
  addNode(zeb, graph, "conv1_bias", "ElementWiseAdd", 0, NULL, 2, biasInputs, &net->biasOut);

  addNode(zeb, graph, "relu1", "Relu", 0, NULL, 1, &net->biasOut, &net->reluOut);

  Zeb_Tensor_t fcInputs[] = {net->reluOut, net->fcWeights, net->fcBias};
  addNode(zeb, graph, "fc", "FullyConnected", 0, NULL, 3, fcInputs, &net->fcOut);

  Zeb_Param_t softmaxParams[] = {floatParam("beta", 1.0f)};
  addNode(zeb, graph, "softmax", "Softmax", 1, softmaxParams, 1, &net->fcOut, &net->output);
}

static void execute(const ZEB_INTERFACE_VER_TYPE* zeb, Zeb_GraphHandle_t graph,
                    const struct Network* net, float* image) {
  Zeb_Tensor_t input = net->input;
  input.v1.clientBuf.data = image;
  input.v1.clientBuf.dataSize = (uint32_t)sizeof images[0];
  Zeb_Tensor_t output = net->output;
  memset(scores, 0, sizeof scores);
  output.v1.clientBuf.data = scores;
  output.v1.clientBuf.dataSize = (uint32_t)sizeof scores;
  zeb->graphExecute(graph, &input, 1, &output, 1, NULL, NULL);
}

/* Asks for the context binary and keeps it in memory, as a client caching it would. */
static void fetchContextBinary(const ZEB_INTERFACE_VER_TYPE* zeb, Zeb_ContextHandle_t context) {
  Zeb_ContextBinarySize_t size = 4096; /* a backend that answers overwrites this */
  zeb->contextGetBinarySize(context, &size);
  void* binary = malloc((size_t)size);
  Zeb_ContextBinarySize_t written = 0;
  zeb->contextGetBinary(context, binary, size, &written);
  free(binary);
}

static void run(const ZEB_INTERFACE_VER_TYPE* zeb) {
  ZebBackend_Config_t reporting = {ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING,
                                   .errorConfig = {ZEB_ERROR_REPORTING_LEVEL_BRIEF, 0}};
  const ZebBackend_Config_t* backendConfig[] = {&reporting, NULL};
  Zeb_BackendHandle_t backend = NULL;
  zeb->backendCreate(NULL, backendConfig, &backend);

  ZebContext_Config_t priority = {ZEB_CONTEXT_CONFIG_OPTION_PRIORITY,
                                  .priority = ZEB_PRIORITY_NORMAL_HIGH};
  const ZebContext_Config_t* contextConfig[] = {&priority, NULL};
  Zeb_ContextHandle_t context = NULL;
  zeb->contextCreate(backend, NULL, contextConfig, &context);

  ZebGraph_Config_t graphPriority = {ZEB_GRAPH_CONFIG_OPTION_PRIORITY,
                                     .priority = ZEB_PRIORITY_HIGH};
  const ZebGraph_Config_t* graphConfig[] = {&graphPriority, NULL};
  Zeb_GraphHandle_t graph = NULL;
  zeb->graphCreate(context, "sample classifier", graphConfig, &graph);
  struct Network net;
  createTensors(zeb, graph, &net);
  addLayers(zeb, graph, &net);
  zeb->graphFinalize(graph, NULL, NULL);
  execute(zeb, graph, &net, images[0]);
  execute(zeb, graph, &net, images[1]);

  fetchContextBinary(zeb, context);
  zeb->contextFree(context, NULL);
  zeb->backendFree(backend);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <backend-library>\n", argv[0]);
    return 2;
  }
  makeData();
  Library library = openLibrary(argv[1]);
  if (!library) {
    fprintf(stderr, "%s: cannot load %s\n", argv[0], argv[1]);
    return 1;
  }
  ZebInterface_GetProvidersFn_t getProviders = providerLookup(library);
  const ZebInterface_t** providers = NULL;
  uint32_t numProviders = 0;
  if (!getProviders || getProviders(&providers, &numProviders) != 0 || numProviders == 0) {
    fprintf(stderr, "%s: %s offers no Zeb interface provider\n", argv[0], argv[1]);
    closeLibrary(library);
    return 1;
  }
  printf("sample_client: running the sample classifier on %s\n", providers[0]->providerName);
  run(&providers[0]->ZEB_INTERFACE_VER_NAME);
  closeLibrary(library);
  return 0;
}
