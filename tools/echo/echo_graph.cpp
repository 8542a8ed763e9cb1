// Graph and tensor slots of the echo backend.
#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

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
