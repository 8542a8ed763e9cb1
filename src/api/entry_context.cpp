#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/context.h"
#include "record/context_binary.h"

namespace zeb::entry {
namespace {

guard::Refusal refuseNullContextPointer(const Zeb_ContextHandle_t* context) {
  return guard::refuseNull(context, "Provided context handle pointer is NULL",
                           ZEB_CONTEXT_ERROR_INVALID_ARGUMENT);
}

// Shared by the two calls that make a context from a binary; *context is
// left as the client set it until the recording succeeds.
Zeb_ErrorHandle_t createFromBinary(Recorder& recorder, const record::BinarySource& binary,
                                   Zeb_ContextHandle_t* context, Zeb_ProfileHandle_t profile,
                                   bool withSignal) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  if (auto refusal = refuseNullContextPointer(context)) return *refusal;
  auto created = guard::createContext(recorder);
  if (!created) return created.refusal;
  return guard::deliver(record::contextCreateFromBinary(recorder, *created.record, binary,
                                                        handleValue(profile), withSignal),
                        created.handle, context);
}

}  // namespace

Zeb_ErrorHandle_t contextCreate(Recorder& recorder, Zeb_BackendHandle_t backend,
                                Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
                                Zeb_ContextHandle_t* context) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  if (auto refusal = refuseNullContextPointer(context)) return *refusal;
  *context = nullptr;
  auto created = guard::createContext(recorder);
  if (!created) return created.refusal;
  return guard::deliver(record::contextCreate(recorder, *created.record, handleValue(backend),
                                              handleValue(device), config),
                        created.handle, context);
}

Zeb_ErrorHandle_t contextSetConfig(Recorder& recorder, Zeb_ContextHandle_t context,
                                   const ZebContext_Config_t** config) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveContext(recorder, handleValue(context));
  if (!resolved) return resolved.refusal;
  return record::contextSetConfig(recorder, *resolved.record, config);
}

Zeb_ErrorHandle_t contextGetBinarySize(Recorder& recorder, Zeb_ContextHandle_t context,
                                       Zeb_ContextBinarySize_t* binaryBufferSize) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveContext(recorder, handleValue(context));
  if (!resolved) return resolved.refusal;
  return record::contextGetBinarySize(recorder, *resolved.record, binaryBufferSize);
}

// The binary exists only when the written program runs: the client's buffer
// is not touched.
Zeb_ErrorHandle_t contextGetBinary(Recorder& recorder, Zeb_ContextHandle_t context,
                                   void* /*binaryBuffer*/,
                                   Zeb_ContextBinarySize_t binaryBufferSize,
                                   Zeb_ContextBinarySize_t* writtenBufferSize) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveContext(recorder, handleValue(context));
  if (!resolved) return resolved.refusal;
  return record::contextGetBinary(recorder, *resolved.record, binaryBufferSize,
                                  writtenBufferSize);
}

Zeb_ErrorHandle_t contextCreateFromBinary(Recorder& recorder, Zeb_BackendHandle_t backend,
                                          Zeb_DeviceHandle_t device,
                                          const ZebContext_Config_t** config,
                                          const void* binaryBuffer,
                                          Zeb_ContextBinarySize_t binaryBufferSize,
                                          Zeb_ContextHandle_t* context,
                                          Zeb_ProfileHandle_t profile) {
  return createFromBinary(recorder,
                          {handleValue(backend), handleValue(device), config, binaryBuffer,
                           binaryBufferSize},
                          context, profile, false);
}

// The signal is never recorded: the written program passes NULL.
Zeb_ErrorHandle_t contextCreateFromBinaryWithSignal(
    Recorder& recorder, Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
    const ZebContext_Config_t** config, const void* binaryBuffer,
    Zeb_ContextBinarySize_t binaryBufferSize, Zeb_ContextHandle_t* context,
    Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t /*signal*/) {
  return createFromBinary(recorder,
                          {handleValue(backend), handleValue(device), config, binaryBuffer,
                           binaryBufferSize},
                          context, profile, true);
}

Zeb_ErrorHandle_t contextFree(Recorder& recorder, Zeb_ContextHandle_t context,
                              Zeb_ProfileHandle_t profile) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  // The recording looks the context up itself, since it also releases it.
  if (auto refusal = guard::refuseZero(handleValue(context), guard::kContext)) return *refusal;
  return record::contextFree(recorder, handleValue(context), handleValue(profile));
}

Zeb_ErrorHandle_t contextValidateBinary(Recorder& recorder, Zeb_BackendHandle_t backend,
                                        Zeb_DeviceHandle_t device,
                                        const ZebContext_Config_t** config,
                                        const void* binaryBuffer,
                                        Zeb_ContextBinarySize_t binaryBufferSize) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::contextValidateBinary(
      recorder,
      {handleValue(backend), handleValue(device), config, binaryBuffer, binaryBufferSize});
}

}  // namespace zeb::entry
