#include "forward/forwarding.h"

namespace zeb::forward {

// Both versions hold the id at the same place.
uint32_t& tensorId(Zeb_Tensor_t& tensor) {
  return tensor.version == ZEB_TENSOR_VERSION_2 ? tensor.v2.id : tensor.v1.id;
}

uint32_t tensorId(const Zeb_Tensor_t& tensor) {
  return tensor.version == ZEB_TENSOR_VERSION_2 ? tensor.v2.id : tensor.v1.id;
}

StandInId standInId(Recorder& recorder, Zeb_ContextHandle_t context, const Zeb_Tensor_t& tensor) {
  return {recorder.findContext(handleValue(context)), tensorId(tensor)};
}

StandInId standInId(Recorder& recorder, Zeb_GraphHandle_t graph, const Zeb_Tensor_t& tensor) {
  return {recorder.findContext(recorder.graphOwner(handleValue(graph))),
          tensorId(tensor)};
}

void bindTensorId(const StandInId& standIn, const Zeb_Tensor_t& tensor, bool succeeded) {
  if (!standIn.context) return;
  std::optional<uint32_t> real;
  if (succeeded) real = tensorId(tensor);
  standIn.context->rebindTensorId(standIn.id, real);
}

}  // namespace zeb::forward
