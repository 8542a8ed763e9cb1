// Context, memory and signal slots of the echo backend.
#include <algorithm>
#include <string>

#include "echo_backend.h"
#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

// The binary arguments that every create-from-binary variant shares.
void binaryArguments(Call& call, Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
                     const ZebContext_Config_t** config, const void* binaryBuffer,
                     Zeb_ContextBinarySize_t binaryBufferSize) {
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("device").handle(HandleKind::Device, device);
  call.arg("config").contextConfigs(config);
  call.arg("binary").buffer(binaryBuffer, binaryBufferSize);
}

Zeb_ErrorHandle_t contextCreate(Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
                                const ZebContext_Config_t** config,
                                Zeb_ContextHandle_t* context) {
  Call call("contextCreate");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("device").handle(HandleKind::Device, device);
  call.arg("config").contextConfigs(config);
  call.create(HandleKind::Context, context);
  return call.finish();
}

Zeb_ErrorHandle_t contextSetConfig(Zeb_ContextHandle_t context,
                                   const ZebContext_Config_t** config) {
  Call call("contextSetConfig");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("config").contextConfigs(config);
  return call.finish();
}

Zeb_ErrorHandle_t contextGetBinarySize(Zeb_ContextHandle_t context,
                                       Zeb_ContextBinarySize_t* binaryBufferSize) {
  Call call("contextGetBinarySize");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("size").output(binaryBufferSize);
  call.fill(binaryBufferSize, kContextBinarySize);
  return call.finish();
}

Zeb_ErrorHandle_t contextGetBinary(Zeb_ContextHandle_t context, void* binaryBuffer,
                                   Zeb_ContextBinarySize_t binaryBufferSize,
                                   Zeb_ContextBinarySize_t* writtenBufferSize) {
  Call call("contextGetBinary");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("buffer").output(binaryBuffer);
  call.arg("size").number(binaryBufferSize);
  call.arg("written").output(writtenBufferSize);
  const auto written =
      binaryBuffer != nullptr && !call.failing() ? std::min(binaryBufferSize, kContextBinarySize) : 0;
  auto* bytes = static_cast<uint8_t*>(binaryBuffer);
  for (std::size_t i = 0; i < written; ++i) bytes[i] = binaryByte(i);
  call.fill(writtenBufferSize, written);
  return call.finish();
}

Zeb_ErrorHandle_t contextCreateFromBinary(Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
                                          const ZebContext_Config_t** config,
                                          const void* binaryBuffer,
                                          Zeb_ContextBinarySize_t binaryBufferSize,
                                          Zeb_ContextHandle_t* context,
                                          Zeb_ProfileHandle_t profile) {
  Call call("contextCreateFromBinary");
  binaryArguments(call, backend, device, config, binaryBuffer, binaryBufferSize);
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.create(HandleKind::Context, context);
  return call.finish();
}

Zeb_ErrorHandle_t contextCreateFromBinaryWithSignal(
    Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
    const void* binaryBuffer, Zeb_ContextBinarySize_t binaryBufferSize,
    Zeb_ContextHandle_t* context, Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal) {
  Call call("contextCreateFromBinaryWithSignal");
  binaryArguments(call, backend, device, config, binaryBuffer, binaryBufferSize);
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.arg("signal").handle(HandleKind::Signal, signal);
  call.create(HandleKind::Context, context);
  return call.finish();
}

Zeb_ErrorHandle_t contextValidateBinary(Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
                                        const ZebContext_Config_t** config,
                                        const void* binaryBuffer,
                                        Zeb_ContextBinarySize_t binaryBufferSize) {
  Call call("contextValidateBinary");
  binaryArguments(call, backend, device, config, binaryBuffer, binaryBufferSize);
  return call.finish();
}

Zeb_ErrorHandle_t contextFree(Zeb_ContextHandle_t context, Zeb_ProfileHandle_t profile) {
  Call call("contextFree");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("profile").handle(HandleKind::Profile, profile);
  return call.finish();
}

Zeb_ErrorHandle_t memRegister(Zeb_ContextHandle_t context, const void* memDescriptors,
                              uint32_t numDescriptors, Zeb_MemHandle_t* memHandles) {
  Call call("memRegister");
  call.arg("context").handle(HandleKind::Context, context);
  call.arg("descriptors").opaque(memDescriptors);
  call.arg("num").number(numDescriptors);
  std::string issued;
  for (uint32_t i = 0; memHandles != nullptr && !call.failing() && i < numDescriptors; ++i) {
    if (i > 0) issued += ',';
    issued += call.issue(HandleKind::Mem, memHandles[i]);
  }
  call.result(memHandles != nullptr ? "[" + issued + "]" : "NULL");
  return call.finish();
}

Zeb_ErrorHandle_t memDeRegister(const Zeb_MemHandle_t* memHandles, uint32_t numHandles) {
  Call call("memDeRegister");
  call.arg("num").number(numHandles);
  call.arg("handles").memHandles(memHandles, numHandles);
  return call.finish();
}

Zeb_ErrorHandle_t signalCreate(Zeb_ContextHandle_t context, Zeb_SignalHandle_t* signal) {
  Call call("signalCreate");
  call.arg("context").handle(HandleKind::Context, context);
  call.create(HandleKind::Signal, signal);
  return call.finish();
}

Zeb_ErrorHandle_t signalSetConfig(Zeb_SignalHandle_t signal, const void** config) {
  Call call("signalSetConfig");
  call.arg("signal").handle(HandleKind::Signal, signal);
  call.arg("config").opaque(config);
  return call.finish();
}

Zeb_ErrorHandle_t signalTrigger(Zeb_SignalHandle_t signal) {
  Call call("signalTrigger");
  call.arg("signal").handle(HandleKind::Signal, signal);
  return call.finish();
}

Zeb_ErrorHandle_t signalFree(Zeb_SignalHandle_t signal) {
  Call call("signalFree");
  call.arg("signal").handle(HandleKind::Signal, signal);
  return call.finish();
}

}  // namespace

void fillContextSlots(FunctionTable& table) {
  table.contextCreate = contextCreate;
  table.contextSetConfig = contextSetConfig;
  table.contextGetBinarySize = contextGetBinarySize;
  table.contextGetBinary = contextGetBinary;
  table.contextCreateFromBinary = contextCreateFromBinary;
  table.contextFree = contextFree;
  table.contextValidateBinary = contextValidateBinary;
  table.contextCreateFromBinaryWithSignal = contextCreateFromBinaryWithSignal;
  table.memRegister = memRegister;
  table.memDeRegister = memDeRegister;
  table.signalCreate = signalCreate;
  table.signalSetConfig = signalSetConfig;
  table.signalTrigger = signalTrigger;
  table.signalFree = signalFree;
}

}  // namespace zeb::echo
