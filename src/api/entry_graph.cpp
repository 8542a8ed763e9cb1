#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/graph.h"
#include "record/node.h"

namespace zeb::entry {
namespace {

// Checks shared by graphCreate and graphRetrieve, which name their graph in a context.
guard::Resolved<ScribeContext> namedGraphContext(Recorder& recorder, Zeb_ContextHandle_t context,
                                                 const char* graphName,
                                                 const Zeb_GraphHandle_t* graph) {
  if (Zeb_ErrorHandle_t code = recorder.start())
    return guard::Resolved<ScribeContext>::refused(code);
  auto resolved = guard::resolveContext(recorder, handleValue(context), guard::kGraphContext);
  if (!resolved) return resolved;
  if (auto refusal = guard::refuseIf(graphName == nullptr || graph == nullptr,
                                     "Provided graph handle or graph name is NULL",
                                     ZEB_GRAPH_ERROR_INVALID_ARGUMENT))
    return guard::Resolved<ScribeContext>::refused(*refusal);
  return resolved;
}

// Checks shared by the calls on an existing graph.
guard::Resolved<ScribeGraph> existingGraph(Recorder& recorder, Zeb_GraphHandle_t graph) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return guard::Resolved<ScribeGraph>::refused(code);
  return guard::resolveGraph(recorder, handleValue(graph));
}

}  // namespace

Zeb_ErrorHandle_t graphCreate(Recorder& recorder, Zeb_ContextHandle_t context,
                              const char* graphName, const ZebGraph_Config_t** config,
                              Zeb_GraphHandle_t* graph) {
  auto resolved = namedGraphContext(recorder, context, graphName, graph);
  if (!resolved) return resolved.refusal;
  *graph = nullptr;
  uint64_t handle = 0;
  const Zeb_ErrorHandle_t code =
      record::graphCreate(recorder, resolved.handle, *resolved.record, graphName, config, &handle);
  return guard::deliver(code, handle, graph);
}

Zeb_ErrorHandle_t graphRetrieve(Recorder& recorder, Zeb_ContextHandle_t context,
                                const char* graphName, Zeb_GraphHandle_t* graph) {
  auto resolved = namedGraphContext(recorder, context, graphName, graph);
  if (!resolved) return resolved.refusal;
  uint64_t handle = 0;
  const Zeb_ErrorHandle_t code =
      record::graphRetrieve(recorder, resolved.handle, *resolved.record, graphName, &handle);
  // The graph is the client's once found, whether or not the call was written.
  if (handle != 0) *graph = clientHandle<Zeb_GraphHandle_t>(handle);
  return code;
}

Zeb_ErrorHandle_t graphCreateSubgraph(Recorder& recorder, Zeb_GraphHandle_t graph,
                                      const char* graphName, Zeb_GraphHandle_t* subgraph) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  if (auto refusal = guard::refuseIf(graphName == nullptr || subgraph == nullptr,
                                     "Provided subgraph handle or subgraph name is NULL",
                                     ZEB_GRAPH_ERROR_INVALID_ARGUMENT))
    return *refusal;
  *subgraph = nullptr;
  uint64_t handle = 0;
  const Zeb_ErrorHandle_t code = record::graphCreateSubgraph(recorder, resolved.handle,
                                                             *resolved.record, graphName, &handle);
  if (handle != 0) *subgraph = clientHandle<Zeb_GraphHandle_t>(handle);
  return code;
}

Zeb_ErrorHandle_t graphSetConfig(Recorder& recorder, Zeb_GraphHandle_t graph,
                                 const ZebGraph_Config_t** config) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return record::graphSetConfig(recorder, *resolved.record, config);
}

Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, Zeb_GraphHandle_t graph,
                               Zeb_OpConfig_t opConfig) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return record::graphAddNode(recorder, *resolved.record, opConfig);
}

Zeb_ErrorHandle_t graphFinalize(Recorder& recorder, Zeb_GraphHandle_t graph,
                                Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t /*signal*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return record::graphFinalize(recorder, *resolved.record, handleValue(profile));
}

// The signal is never recorded: the written program passes NULL.
Zeb_ErrorHandle_t graphExecute(Recorder& recorder, Zeb_GraphHandle_t graph,
                               const Zeb_Tensor_t* inputs, uint32_t numInputs,
                               Zeb_Tensor_t* outputs, uint32_t numOutputs,
                               Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t /*signal*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return record::graphExecute(recorder, *resolved.record, inputs, numInputs, outputs, numOutputs,
                              handleValue(profile));
}

}  // namespace zeb::entry
