// The echo backend's provider record and its backend, property, log and error
// slots. Every slot logs its call and succeeds.
#include "echo_backend.h"

#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

constexpr Zeb_ApiVersion_t kApiVersion = {{2, 15, 0}, {1, 0, 0}};
constexpr const char* kErrorMessage = "echo backend: no error";

const ZebBackend_OperationName_t kSupportedOperations[kSupportedOperationCount] = {
    {"echo.ops", "Add"}, {"echo.ops", "Conv2d"}, {"echo.ops", "Relu"}};

Zeb_ErrorHandle_t propertyHasCapability(ZebProperty_Key_t key) {
  Call call("propertyHasCapability");
  call.arg("key").number(key);
  const Zeb_ErrorHandle_t code = call.finish();
  if (code != ZEB_SUCCESS || key < kCapabilityKeys) return code;
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}

Zeb_ErrorHandle_t backendCreate(Zeb_LogHandle_t logger, const ZebBackend_Config_t** config,
                                Zeb_BackendHandle_t* backend) {
  Call call("backendCreate");
  call.arg("log").handle(HandleKind::Log, logger);
  call.arg("config").backendConfigs(config);
  call.create(HandleKind::Backend, backend);
  return call.finish();
}

Zeb_ErrorHandle_t backendSetConfig(Zeb_BackendHandle_t backend,
                                   const ZebBackend_Config_t** config) {
  Call call("backendSetConfig");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("config").backendConfigs(config);
  return call.finish();
}

Zeb_ErrorHandle_t backendGetApiVersion(Zeb_ApiVersion_t* version) {
  Call call("backendGetApiVersion");
  call.arg("version").output(version);
  call.fill(version, kApiVersion);
  return call.finish();
}

Zeb_ErrorHandle_t backendGetBuildId(const char** id) {
  Call call("backendGetBuildId");
  call.arg("id").output(id);
  call.fill(id, kBuildId);
  return call.finish();
}

Zeb_ErrorHandle_t backendRegisterOpPackage(Zeb_BackendHandle_t backend, const char* packagePath,
                                           const char* interfaceProvider, const char* target) {
  Call call("backendRegisterOpPackage");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("path").string(packagePath);
  call.arg("provider").string(interfaceProvider);
  call.arg("target").string(target);
  return call.finish();
}

Zeb_ErrorHandle_t backendGetSupportedOperations(Zeb_BackendHandle_t backend,
                                                uint32_t* numOperations,
                                                const ZebBackend_OperationName_t** operations) {
  Call call("backendGetSupportedOperations");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("numOperations").output(numOperations);
  call.arg("operations").output(operations);
  call.fill(numOperations, kSupportedOperationCount);
  call.fill(operations, kSupportedOperations);
  return call.finish();
}

Zeb_ErrorHandle_t backendValidateOpConfig(Zeb_BackendHandle_t backend, Zeb_OpConfig_t opConfig) {
  Call call("backendValidateOpConfig");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("op").opConfig(opConfig);
  return call.finish();
}

Zeb_ErrorHandle_t backendFree(Zeb_BackendHandle_t backend) {
  Call call("backendFree");
  call.arg("backend").handle(HandleKind::Backend, backend);
  return call.finish();
}

// The log family is logged under "log:" so that comparisons can drop it.
Zeb_ErrorHandle_t logCreate(ZebLog_Callback_t callback, ZebLog_Level_t maxLogLevel,
                            Zeb_LogHandle_t* logger) {
  Call call("log:logCreate");
  call.arg("callback").opaque(callback);
  call.arg("level").number(maxLogLevel);
  call.create(HandleKind::Log, logger);
  if (logger != nullptr && callback != nullptr)
    call.addLogger(*logger, {callback, maxLogLevel, nanosecondsNow()});
  return call.finish();
}

Zeb_ErrorHandle_t logSetLogLevel(Zeb_LogHandle_t logger, ZebLog_Level_t maxLogLevel) {
  Call call("log:logSetLogLevel");
  call.arg("logger").handle(HandleKind::Log, logger);
  call.arg("level").number(maxLogLevel);
  call.setLoggerLevel(logger, maxLogLevel);
  return call.finish();
}

Zeb_ErrorHandle_t logFree(Zeb_LogHandle_t logger) {
  Call call("log:logFree");
  call.arg("logger").handle(HandleKind::Log, logger);
  call.removeLogger(logger);
  return call.finish();
}

Zeb_ErrorHandle_t errorGetMessage(Zeb_ErrorHandle_t errorHandle, const char** errorMessage) {
  Call call("errorGetMessage");
  call.arg("error").number(errorHandle);
  call.arg("message").output(errorMessage);
  call.fill(errorMessage, kErrorMessage);
  return call.finish();
}

Zeb_ErrorHandle_t errorGetVerboseMessage(Zeb_ErrorHandle_t errorHandle,
                                         const char** errorMessage) {
  Call call("errorGetVerboseMessage");
  call.arg("error").number(errorHandle);
  call.arg("message").output(errorMessage);
  call.fill(errorMessage, kErrorMessage);
  return call.finish();
}

// Verbose messages are static, so freeing one only logs it.
Zeb_ErrorHandle_t errorFreeVerboseMessage(const char* errorMessage) {
  Call call("errorFreeVerboseMessage");
  call.arg("message").string(errorMessage);
  return call.finish();
}

ZebInterface_t makeProvider() {
  ZebInterface_t provider{};
  provider.backendId = kBackendId;
  provider.providerName = kProviderName;
  provider.apiVersion = kApiVersion;
  FunctionTable& table = provider.ZEB_INTERFACE_VER_NAME;
  fillBackendSlots(table);
  fillContextSlots(table);
  fillGraphSlots(table);
  fillDeviceSlots(table);
  fillProfileSlots(table);
  return provider;
}

}  // namespace

void fillBackendSlots(FunctionTable& table) {
  table.propertyHasCapability = propertyHasCapability;
  table.backendCreate = backendCreate;
  table.backendSetConfig = backendSetConfig;
  table.backendGetApiVersion = backendGetApiVersion;
  table.backendGetBuildId = backendGetBuildId;
  table.backendRegisterOpPackage = backendRegisterOpPackage;
  table.backendGetSupportedOperations = backendGetSupportedOperations;
  table.backendValidateOpConfig = backendValidateOpConfig;
  table.backendFree = backendFree;
  table.logCreate = logCreate;
  table.logSetLogLevel = logSetLogLevel;
  table.logFree = logFree;
  table.errorGetMessage = errorGetMessage;
  table.errorGetVerboseMessage = errorGetVerboseMessage;
  table.errorFreeVerboseMessage = errorFreeVerboseMessage;
}

}  // namespace zeb::echo

extern "C" ZEB_API Zeb_ErrorHandle_t ZebInterface_getProviders(const ZebInterface_t*** providerList,
                                                              uint32_t* numProviders) {
  static const ZebInterface_t provider = zeb::echo::makeProvider();
  static const ZebInterface_t* providers[] = {&provider};
  if (providerList == nullptr || numProviders == nullptr) return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  *providerList = providers;
  *numProviders = 1;
  return ZEB_SUCCESS;
}
