#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"

namespace zeb::entry {
namespace {

Zeb_ErrorHandle_t refuseOnceStarted(Recorder& recorder) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}

}  // namespace

Zeb_ErrorHandle_t errorGetMessage(Recorder& recorder, Zeb_ErrorHandle_t /*errorHandle*/,
                                  const char** /*errorMessage*/) {
  return refuseOnceStarted(recorder);
}

Zeb_ErrorHandle_t errorGetVerboseMessage(Recorder& recorder, Zeb_ErrorHandle_t /*errorHandle*/,
                                         const char** /*errorMessage*/) {
  return refuseOnceStarted(recorder);
}

Zeb_ErrorHandle_t errorFreeVerboseMessage(Recorder& recorder, const char* /*errorMessage*/) {
  return refuseOnceStarted(recorder);
}

// Neither logs nor looks the graph up. A NULL first tensor pointer is refused
// as an invalid argument rather than read.
Zeb_ErrorHandle_t graphUpdateTensors(Zeb_GraphHandle_t graph, const Zeb_Tensor_t** tensors,
                                     uint32_t numTensors) {
  if (graph == nullptr) return ZEB_GRAPH_ERROR_INVALID_HANDLE;
  if (tensors == nullptr || numTensors == 0 || tensors[0] == nullptr)
    return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  // The tensor's first field, its version, is read as an unsigned kind.
  if (static_cast<uint32_t>(tensors[0]->version) > 1) return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}

Zeb_ErrorHandle_t graphPrepareExecutionEnvironment(
    Recorder& recorder, Zeb_GraphHandle_t graph,
    const ZebGraph_ExecutionEnvironment_t** environment) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  if (auto refusal = guard::refuseZero(handleValue(graph), guard::kGraph)) return *refusal;
  if (environment == nullptr) return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  if (environment[0] == nullptr) return 0;  // nothing to prepare
  if (environment[0]->kind != 0) return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}

}  // namespace zeb::entry
