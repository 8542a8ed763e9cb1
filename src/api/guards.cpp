#include "api/guards.h"

#include <utility>

#include "log/logger.h"

namespace zeb::guard {
namespace {

template <class Record, class Find>
Resolved<Record> resolve(uint64_t handle, const HandleRule& rule, Find find) {
  if (auto refusal = refuseZero(handle, rule)) return Resolved<Record>::refused(*refusal);
  std::shared_ptr<Record> record = find(handle);
  if (!record) {
    log::error("%s", rule.unknownMessage);
    return Resolved<Record>::refused(rule.unknownCode);
  }
  return {handle, std::move(record), 0, nullptr};
}

template <class Record>
Resolved<Record> created(uint64_t handle, std::shared_ptr<Record> record, const char* message) {
  if (!record) {
    log::error("%s", message);
    return Resolved<Record>::refused(ZEB_COMMON_ERROR_MEM_ALLOC);
  }
  return {handle, std::move(record), 0, nullptr};
}

// A device record is never freed: its reference owns nothing.
std::shared_ptr<ScribeDevice> unowned(ScribeDevice* device) {
  return std::shared_ptr<ScribeDevice>(std::shared_ptr<ScribeDevice>(), device);
}

}  // namespace

Refusal refuseIf(bool condition, const char* message, Zeb_ErrorHandle_t code) {
  if (!condition) return std::nullopt;
  log::error("%s", message);
  return code;
}

Refusal refuseNull(const void* pointer, const char* message, Zeb_ErrorHandle_t code) {
  return refuseIf(pointer == nullptr, message, code);
}

Refusal refuseZero(uint64_t handle, const HandleRule& rule) {
  return refuseIf(handle == 0, rule.nullMessage, rule.nullCode);
}

Resolved<ScribeContext> resolveContext(Recorder& recorder, uint64_t handle,
                                       const HandleRule& rule) {
  return resolve<ScribeContext>(handle, rule, [&](uint64_t h) { return recorder.findContext(h); });
}

// A client's log callback may free the context while a graph call runs.
Resolved<ScribeGraph> resolveGraph(Recorder& recorder, uint64_t handle) {
  std::shared_ptr<ScribeContext> owner = recorder.findContext(recorder.graphOwner(handle));
  auto resolved = resolve<ScribeGraph>(
      handle, kGraph, [&](uint64_t h) { return owner ? owner->findGraph(h) : nullptr; });
  resolved.owner = std::move(owner);
  return resolved;
}

Resolved<ScribeDevice> resolveDevice(Recorder& recorder, uint64_t handle) {
  return resolve<ScribeDevice>(handle, kDevice,
                               [&](uint64_t h) { return unowned(recorder.findDevice(h)); });
}

Resolved<ScribeProfile> resolveProfile(Recorder& recorder, uint64_t handle) {
  return resolve<ScribeProfile>(handle, kProfile,
                                [&](uint64_t h) { return recorder.findProfile(h); });
}

Resolved<ScribeContext> createContext(Recorder& recorder) {
  auto registered = recorder.createContext();
  return created(registered.handle, std::move(registered.record), "Could not create a new context");
}

Resolved<ScribeDevice> createDevice(Recorder& recorder) {
  const uint64_t handle = recorder.createDevice();
  return created(handle, unowned(recorder.findDevice(handle)), "Could not create a new device");
}

Resolved<ScribeProfile> createProfile(Recorder& recorder) {
  auto registered = recorder.createProfile();
  return created(registered.handle, std::move(registered.record), "Could not create a new profile");
}

}  // namespace zeb::guard
