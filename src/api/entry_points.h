// The entry points behind the function table. A recording entry point takes
// the recorder it records into; the table passes the process-wide one.
#pragma once

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::entry {

// Backend family.
Zeb_ErrorHandle_t backendCreate(Recorder& recorder, Zeb_LogHandle_t logger,
                                const ZebBackend_Config_t** config, Zeb_BackendHandle_t* backend);
Zeb_ErrorHandle_t backendSetConfig(Recorder& recorder, Zeb_BackendHandle_t backend,
                                   const ZebBackend_Config_t** config);
Zeb_ErrorHandle_t backendGetApiVersion(Zeb_ApiVersion_t* version);
Zeb_ErrorHandle_t backendGetBuildId(const char** id);
Zeb_ErrorHandle_t backendRegisterOpPackage(Recorder& recorder, Zeb_BackendHandle_t backend,
                                           const char* packagePath, const char* interfaceProvider,
                                           const char* target);
Zeb_ErrorHandle_t backendGetSupportedOperations(Recorder& recorder, Zeb_BackendHandle_t backend,
                                                uint32_t* numOperations,
                                                const ZebBackend_OperationName_t** operations);
Zeb_ErrorHandle_t backendValidateOpConfig(Recorder& recorder, Zeb_BackendHandle_t backend,
                                          Zeb_OpConfig_t opConfig);
Zeb_ErrorHandle_t backendFree(Recorder& recorder, Zeb_BackendHandle_t backend);

// Context family.
Zeb_ErrorHandle_t contextCreate(Recorder& recorder, Zeb_BackendHandle_t backend,
                                Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
                                Zeb_ContextHandle_t* context);
Zeb_ErrorHandle_t contextSetConfig(Recorder& recorder, Zeb_ContextHandle_t context,
                                   const ZebContext_Config_t** config);
Zeb_ErrorHandle_t contextGetBinarySize(Recorder& recorder, Zeb_ContextHandle_t context,
                                       Zeb_ContextBinarySize_t* binaryBufferSize);
Zeb_ErrorHandle_t contextGetBinary(Recorder& recorder, Zeb_ContextHandle_t context,
                                   void* binaryBuffer, Zeb_ContextBinarySize_t binaryBufferSize,
                                   Zeb_ContextBinarySize_t* writtenBufferSize);
Zeb_ErrorHandle_t contextCreateFromBinary(Recorder& recorder, Zeb_BackendHandle_t backend,
                                          Zeb_DeviceHandle_t device,
                                          const ZebContext_Config_t** config,
                                          const void* binaryBuffer,
                                          Zeb_ContextBinarySize_t binaryBufferSize,
                                          Zeb_ContextHandle_t* context,
                                          Zeb_ProfileHandle_t profile);
Zeb_ErrorHandle_t contextFree(Recorder& recorder, Zeb_ContextHandle_t context,
                              Zeb_ProfileHandle_t profile);
Zeb_ErrorHandle_t contextValidateBinary(Recorder& recorder, Zeb_BackendHandle_t backend,
                                        Zeb_DeviceHandle_t device,
                                        const ZebContext_Config_t** config,
                                        const void* binaryBuffer,
                                        Zeb_ContextBinarySize_t binaryBufferSize);
Zeb_ErrorHandle_t contextCreateFromBinaryWithSignal(
    Recorder& recorder, Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device,
    const ZebContext_Config_t** config, const void* binaryBuffer,
    Zeb_ContextBinarySize_t binaryBufferSize, Zeb_ContextHandle_t* context,
    Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal);

// Graph family.
Zeb_ErrorHandle_t graphCreate(Recorder& recorder, Zeb_ContextHandle_t context,
                              const char* graphName, const ZebGraph_Config_t** config,
                              Zeb_GraphHandle_t* graph);
Zeb_ErrorHandle_t graphCreateSubgraph(Recorder& recorder, Zeb_GraphHandle_t graph,
                                      const char* graphName, Zeb_GraphHandle_t* subgraph);
Zeb_ErrorHandle_t graphSetConfig(Recorder& recorder, Zeb_GraphHandle_t graph,
                                 const ZebGraph_Config_t** config);
Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, Zeb_GraphHandle_t graph,
                               Zeb_OpConfig_t opConfig);
Zeb_ErrorHandle_t graphFinalize(Recorder& recorder, Zeb_GraphHandle_t graph,
                                Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal);
Zeb_ErrorHandle_t graphRetrieve(Recorder& recorder, Zeb_ContextHandle_t context,
                                const char* graphName, Zeb_GraphHandle_t* graph);
Zeb_ErrorHandle_t graphExecute(Recorder& recorder, Zeb_GraphHandle_t graph,
                               const Zeb_Tensor_t* inputs, uint32_t numInputs,
                               Zeb_Tensor_t* outputs, uint32_t numOutputs,
                               Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal);

// Tensor family.
Zeb_ErrorHandle_t tensorCreateContextTensor(Recorder& recorder, Zeb_ContextHandle_t context,
                                            Zeb_Tensor_t* tensor);
Zeb_ErrorHandle_t tensorCreateGraphTensor(Recorder& recorder, Zeb_GraphHandle_t graph,
                                          Zeb_Tensor_t* tensor);

// Log family: the process-wide logger; the recorder is not involved.
Zeb_ErrorHandle_t logCreate(ZebLog_Callback_t callback, ZebLog_Level_t maxLogLevel,
                            Zeb_LogHandle_t* logger);
Zeb_ErrorHandle_t logSetLogLevel(Zeb_LogHandle_t logger, ZebLog_Level_t maxLogLevel);
Zeb_ErrorHandle_t logFree(Zeb_LogHandle_t logger);

// Profile family and capability queries.
Zeb_ErrorHandle_t profileCreate(Recorder& recorder, Zeb_BackendHandle_t backend,
                                ZebProfile_Level_t level, Zeb_ProfileHandle_t* profile);
Zeb_ErrorHandle_t profileSetConfig(Recorder& recorder, Zeb_ProfileHandle_t profile,
                                   const ZebProfile_Config_t** config);
Zeb_ErrorHandle_t profileGetEvents(Recorder& recorder, Zeb_ProfileHandle_t profile,
                                   const ZebProfile_EventId_t** profileEventIds,
                                   uint32_t* numEvents);
Zeb_ErrorHandle_t profileGetSubEvents(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      const ZebProfile_EventId_t** subEventIds,
                                      uint32_t* numSubEvents);
Zeb_ErrorHandle_t profileGetEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      ZebProfile_EventData_t* eventData);
Zeb_ErrorHandle_t profileGetExtendedEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                              ZebProfile_ExtendedEventData_t* eventData);
Zeb_ErrorHandle_t profileFree(Recorder& recorder, Zeb_ProfileHandle_t profile);
Zeb_ErrorHandle_t propertyHasCapability(Recorder& recorder, ZebProperty_Key_t key);

// Device family.
Zeb_ErrorHandle_t deviceGetPlatformInfo(Recorder& recorder, Zeb_LogHandle_t logger,
                                        const ZebDevice_PlatformInfo_t** platformInfo);
Zeb_ErrorHandle_t deviceGetInfrastructure(Recorder& recorder,
                                          ZebDevice_Infrastructure_t* deviceInfra);
Zeb_ErrorHandle_t deviceCreate(Recorder& recorder, Zeb_LogHandle_t logger,
                               const ZebDevice_Config_t** config, Zeb_DeviceHandle_t* device);
Zeb_ErrorHandle_t deviceSetConfig(Recorder& recorder, Zeb_DeviceHandle_t device,
                                  const ZebDevice_Config_t** config);
Zeb_ErrorHandle_t deviceGetInfo(Recorder& recorder, Zeb_DeviceHandle_t device,
                                const ZebDevice_PlatformInfo_t** platformInfo);
Zeb_ErrorHandle_t deviceFree(Recorder& recorder, Zeb_DeviceHandle_t device);

// Slots this library does not support.
// Slots 22, 35, 36, 38 and 44 to 47: refused whatever the arguments.
template <class... Arguments>
Zeb_ErrorHandle_t unsupported(Arguments...) {
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}
// Slots 48 to 50: refused once the recorder has started.
Zeb_ErrorHandle_t errorGetMessage(Recorder& recorder, Zeb_ErrorHandle_t errorHandle,
                                  const char** errorMessage);
Zeb_ErrorHandle_t errorGetVerboseMessage(Recorder& recorder, Zeb_ErrorHandle_t errorHandle,
                                         const char** errorMessage);
Zeb_ErrorHandle_t errorFreeVerboseMessage(Recorder& recorder, const char* errorMessage);
// Slots 51 and 52: argument checks, then refused; the recorder is not involved.
Zeb_ErrorHandle_t graphUpdateTensors(Zeb_GraphHandle_t graph, const Zeb_Tensor_t** tensors,
                                     uint32_t numTensors);
// Slot 53: starts the recorder, checks its arguments, then refused.
Zeb_ErrorHandle_t graphPrepareExecutionEnvironment(
    Recorder& recorder, Zeb_GraphHandle_t graph,
    const ZebGraph_ExecutionEnvironment_t** environment);

}  // namespace zeb::entry
