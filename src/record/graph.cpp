#include "record/graph.h"

#include "log/logger.h"
#include "record/graph_config.h"
#include "record/graph_names.h"
#include "record/tensor_description.h"

namespace zeb::record {
namespace {

constexpr BlockCodes kGraphCodes{ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL, ZEB_CONTEXT_ERROR_GENERAL};
// A tensor whose data cannot be written cannot be described either.
constexpr BlockCodes kExecuteCodes{ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL,
                                   ZEB_GRAPH_ERROR_INVALID_TENSOR};

// The arrays are read for as many tensors as their counts say.
bool tensorArraysMissing(const Zeb_Tensor_t* inputs, uint32_t numInputs,
                         const Zeb_Tensor_t* outputs, uint32_t numOutputs) {
  if (inputs == nullptr && numInputs > 0) {
    zeb::log::error("Provided input tensor array is NULL while numInputs is %u", numInputs);
    return true;
  }
  if (outputs == nullptr && numOutputs > 0) {
    zeb::log::error("Provided output tensor array is NULL while numOutputs is %u", numOutputs);
    return true;
  }
  return false;
}

// The graph of the client's name, else of that variable name, with its handle.
std::pair<uint64_t, std::shared_ptr<ScribeGraph>> findNamedGraph(const ScribeContext& context,
                                                                 const char* graphName) {
  auto found = context.findGraphIf(
      [graphName](const ScribeGraph& graph) { return graph.graphName == graphName; });
  if (found.second) return found;
  return context.findGraphIf(
      [graphName](const ScribeGraph& graph) { return graph.name == graphName; });
}

// Moves the graph's execution counter past executions whose names a graph or
// node took ahead (one named `{graph}_inputTensors_{e}`, say).
void passClaimedExecutions(ScribeGraph& graph, uint32_t numInputs, uint32_t numOutputs) {
  const ScribeContext& context = *graph.context;
  const auto claimed = [&](const std::string& execution) {
    if (context.claimedAhead(graph.name + "_inputTensors_" + execution, kPlainName) ||
        context.claimedAhead(graph.name + "_outputTensors_" + execution, kPlainName))
      return true;
    for (const auto& [tensors, count] :
         {std::pair{"_inputTensor_", numInputs}, {"_outputTensor_", numOutputs}}) {
      const std::string prefix = graph.name + tensors + execution + "_";
      for (uint32_t i = 0; i < count; ++i)
        if (context.claimedAhead(prefix + std::to_string(i), kTensorName)) return true;
    }
    return false;
  };
  while (claimed(std::to_string(graph.executionCounter))) ++graph.executionCounter;
}

}  // namespace

const std::string& graphVariable(const ScribeGraph& graph, StatementBuilder& builder) {
  if (!graph.declared) builder.writeNullDeclaration("Zeb_GraphHandle_t", graph.name);
  return graph.name;
}

const TextBuffer& graphDerivedName(const ScribeGraph& graph, std::string_view word,
                                   StatementBuilder& builder) {
  TextBuffer& name = composeName(builder, graph.name, word);
  graph.context->numberGraphDerivedName(name);
  return name;
}

Zeb_ErrorHandle_t writeGraphBlock(Recorder& recorder, StatementBuilder& builder,
                                  ScribeGraph& graph, const BlockCodes& codes) {
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, codes);
  if (code == codes.recorded) graph.declared = true;
  return code;
}

Zeb_ErrorHandle_t graphCreate(Recorder& recorder, uint64_t contextHandle, ScribeContext& context,
                              const char* graphName, const ZebGraph_Config_t** config,
                              uint64_t* graph) {
  const NewGraph created = createGraph(context, graphName);
  if (created.refusal != ZEB_SUCCESS) return created.refusal;
  ScribeGraph& record = *created.graph;
  StatementBuilder builder;
  TextBuffer& array = builder.scratch();
  if (auto code = writeGraphConfigs(recorder, record, config, builder, array)) return code;
  builder.writeDeclaration("Zeb_GraphHandle_t", record.name);
  builder.writeApiCall("graphCreate", context.name, QuotedPiece(graphName), array,
                       AddressPiece{record.name});
  if (auto code = writeGraphBlock(recorder, builder, record, kGraphCodes)) return code;
  recorder.recordGraphOwner(created.handle, contextHandle);
  *graph = created.handle;
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t graphCreateSubgraph(Recorder& recorder, uint64_t parentHandle,
                                      ScribeGraph& parent, const char* subgraphName,
                                      uint64_t* subgraph) {
  const NewGraph created = createGraph(*parent.context, subgraphName);
  if (created.refusal != ZEB_SUCCESS) return created.refusal;
  ScribeGraph& record = *created.graph;
  StatementBuilder builder;
  const std::string& parentName = graphVariable(parent, builder);
  builder.writeDeclaration("Zeb_GraphHandle_t", record.name);
  builder.writeApiCall("graphCreateSubgraph", parentName, QuotedPiece(subgraphName),
                       AddressPiece{record.name});
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, kGraphCodes);
  if (code == ZEB_SUCCESS) parent.declared = record.declared = true;
  *subgraph = created.handle;
  recorder.recordGraphOwner(created.handle, recorder.graphOwner(parentHandle));
  return code;
}

Zeb_ErrorHandle_t graphSetConfig(Recorder& recorder, ScribeGraph& graph,
                                 const ZebGraph_Config_t** config) {
  StatementBuilder builder;
  const std::string& name = graphVariable(graph, builder);
  TextBuffer& array = builder.scratch();
  if (auto code = writeGraphConfigs(recorder, graph, config, builder, array)) return code;
  builder.writeApiCall("graphSetConfig", name, array);
  return writeGraphBlock(recorder, builder, graph,
                         {ZEB_SUCCESS, ZEB_GRAPH_ERROR_GENERAL, ZEB_GRAPH_ERROR_GENERAL});
}

Zeb_ErrorHandle_t graphFinalize(Recorder& recorder, ScribeGraph& graph, uint64_t profile) {
  StatementBuilder builder;
  const std::string& name = graphVariable(graph, builder);
  builder.writeApiCall("graphFinalize", name, profileVariable(recorder, profile), "NULL");
  return writeGraphBlock(recorder, builder, graph, kGraphCodes);
}

Zeb_ErrorHandle_t graphExecute(Recorder& recorder, ScribeGraph& graph, const Zeb_Tensor_t* inputs,
                               uint32_t numInputs, const Zeb_Tensor_t* outputs,
                               uint32_t numOutputs, uint64_t profile) {
  if (tensorArraysMissing(inputs, numInputs, outputs, numOutputs))
    return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  StatementBuilder builder;
  const std::string& name = graphVariable(graph, builder);
  const std::string profileName(profileVariable(recorder, profile));
  // Every execution describes its tensors afresh, under names of its own.
  if (graph.namesClaimed) passClaimedExecutions(graph, numInputs, numOutputs);
  const int32_t execution = graph.executionCounter;
  TextBuffer& inputPrefix = builder.scratch();
  appendAll(inputPrefix, name, "_inputTensor_", execution, "_");
  TextBuffer& outputPrefix = builder.scratch();
  appendAll(outputPrefix, name, "_outputTensor_", execution, "_");
  TextBuffer& inputNames = builder.scratch();
  TextBuffer& outputNames = builder.scratch();
  if (writeTensorList(inputs, numInputs, inputPrefix, builder, graph.context, inputNames) ||
      writeTensorList(outputs, numOutputs, outputPrefix, builder, graph.context, outputNames))
    return ZEB_GRAPH_ERROR_INVALID_TENSOR;
  TextBuffer& inputArray = builder.scratch();
  appendAll(inputArray, name, "_inputTensors_", execution);
  TextBuffer& outputArray = builder.scratch();
  appendAll(outputArray, name, "_outputTensors_", execution);
  builder.writeJoinedArray("Zeb_Tensor_t", inputArray, inputNames);
  builder.writeJoinedArray("Zeb_Tensor_t", outputArray, outputNames);
  builder.writeApiCall("graphExecute", name, inputArray, numInputs, outputArray, numOutputs,
                       profileName, "NULL");
  const Zeb_ErrorHandle_t code = writeGraphBlock(recorder, builder, graph, kExecuteCodes);
  if (code != ZEB_GRAPH_ERROR_INVALID_TENSOR) ++graph.executionCounter;
  return code;
}

Zeb_ErrorHandle_t graphRetrieve(Recorder& recorder, uint64_t contextHandle, ScribeContext& context,
                                const char* graphName, uint64_t* graph) {
  auto [handle, record] = findNamedGraph(context, graphName);
  if (!record) {
    const NewGraph added = addGraph(context, graphName);
    if (added.refusal != ZEB_SUCCESS) return added.refusal;
    handle = added.handle;
    record = added.graph;
  }
  *graph = handle;
  recorder.recordGraphOwner(handle, contextHandle);
  StatementBuilder builder;
  if (!record->declared) builder.writeDeclaration("Zeb_GraphHandle_t", record->name);
  builder.writeApiCall("graphRetrieve", context.name, QuotedPiece(graphName),
                       AddressPiece{record->name});
  return writeGraphBlock(recorder, builder, *record, kGraphCodes);
}

}  // namespace zeb::record
