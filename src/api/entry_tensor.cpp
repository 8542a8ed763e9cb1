#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/tensor.h"

namespace zeb::entry {
namespace {

// Checked before the start, so a NULL tensor is refused even when the output cannot open.
guard::Refusal refuseNullTensor(const Zeb_Tensor_t* tensor) {
  return guard::refuseNull(tensor, "Provided tensor ptr is NULL", ZEB_TENSOR_ERROR_INVALID_POINTER);
}

}  // namespace

Zeb_ErrorHandle_t tensorCreateContextTensor(Recorder& recorder, Zeb_ContextHandle_t context,
                                            Zeb_Tensor_t* tensor) {
  if (auto refusal = refuseNullTensor(tensor)) return *refusal;
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveContext(recorder, handleValue(context), guard::kTensorContext);
  if (!resolved) return resolved.refusal;
  return record::tensorCreateContextTensor(recorder, *resolved.record, *tensor);
}

Zeb_ErrorHandle_t tensorCreateGraphTensor(Recorder& recorder, Zeb_GraphHandle_t graph,
                                          Zeb_Tensor_t* tensor) {
  if (auto refusal = refuseNullTensor(tensor)) return *refusal;
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveGraph(recorder, handleValue(graph));
  if (!resolved) return resolved.refusal;
  return record::tensorCreateGraphTensor(recorder, *resolved.record, *tensor);
}

}  // namespace zeb::entry
