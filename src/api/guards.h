// Argument guards shared by the entry points: each logs its message and gives
// the family's code when it refuses a call.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "ZebInterface.h"
#include "api/client_handle.h"
#include "recorder/recorder.h"

namespace zeb::guard {

// The code of a refused call; empty when the call may go on.
using Refusal = std::optional<Zeb_ErrorHandle_t>;

Refusal refuseIf(bool condition, const char* message, Zeb_ErrorHandle_t code);
Refusal refuseNull(const void* pointer, const char* message, Zeb_ErrorHandle_t code);

// How a family reports a handle of 0 and a handle that names no record.
struct HandleRule {
  const char* nullMessage;
  Zeb_ErrorHandle_t nullCode;
  const char* unknownMessage;
  Zeb_ErrorHandle_t unknownCode;
};

inline constexpr const char* kNullContext = "Provided context handle is NULL";
inline constexpr const char* kUnknownContext = "No context associated with the provided handle";

inline constexpr HandleRule kContext{kNullContext, ZEB_CONTEXT_ERROR_INVALID_HANDLE,
                                     kUnknownContext, ZEB_CONTEXT_ERROR_INVALID_HANDLE};
// graphCreate and graphRetrieve report an unknown context as a graph error.
inline constexpr HandleRule kGraphContext{kNullContext, ZEB_CONTEXT_ERROR_INVALID_HANDLE,
                                          kUnknownContext, ZEB_GRAPH_ERROR_INVALID_HANDLE};
// tensorCreateContextTensor reports a context handle of 0 as a graph error.
inline constexpr HandleRule kTensorContext{kNullContext, ZEB_GRAPH_ERROR_INVALID_HANDLE,
                                           kUnknownContext, ZEB_CONTEXT_ERROR_INVALID_HANDLE};
inline constexpr HandleRule kGraph{"Provided graph handle is NULL", ZEB_GRAPH_ERROR_INVALID_HANDLE,
                                   "No graph associated with the provided handle",
                                   ZEB_GRAPH_ERROR_INVALID_HANDLE};
inline constexpr HandleRule kDevice{
    "Provided device handle is NULL", ZEB_DEVICE_ERROR_INVALID_HANDLE,
    "No device associated with the provided handle", ZEB_DEVICE_ERROR_INVALID_HANDLE};
inline constexpr HandleRule kProfile{
    "Provided profile handle is NULL", ZEB_PROFILE_ERROR_INVALID_HANDLE,
    "No profile associated with the provided handle", ZEB_PROFILE_ERROR_INVALID_HANDLE};

Refusal refuseZero(uint64_t handle, const HandleRule& rule);

// A record to go on with, held for the length of the call, or the refusal.
template <class Record>
struct Resolved {
  uint64_t handle = 0;
  std::shared_ptr<Record> record;
  Zeb_ErrorHandle_t refusal = 0;
  // A graph's context, held with it: the graph names it by a plain pointer.
  std::shared_ptr<ScribeContext> owner;

  static Resolved refused(Zeb_ErrorHandle_t code) { return {0, nullptr, code, nullptr}; }
  explicit operator bool() const { return record != nullptr; }
};

Resolved<ScribeContext> resolveContext(Recorder& recorder, uint64_t handle,
                                       const HandleRule& rule = kContext);
Resolved<ScribeGraph> resolveGraph(Recorder& recorder, uint64_t handle);
Resolved<ScribeDevice> resolveDevice(Recorder& recorder, uint64_t handle);
Resolved<ScribeProfile> resolveProfile(Recorder& recorder, uint64_t handle);

// Registers a new record under a new handle; 1002 when it cannot be made.
Resolved<ScribeContext> createContext(Recorder& recorder);
Resolved<ScribeDevice> createDevice(Recorder& recorder);
Resolved<ScribeProfile> createProfile(Recorder& recorder);

// The client receives the new handle only when the recording succeeded.
template <class Handle>
Zeb_ErrorHandle_t deliver(Zeb_ErrorHandle_t code, uint64_t handle, Handle* out) {
  if (code == 0) *out = clientHandle<Handle>(handle);
  return code;
}

}  // namespace zeb::guard
