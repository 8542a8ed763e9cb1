#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/graph_names.h"

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
                              const char* graphName, const ZebGraph_Config_t** /*config*/,
                              Zeb_GraphHandle_t* graph) {
  auto resolved = namedGraphContext(recorder, context, graphName, graph);
  if (!resolved) return resolved.refusal;
  *graph = nullptr;
  const record::NewGraph created = record::createGraph(*resolved.record, graphName);
  if (created.refusal != 0) return created.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphRetrieve(Recorder& recorder, Zeb_ContextHandle_t context,
                                const char* graphName, Zeb_GraphHandle_t* graph) {
  auto resolved = namedGraphContext(recorder, context, graphName, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphCreateSubgraph(Recorder& recorder, Zeb_GraphHandle_t graph,
                                      const char* /*graphName*/, Zeb_GraphHandle_t* /*subgraph*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphSetConfig(Recorder& recorder, Zeb_GraphHandle_t graph,
                                 const ZebGraph_Config_t** /*config*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, Zeb_GraphHandle_t graph,
                               Zeb_OpConfig_t /*opConfig*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphFinalize(Recorder& recorder, Zeb_GraphHandle_t graph,
                                Zeb_ProfileHandle_t /*profile*/, Zeb_SignalHandle_t /*signal*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

Zeb_ErrorHandle_t graphExecute(Recorder& recorder, Zeb_GraphHandle_t graph,
                               const Zeb_Tensor_t* /*inputs*/, uint32_t /*numInputs*/,
                               Zeb_Tensor_t* /*outputs*/, uint32_t /*numOutputs*/,
                               Zeb_ProfileHandle_t /*profile*/, Zeb_SignalHandle_t /*signal*/) {
  auto resolved = existingGraph(recorder, graph);
  if (!resolved) return resolved.refusal;
  return notRecordedYet();
}

}  // namespace zeb::entry
