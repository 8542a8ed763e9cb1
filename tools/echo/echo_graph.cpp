// Graph and tensor slots of the echo backend.
#include <cstddef>

#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

// The raw client buffer of a tensor of a known version; null for any other.
const Zeb_ClientBuffer_t* rawBuffer(const Zeb_Tensor_t& tensor) {
  if (tensor.version == ZEB_TENSOR_VERSION_1 && tensor.v1.memType == ZEB_TENSORMEMTYPE_RAW)
    return &tensor.v1.clientBuf;
  if (tensor.version == ZEB_TENSOR_VERSION_2 && tensor.v2.memType == ZEB_TENSORMEMTYPE_RAW)
    return &tensor.v2.clientBuf;
  return nullptr;
}

uint64_t inputsHash(const Zeb_Tensor_t* inputs, uint32_t count) {
  uint64_t hash = fnv1a(nullptr, 0);
  for (uint32_t i = 0; inputs != nullptr && i < count; ++i) {
    const Zeb_ClientBuffer_t* buffer = rawBuffer(inputs[i]);
    const uint64_t contents = buffer && buffer->data ? fnv1a(buffer->data, buffer->dataSize) : 0;
    hash = (hash ^ contents) * 0x100000001b3ull;
  }
  return hash;
}

// Bytes of a 64-bit mix of the inputs' hash, the output's number and the
// byte's place: the same inputs always give the same outputs.
uint8_t outputByte(uint64_t inputHash, uint32_t output, std::size_t index) {
  uint64_t mixed = inputHash ^ (uint64_t{output} << 48) ^ (index / 8);
  mixed = (mixed ^ (mixed >> 30)) * 0xbf58476d1ce4e5b9ull;
  mixed = (mixed ^ (mixed >> 27)) * 0x94d049bb133111ebull;
  return static_cast<uint8_t>((mixed ^ (mixed >> 31)) >> (8 * (index % 8)));
}

// Runs the graph, as far as an echo can: fills each raw output from the inputs.
void fillOutputs(const Call& call, const Zeb_Tensor_t* inputs, uint32_t numInputs,
                 Zeb_Tensor_t* outputs, uint32_t numOutputs) {
  if (call.failing() || outputs == nullptr) return;
  const uint64_t hash = inputsHash(inputs, numInputs);
  for (uint32_t k = 0; k < numOutputs; ++k) {
    const Zeb_ClientBuffer_t* buffer = rawBuffer(outputs[k]);
    if (buffer == nullptr || buffer->data == nullptr) continue;
    auto* bytes = static_cast<uint8_t*>(buffer->data);
    for (std::size_t i = 0; i < buffer->dataSize; ++i) bytes[i] = outputByte(hash, k, i);
  }
}

// The tensor arguments that both execution slots share.
void executeArguments(Call& call, Zeb_GraphHandle_t graph, const Zeb_Tensor_t* inputs,
                      uint32_t numInputs, const Zeb_Tensor_t* outputs, uint32_t numOutputs,
                      Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal) {
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("numInputs").number(numInputs);
  call.arg("inputs").tensors(inputs, numInputs);
  call.arg("numOutputs").number(numOutputs);
  call.arg("outputs").tensors(outputs, numOutputs);
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.arg("signal").handle(HandleKind::Signal, signal);
}

Zeb_ErrorHandle_t graphCreate(Zeb_ContextHandle_t context, const char* graphName,
                              const ZebGraph_Config_t** config, Zeb_GraphHandle_t* graph) {
  Call call("graphCreate");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("name").string(graphName);
  call.arg("config").graphConfigs(config);
  call.createGraph(context, graphName, graph);
  return call.finish();
}

Zeb_ErrorHandle_t graphCreateSubgraph(Zeb_GraphHandle_t graph, const char* graphName,
                                      Zeb_GraphHandle_t* subgraph) {
  Call call("graphCreateSubgraph");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("name").string(graphName);
  call.create(HandleKind::Graph, subgraph);
  return call.finish();
}

Zeb_ErrorHandle_t graphSetConfig(Zeb_GraphHandle_t graph, const ZebGraph_Config_t** config) {
  Call call("graphSetConfig");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("config").graphConfigs(config);
  return call.finish();
}

Zeb_ErrorHandle_t graphAddNode(Zeb_GraphHandle_t graph, Zeb_OpConfig_t opConfig) {
  Call call("graphAddNode");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("op").opConfig(opConfig);
  return call.finish();
}

Zeb_ErrorHandle_t graphFinalize(Zeb_GraphHandle_t graph, Zeb_ProfileHandle_t profile,
                                Zeb_SignalHandle_t signal) {
  Call call("graphFinalize");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.arg("signal").handle(HandleKind::Signal, signal);
  return call.finish();
}

Zeb_ErrorHandle_t graphRetrieve(Zeb_ContextHandle_t context, const char* graphName,
                                Zeb_GraphHandle_t* graph) {
  Call call("graphRetrieve");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("name").string(graphName);
  call.retrieveGraph(context, graphName, graph);
  return call.finish();
}

Zeb_ErrorHandle_t graphExecute(Zeb_GraphHandle_t graph, const Zeb_Tensor_t* inputs,
                               uint32_t numInputs, Zeb_Tensor_t* outputs, uint32_t numOutputs,
                               Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal) {
  Call call("graphExecute");
  executeArguments(call, graph, inputs, numInputs, outputs, numOutputs, profile, signal);
  fillOutputs(call, inputs, numInputs, outputs, numOutputs);
  return call.finish();
}

// Execution completes at once; the client is notified after the line is written.
Zeb_ErrorHandle_t graphExecuteAsync(Zeb_GraphHandle_t graph, const Zeb_Tensor_t* inputs,
                                    uint32_t numInputs, Zeb_Tensor_t* outputs,
                                    uint32_t numOutputs, Zeb_ProfileHandle_t profile,
                                    Zeb_SignalHandle_t signal, Zeb_NotifyFn_t notifyFn,
                                    void* notifyParam) {
  Call call("graphExecuteAsync");
  executeArguments(call, graph, inputs, numInputs, outputs, numOutputs, profile, signal);
  call.arg("notify").opaque(notifyFn);
  call.arg("notifyParam").opaque(notifyParam);
  fillOutputs(call, inputs, numInputs, outputs, numOutputs);
  const Zeb_ErrorHandle_t status = call.finish();
  if (notifyFn != nullptr) notifyFn(notifyParam, status);
  return status;
}

Zeb_ErrorHandle_t tensorCreateContextTensor(Zeb_ContextHandle_t context, Zeb_Tensor_t* tensor) {
  Call call("tensorCreateContextTensor");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("tensor").tensor(tensor);
  call.assignTensorId(tensor);
  return call.finish();
}

Zeb_ErrorHandle_t tensorCreateGraphTensor(Zeb_GraphHandle_t graph, Zeb_Tensor_t* tensor) {
  Call call("tensorCreateGraphTensor");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("tensor").tensor(tensor);
  call.assignTensorId(tensor);
  return call.finish();
}

Zeb_ErrorHandle_t graphUpdateInputTensors(Zeb_GraphHandle_t graph, const Zeb_Tensor_t** tensors,
                                          uint32_t numTensors) {
  Call call("graphUpdateInputTensors");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("numTensors").number(numTensors);
  call.arg("tensors").tensorPointers(tensors, numTensors);
  return call.finish();
}

Zeb_ErrorHandle_t graphUpdateOutputTensors(Zeb_GraphHandle_t graph, const Zeb_Tensor_t** tensors,
                                           uint32_t numTensors) {
  Call call("graphUpdateOutputTensors");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("numTensors").number(numTensors);
  call.arg("tensors").tensorPointers(tensors, numTensors);
  return call.finish();
}

Zeb_ErrorHandle_t graphPrepareExecutionEnvironment(
    Zeb_GraphHandle_t graph, const ZebGraph_ExecutionEnvironment_t** environment) {
  Call call("graphPrepareExecutionEnvironment");
  call.arg("graph").handle(HandleKind::Graph, graph);
  call.arg("environment").environment(environment);
  return call.finish();
}

}  // namespace

void fillGraphSlots(FunctionTable& table) {
  table.graphCreate = graphCreate;
  table.graphCreateSubgraph = graphCreateSubgraph;
  table.graphSetConfig = graphSetConfig;
  table.graphAddNode = graphAddNode;
  table.graphFinalize = graphFinalize;
  table.graphRetrieve = graphRetrieve;
  table.graphExecute = graphExecute;
  table.graphExecuteAsync = graphExecuteAsync;
  table.tensorCreateContextTensor = tensorCreateContextTensor;
  table.tensorCreateGraphTensor = tensorCreateGraphTensor;
  table.graphUpdateInputTensors = graphUpdateInputTensors;
  table.graphUpdateOutputTensors = graphUpdateOutputTensors;
  table.graphPrepareExecutionEnvironment = graphPrepareExecutionEnvironment;
}

}  // namespace zeb::echo
