/* Zeb API: the interface provider and its function table. Includes every
 * type header that a client (or a written replay program) needs. */
#ifndef ZEB_INTERFACE_H
#define ZEB_INTERFACE_H

#include "ZebBackend.h"
#include "ZebCommon.h"
#include "ZebContext.h"
#include "ZebDevice.h"
#include "ZebGraph.h"
#include "ZebLog.h"
#include "ZebOpConfig.h"
#include "ZebProfile.h"
#include "ZebProperty.h"
#include "ZebTensor.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*Zeb_NotifyFn_t)(void* notifyParam, Zeb_ErrorHandle_t status);

/* Slot 0 to 55, in table order. */
typedef Zeb_ErrorHandle_t (*ZebProperty_HasCapabilityFn_t)(ZebProperty_Key_t key);
typedef Zeb_ErrorHandle_t (*ZebBackend_CreateFn_t)(Zeb_LogHandle_t logger,
                                                   const ZebBackend_Config_t** config,
                                                   Zeb_BackendHandle_t* backend);
typedef Zeb_ErrorHandle_t (*ZebBackend_SetConfigFn_t)(Zeb_BackendHandle_t backend,
                                                      const ZebBackend_Config_t** config);
typedef Zeb_ErrorHandle_t (*ZebBackend_GetApiVersionFn_t)(Zeb_ApiVersion_t* version);
typedef Zeb_ErrorHandle_t (*ZebBackend_GetBuildIdFn_t)(const char** id);
typedef Zeb_ErrorHandle_t (*ZebBackend_RegisterOpPackageFn_t)(Zeb_BackendHandle_t backend,
                                                              const char* packagePath,
                                                              const char* interfaceProvider,
                                                              const char* target);
typedef Zeb_ErrorHandle_t (*ZebBackend_GetSupportedOperationsFn_t)(
    Zeb_BackendHandle_t backend, uint32_t* numOperations,
    const ZebBackend_OperationName_t** operations);
typedef Zeb_ErrorHandle_t (*ZebBackend_ValidateOpConfigFn_t)(Zeb_BackendHandle_t backend,
                                                             Zeb_OpConfig_t opConfig);
typedef Zeb_ErrorHandle_t (*ZebBackend_FreeFn_t)(Zeb_BackendHandle_t backend);
typedef Zeb_ErrorHandle_t (*ZebContext_CreateFn_t)(Zeb_BackendHandle_t backend,
                                                   Zeb_DeviceHandle_t device,
                                                   const ZebContext_Config_t** config,
                                                   Zeb_ContextHandle_t* context);
typedef Zeb_ErrorHandle_t (*ZebContext_SetConfigFn_t)(Zeb_ContextHandle_t context,
                                                      const ZebContext_Config_t** config);
typedef Zeb_ErrorHandle_t (*ZebContext_GetBinarySizeFn_t)(
    Zeb_ContextHandle_t context, Zeb_ContextBinarySize_t* binaryBufferSize);
typedef Zeb_ErrorHandle_t (*ZebContext_GetBinaryFn_t)(Zeb_ContextHandle_t context,
                                                      void* binaryBuffer,
                                                      Zeb_ContextBinarySize_t binaryBufferSize,
                                                      Zeb_ContextBinarySize_t* writtenBufferSize);
typedef Zeb_ErrorHandle_t (*ZebContext_CreateFromBinaryFn_t)(
    Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
    const void* binaryBuffer, Zeb_ContextBinarySize_t binaryBufferSize,
    Zeb_ContextHandle_t* context, Zeb_ProfileHandle_t profile);
typedef Zeb_ErrorHandle_t (*ZebContext_FreeFn_t)(Zeb_ContextHandle_t context,
                                                 Zeb_ProfileHandle_t profile);
typedef Zeb_ErrorHandle_t (*ZebGraph_CreateFn_t)(Zeb_ContextHandle_t context,
                                                 const char* graphName,
                                                 const ZebGraph_Config_t** config,
                                                 Zeb_GraphHandle_t* graph);
typedef Zeb_ErrorHandle_t (*ZebGraph_CreateSubgraphFn_t)(Zeb_GraphHandle_t graph,
                                                         const char* graphName,
                                                         Zeb_GraphHandle_t* subgraph);
typedef Zeb_ErrorHandle_t (*ZebGraph_SetConfigFn_t)(Zeb_GraphHandle_t graph,
                                                    const ZebGraph_Config_t** config);
typedef Zeb_ErrorHandle_t (*ZebGraph_AddNodeFn_t)(Zeb_GraphHandle_t graph,
                                                  Zeb_OpConfig_t opConfig);
typedef Zeb_ErrorHandle_t (*ZebGraph_FinalizeFn_t)(Zeb_GraphHandle_t graph,
                                                   Zeb_ProfileHandle_t profile,
                                                   Zeb_SignalHandle_t signal);
typedef Zeb_ErrorHandle_t (*ZebGraph_RetrieveFn_t)(Zeb_ContextHandle_t context,
                                                   const char* graphName,
                                                   Zeb_GraphHandle_t* graph);
typedef Zeb_ErrorHandle_t (*ZebGraph_ExecuteFn_t)(Zeb_GraphHandle_t graph,
                                                  const Zeb_Tensor_t* inputs, uint32_t numInputs,
                                                  Zeb_Tensor_t* outputs, uint32_t numOutputs,
                                                  Zeb_ProfileHandle_t profile,
                                                  Zeb_SignalHandle_t signal);
typedef Zeb_ErrorHandle_t (*ZebGraph_ExecuteAsyncFn_t)(
    Zeb_GraphHandle_t graph, const Zeb_Tensor_t* inputs, uint32_t numInputs,
    Zeb_Tensor_t* outputs, uint32_t numOutputs, Zeb_ProfileHandle_t profile,
    Zeb_SignalHandle_t signal, Zeb_NotifyFn_t notifyFn, void* notifyParam);
typedef Zeb_ErrorHandle_t (*ZebTensor_CreateContextTensorFn_t)(Zeb_ContextHandle_t context,
                                                               Zeb_Tensor_t* tensor);
typedef Zeb_ErrorHandle_t (*ZebTensor_CreateGraphTensorFn_t)(Zeb_GraphHandle_t graph,
                                                             Zeb_Tensor_t* tensor);
typedef Zeb_ErrorHandle_t (*ZebLog_CreateFn_t)(ZebLog_Callback_t callback,
                                               ZebLog_Level_t maxLogLevel,
                                               Zeb_LogHandle_t* logger);
typedef Zeb_ErrorHandle_t (*ZebLog_SetLogLevelFn_t)(Zeb_LogHandle_t logger,
                                                    ZebLog_Level_t maxLogLevel);
typedef Zeb_ErrorHandle_t (*ZebLog_FreeFn_t)(Zeb_LogHandle_t logger);
typedef Zeb_ErrorHandle_t (*ZebProfile_CreateFn_t)(Zeb_BackendHandle_t backend,
                                                   ZebProfile_Level_t level,
                                                   Zeb_ProfileHandle_t* profile);
typedef Zeb_ErrorHandle_t (*ZebProfile_SetConfigFn_t)(Zeb_ProfileHandle_t profile,
                                                      const ZebProfile_Config_t** config);
typedef Zeb_ErrorHandle_t (*ZebProfile_GetEventsFn_t)(Zeb_ProfileHandle_t profile,
                                                      const ZebProfile_EventId_t** profileEventIds,
                                                      uint32_t* numEvents);
typedef Zeb_ErrorHandle_t (*ZebProfile_GetSubEventsFn_t)(ZebProfile_EventId_t eventId,
                                                         const ZebProfile_EventId_t** subEventIds,
                                                         uint32_t* numSubEvents);
typedef Zeb_ErrorHandle_t (*ZebProfile_GetEventDataFn_t)(ZebProfile_EventId_t eventId,
                                                         ZebProfile_EventData_t* eventData);
typedef Zeb_ErrorHandle_t (*ZebProfile_GetExtendedEventDataFn_t)(
    ZebProfile_EventId_t eventId, ZebProfile_ExtendedEventData_t* eventData);
typedef Zeb_ErrorHandle_t (*ZebProfile_FreeFn_t)(Zeb_ProfileHandle_t profile);
typedef Zeb_ErrorHandle_t (*ZebMem_RegisterFn_t)(Zeb_ContextHandle_t context,
                                                 const void* memDescriptors,
                                                 uint32_t numDescriptors,
                                                 Zeb_MemHandle_t* memHandles);
typedef Zeb_ErrorHandle_t (*ZebMem_DeRegisterFn_t)(const Zeb_MemHandle_t* memHandles,
                                                   uint32_t numHandles);
typedef Zeb_ErrorHandle_t (*ZebDevice_GetPlatformInfoFn_t)(
    Zeb_LogHandle_t logger, const ZebDevice_PlatformInfo_t** platformInfo);
typedef Zeb_ErrorHandle_t (*ZebDevice_FreePlatformInfoFn_t)(
    Zeb_LogHandle_t logger, const ZebDevice_PlatformInfo_t* platformInfo);
typedef Zeb_ErrorHandle_t (*ZebDevice_GetInfrastructureFn_t)(
    ZebDevice_Infrastructure_t* deviceInfra);
typedef Zeb_ErrorHandle_t (*ZebDevice_CreateFn_t)(Zeb_LogHandle_t logger,
                                                  const ZebDevice_Config_t** config,
                                                  Zeb_DeviceHandle_t* device);
typedef Zeb_ErrorHandle_t (*ZebDevice_SetConfigFn_t)(Zeb_DeviceHandle_t device,
                                                     const ZebDevice_Config_t** config);
typedef Zeb_ErrorHandle_t (*ZebDevice_GetInfoFn_t)(Zeb_DeviceHandle_t device,
                                                   const ZebDevice_PlatformInfo_t** platformInfo);
typedef Zeb_ErrorHandle_t (*ZebDevice_FreeFn_t)(Zeb_DeviceHandle_t device);
typedef Zeb_ErrorHandle_t (*ZebSignal_CreateFn_t)(Zeb_ContextHandle_t context,
                                                  Zeb_SignalHandle_t* signal);
typedef Zeb_ErrorHandle_t (*ZebSignal_SetConfigFn_t)(Zeb_SignalHandle_t signal,
                                                     const void** config);
typedef Zeb_ErrorHandle_t (*ZebSignal_TriggerFn_t)(Zeb_SignalHandle_t signal);
typedef Zeb_ErrorHandle_t (*ZebSignal_FreeFn_t)(Zeb_SignalHandle_t signal);
typedef Zeb_ErrorHandle_t (*ZebError_GetMessageFn_t)(Zeb_ErrorHandle_t errorHandle,
                                                     const char** errorMessage);
typedef Zeb_ErrorHandle_t (*ZebError_GetVerboseMessageFn_t)(Zeb_ErrorHandle_t errorHandle,
                                                            const char** errorMessage);
typedef Zeb_ErrorHandle_t (*ZebError_FreeVerboseMessageFn_t)(const char* errorMessage);
typedef Zeb_ErrorHandle_t (*ZebGraph_UpdateTensorsFn_t)(Zeb_GraphHandle_t graph,
                                                        const Zeb_Tensor_t** tensors,
                                                        uint32_t numTensors);
typedef Zeb_ErrorHandle_t (*ZebGraph_PrepareExecutionEnvironmentFn_t)(
    Zeb_GraphHandle_t graph, const ZebGraph_ExecutionEnvironment_t** environment);
typedef Zeb_ErrorHandle_t (*ZebContext_ValidateBinaryFn_t)(
    Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
    const void* binaryBuffer, Zeb_ContextBinarySize_t binaryBufferSize);
typedef Zeb_ErrorHandle_t (*ZebContext_CreateFromBinaryWithSignalFn_t)(
    Zeb_BackendHandle_t backend, Zeb_DeviceHandle_t device, const ZebContext_Config_t** config,
    const void* binaryBuffer, Zeb_ContextBinarySize_t binaryBufferSize,
    Zeb_ContextHandle_t* context, Zeb_ProfileHandle_t profile, Zeb_SignalHandle_t signal);

typedef struct {
  ZebProperty_HasCapabilityFn_t propertyHasCapability;                   /* 0 */
  ZebBackend_CreateFn_t backendCreate;                                   /* 1 */
  ZebBackend_SetConfigFn_t backendSetConfig;                             /* 2 */
  ZebBackend_GetApiVersionFn_t backendGetApiVersion;                     /* 3 */
  ZebBackend_GetBuildIdFn_t backendGetBuildId;                           /* 4 */
  ZebBackend_RegisterOpPackageFn_t backendRegisterOpPackage;             /* 5 */
  ZebBackend_GetSupportedOperationsFn_t backendGetSupportedOperations;   /* 6 */
  ZebBackend_ValidateOpConfigFn_t backendValidateOpConfig;               /* 7 */
  ZebBackend_FreeFn_t backendFree;                                       /* 8 */
  ZebContext_CreateFn_t contextCreate;                                   /* 9 */
  ZebContext_SetConfigFn_t contextSetConfig;                             /* 10 */
  ZebContext_GetBinarySizeFn_t contextGetBinarySize;                     /* 11 */
  ZebContext_GetBinaryFn_t contextGetBinary;                             /* 12 */
  ZebContext_CreateFromBinaryFn_t contextCreateFromBinary;               /* 13 */
  ZebContext_FreeFn_t contextFree;                                       /* 14 */
  ZebGraph_CreateFn_t graphCreate;                                       /* 15 */
  ZebGraph_CreateSubgraphFn_t graphCreateSubgraph;                       /* 16 */
  ZebGraph_SetConfigFn_t graphSetConfig;                                 /* 17 */
  ZebGraph_AddNodeFn_t graphAddNode;                                     /* 18 */
  ZebGraph_FinalizeFn_t graphFinalize;                                   /* 19 */
  ZebGraph_RetrieveFn_t graphRetrieve;                                   /* 20 */
  ZebGraph_ExecuteFn_t graphExecute;                                     /* 21 */
  ZebGraph_ExecuteAsyncFn_t graphExecuteAsync;                           /* 22 */
  ZebTensor_CreateContextTensorFn_t tensorCreateContextTensor;           /* 23 */
  ZebTensor_CreateGraphTensorFn_t tensorCreateGraphTensor;               /* 24 */
  ZebLog_CreateFn_t logCreate;                                           /* 25 */
  ZebLog_SetLogLevelFn_t logSetLogLevel;                                 /* 26 */
  ZebLog_FreeFn_t logFree;                                               /* 27 */
  ZebProfile_CreateFn_t profileCreate;                                   /* 28 */
  ZebProfile_SetConfigFn_t profileSetConfig;                             /* 29 */
  ZebProfile_GetEventsFn_t profileGetEvents;                             /* 30 */
  ZebProfile_GetSubEventsFn_t profileGetSubEvents;                       /* 31 */
  ZebProfile_GetEventDataFn_t profileGetEventData;                       /* 32 */
  ZebProfile_GetExtendedEventDataFn_t profileGetExtendedEventData;       /* 33 */
  ZebProfile_FreeFn_t profileFree;                                       /* 34 */
  ZebMem_RegisterFn_t memRegister;                                       /* 35 */
  ZebMem_DeRegisterFn_t memDeRegister;                                   /* 36 */
  ZebDevice_GetPlatformInfoFn_t deviceGetPlatformInfo;                   /* 37 */
  ZebDevice_FreePlatformInfoFn_t deviceFreePlatformInfo;                 /* 38 */
  ZebDevice_GetInfrastructureFn_t deviceGetInfrastructure;               /* 39 */
  ZebDevice_CreateFn_t deviceCreate;                                     /* 40 */
  ZebDevice_SetConfigFn_t deviceSetConfig;                               /* 41 */
  ZebDevice_GetInfoFn_t deviceGetInfo;                                   /* 42 */
  ZebDevice_FreeFn_t deviceFree;                                         /* 43 */
  ZebSignal_CreateFn_t signalCreate;                                     /* 44 */
  ZebSignal_SetConfigFn_t signalSetConfig;                               /* 45 */
  ZebSignal_TriggerFn_t signalTrigger;                                   /* 46 */
  ZebSignal_FreeFn_t signalFree;                                         /* 47 */
  ZebError_GetMessageFn_t errorGetMessage;                               /* 48 */
  ZebError_GetVerboseMessageFn_t errorGetVerboseMessage;                 /* 49 */
  ZebError_FreeVerboseMessageFn_t errorFreeVerboseMessage;               /* 50 */
  ZebGraph_UpdateTensorsFn_t graphUpdateInputTensors;                    /* 51 */
  ZebGraph_UpdateTensorsFn_t graphUpdateOutputTensors;                   /* 52 */
  ZebGraph_PrepareExecutionEnvironmentFn_t graphPrepareExecutionEnvironment; /* 53 */
  ZebContext_ValidateBinaryFn_t contextValidateBinary;                   /* 54 */
  ZebContext_CreateFromBinaryWithSignalFn_t contextCreateFromBinaryWithSignal; /* 55 */
} ZebInterface_ImplementationV2_15_t;

#define ZEB_INTERFACE_VER_TYPE ZebInterface_ImplementationV2_15_t
#define ZEB_INTERFACE_VER_NAME v2_15

typedef struct {
  uint32_t backendId;
  const char* providerName;
  Zeb_ApiVersion_t apiVersion;
  ZEB_INTERFACE_VER_TYPE ZEB_INTERFACE_VER_NAME;
} ZebInterface_t;

ZEB_API Zeb_ErrorHandle_t ZebInterface_getProviders(const ZebInterface_t*** providerList,
                                                    uint32_t* numProviders);

typedef Zeb_ErrorHandle_t (*ZebInterface_GetProvidersFn_t)(const ZebInterface_t*** providerList,
                                                           uint32_t* numProviders);

#ifdef __cplusplus
}
#endif

#endif
