#include "recorder/recorder.h"

namespace zeb {

// The registries hold the records, so the places stay valid while the lock is held.

uint64_t* Recorder::realBackend(uint64_t handle) {
  ScribeBackend* backend = backends_.find(handle);
  return backend ? &backend->real : nullptr;
}

uint64_t* Recorder::realContext(uint64_t handle) {
  const auto context = contexts_.find(handle);
  return context ? &context->real : nullptr;
}

uint64_t* Recorder::realGraph(uint64_t handle) {
  const auto context = contexts_.find(graphOwner(handle));
  const auto graph = context ? context->findGraph(handle) : nullptr;
  return graph ? &graph->real : nullptr;
}

uint64_t* Recorder::realDevice(uint64_t handle) {
  const uint64_t index = indexOfHandle(handle);
  return index < devices_.size() ? &devices_[index].real : nullptr;
}

uint64_t* Recorder::realProfile(uint64_t handle) {
  const auto profile = profiles_.find(handle);
  return profile ? &profile->real : nullptr;
}

void Recorder::forgetBackend(uint64_t handle) { backends_.erase(handle); }

// A context just made holds no graph.
void Recorder::forgetContext(uint64_t handle) { contexts_.remove(handle); }

void Recorder::forgetGraph(uint64_t handle) {
  if (const auto context = contexts_.find(graphOwner(handle))) context->retireGraph(handle);
  graphOwners_.erase(handle);
}

void Recorder::forgetProfile(uint64_t handle) { profiles_.remove(handle); }

}  // namespace zeb
