#include "forward/forwarding.h"

namespace zeb::forward {

uint64_t realHandle(Recorder& recorder, Zeb_BackendHandle_t handle) {
  const ScribeBackend* backend = recorder.findBackend(handleValue(handle));
  return backend ? backend->real : 0;
}

uint64_t realHandle(Recorder& recorder, Zeb_ContextHandle_t handle) {
  const auto context = recorder.findContext(handleValue(handle));
  return context ? context->real : 0;
}

uint64_t realHandle(Recorder& recorder, Zeb_GraphHandle_t handle) {
  const auto graph = recorder.findGraph(handleValue(handle));
  return graph ? graph->real : 0;
}

uint64_t realHandle(Recorder& recorder, Zeb_DeviceHandle_t handle) {
  const ScribeDevice* device = recorder.findDevice(handleValue(handle));
  return device ? device->real : 0;
}

uint64_t realHandle(Recorder& recorder, Zeb_ProfileHandle_t handle) {
  const auto profile = recorder.findProfile(handleValue(handle));
  return profile ? profile->real : 0;
}

void conclude(Recorder& recorder, Zeb_BackendHandle_t made, uint64_t real, bool succeeded) {
  ScribeBackend* backend = recorder.findBackend(handleValue(made));
  if (backend == nullptr) return;
  if (succeeded) {
    backend->real = real;
  } else if (backend->real == 0) {
    recorder.eraseBackend(handleValue(made));
  }
}

void conclude(Recorder& recorder, Zeb_ContextHandle_t made, uint64_t real, bool succeeded) {
  const auto context = recorder.findContext(handleValue(made));
  if (!context) return;
  if (succeeded) {
    context->real = real;
  } else if (context->real == 0) {
    recorder.eraseContext(handleValue(made));
  }
}

void conclude(Recorder& recorder, Zeb_GraphHandle_t made, uint64_t real, bool succeeded) {
  const auto graph = recorder.findGraph(handleValue(made));
  if (!graph) return;
  if (succeeded) {
    graph->real = real;
  } else if (graph->real == 0) {
    recorder.forgetGraph(handleValue(made));
  }
}

// A device's handle is made from its index and never made again: the record
// of a device the real backend refused stays, and nothing can name it.
void conclude(Recorder& recorder, Zeb_DeviceHandle_t made, uint64_t real, bool succeeded) {
  ScribeDevice* device = recorder.findDevice(handleValue(made));
  if (device != nullptr && succeeded) device->real = real;
}

void conclude(Recorder& recorder, Zeb_ProfileHandle_t made, uint64_t real, bool succeeded) {
  const auto profile = recorder.findProfile(handleValue(made));
  if (!profile) return;
  if (succeeded) {
    profile->real = real;
  } else if (profile->real == 0) {
    recorder.eraseProfile(handleValue(made));
  }
}

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
