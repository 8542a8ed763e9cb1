// A client that uses every recorded call of the backend, context, device,
// profile and property families, and every configuration option of each; and
// one that only starts the recorder.
#include <cstdint>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

Zeb_BackendHandle_t createBackend(const ZebApi& api) {
  const ZebBackend_Config_t detailed =
      backendErrorReporting(ZEB_ERROR_REPORTING_LEVEL_DETAILED, 4096);
  const ZebBackend_Config_t platform = backendPlatform("dsp arch=v73; soc:57 {x} <y> 'z'");
  const ZebBackend_Config_t noPlatform = backendPlatform(nullptr);
  const ZebBackend_Config_t custom = backendCustomNull();
  const ZebBackend_Config_t* configs[] = {&detailed, &platform, &noPlatform, &custom, nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  api.backendCreate(nullptr, configs, &backend);

  const ZebBackend_Config_t brief = backendErrorReporting(ZEB_ERROR_REPORTING_LEVEL_BRIEF, 0);
  const ZebBackend_Config_t* newConfigs[] = {&brief, nullptr};
  api.backendSetConfig(backend, newConfigs);
  api.backendRegisterOpPackage(backend, "/opt/zeb/libCustomOps.so", "CustomOpsInterfaceProvider",
                               "CPU");
  api.backendRegisterOpPackage(backend, "libMoreOps.so", "MoreOpsProvider", nullptr);
  return backend;
}

void queryBackend(const ZebApi& api, Zeb_BackendHandle_t backend) {
  uint32_t numOperations = 0;
  const ZebBackend_OperationName_t* operations = nullptr;
  api.backendGetSupportedOperations(backend, &numOperations, &operations);
  api.backendGetSupportedOperations(backend, nullptr, nullptr);
  api.propertyHasCapability(1);
  api.propertyHasCapability(0xFFFFFFFFu);
}

// Two hardware devices, the first with two cores, the second without a core
// array; a platform option without information; a custom option.
Zeb_DeviceHandle_t createDevice(const ZebApi& api) {
  ZebDevice_CoreInfo_t cores[] = {deviceCore(0, 1), deviceCore(1, 4294967295u)};
  ZebDevice_HardwareDeviceInfo_t hwDevices[] = {hardwareDevice(0, 3, 2, cores),
                                                hardwareDevice(7, 0, 0, nullptr)};
  const ZebDevice_PlatformInfo_t info = platformInfo(2, hwDevices);
  const ZebDevice_Config_t withInfo = devicePlatformInfo(&info);
  const ZebDevice_Config_t withoutInfo = devicePlatformInfo(nullptr);
  const ZebDevice_Config_t custom = deviceCustomNull();
  const ZebDevice_Config_t* configs[] = {&withInfo, &withoutInfo, &custom, nullptr};
  Zeb_DeviceHandle_t device = nullptr;
  api.deviceCreate(nullptr, configs, &device);

  ZebDevice_HardwareDeviceInfo_t emptyDevice[] = {hardwareDevice(1, 2, 0, nullptr)};
  const ZebDevice_PlatformInfo_t smallInfo = platformInfo(1, emptyDevice);
  const ZebDevice_Config_t smaller = devicePlatformInfo(&smallInfo);
  const ZebDevice_Config_t* newConfigs[] = {&smaller, nullptr};
  api.deviceSetConfig(device, newConfigs);
  return device;
}

void queryDevices(const ZebApi& api, Zeb_DeviceHandle_t device) {
  const ZebDevice_PlatformInfo_t* info = nullptr;
  api.deviceGetPlatformInfo(nullptr, &info);
  api.deviceGetPlatformInfo(nullptr, nullptr);
  ZebDevice_Infrastructure_t infrastructure = nullptr;
  api.deviceGetInfrastructure(&infrastructure);
  api.deviceGetInfrastructure(nullptr);
  api.deviceGetInfo(device, &info);
  api.deviceGetInfo(device, nullptr);
}

// All eight context options, with the awkward values a client may send.
Zeb_ContextHandle_t createContext(const ZebApi& api, Zeb_BackendHandle_t backend,
                                  Zeb_DeviceHandle_t device) {
  static const char* const graphNames[] = {"mobilenet v2", "head/1", nullptr};
  const ZebContext_Config_t configs[] = {
      contextCustomNull(),
      contextPriority(ZEB_PRIORITY_HIGH),
      contextErrorReporting(ZEB_ERROR_REPORTING_LEVEL_DETAILED, 65536),
      contextOemString("oem: 'vendor' {1} <2> [3] %d $HOME #x & | ^ ~ ! ;"),
      contextAsyncDepth(8),
      contextEnableGraphs(graphNames),
      contextMemoryLimitHint(UINT64_C(18446744073709551615)),
      contextPersistentBinary(1),
  };
  const ZebContext_Config_t* pointers[] = {&configs[0], &configs[1], &configs[2],
                                           &configs[3], &configs[4], &configs[5],
                                           &configs[6], &configs[7], nullptr};
  Zeb_ContextHandle_t context = nullptr;
  api.contextCreate(backend, device, pointers, &context);

  static const char* const noGraphs[] = {nullptr};
  const ZebContext_Config_t later[] = {contextPriority(-1), contextEnableGraphs(noGraphs),
                                       contextEnableGraphs(nullptr), contextOemString(""),
                                       contextPersistentBinary(255)};
  const ZebContext_Config_t* laterPointers[] = {&later[0], &later[1], &later[2],
                                                &later[3], &later[4], nullptr};
  api.contextSetConfig(context, laterPointers);
  return context;
}

Zeb_ProfileHandle_t createProfile(const ZebApi& api, Zeb_BackendHandle_t backend) {
  Zeb_ProfileHandle_t profile = nullptr;
  api.profileCreate(backend, ZEB_PROFILE_LEVEL_DETAILED, &profile);
  const ZebProfile_Config_t maxEvents = profileMaxEvents(UINT64_C(10000000000));
  const ZebProfile_Config_t custom = profileCustomNull();
  const ZebProfile_Config_t* configs[] = {&maxEvents, &custom, nullptr};
  api.profileSetConfig(profile, configs);
  api.profileSetConfig(profile, nullptr);
  return profile;
}

void queryProfile(const ZebApi& api, Zeb_ProfileHandle_t profile) {
  const ZebProfile_EventId_t* events = nullptr;
  uint32_t numEvents = 0;
  api.profileGetEvents(profile, &events, &numEvents);
  api.profileGetEvents(profile, nullptr, nullptr);
  api.profileGetSubEvents(42, &events, &numEvents);
  ZebProfile_EventData_t data{};
  api.profileGetEventData(42, &data);
  ZebProfile_ExtendedEventData_t extended{};
  api.profileGetExtendedEventData(UINT64_C(18446744073709551615), &extended);
}

void runAllFamilies(const ZebApi& api, bool withQueries) {
  const Zeb_BackendHandle_t backend = createBackend(api);
  const Zeb_DeviceHandle_t device = createDevice(api);
  const Zeb_ContextHandle_t context = createContext(api, backend, device);

  const ZebContext_Config_t low = contextPriority(ZEB_PRIORITY_LOW);
  const ZebContext_Config_t* lowConfig[] = {&low, nullptr};
  Zeb_ContextHandle_t plainContext = nullptr;
  api.contextCreate(backend, nullptr, lowConfig, &plainContext);

  const Zeb_ProfileHandle_t profile = createProfile(api, backend);
  if (withQueries) {
    queryBackend(api, backend);
    queryDevices(api, device);
    queryProfile(api, profile);
  }

  api.contextFree(context, profile);
  api.contextFree(plainContext, nullptr);
  api.profileFree(profile);
  api.deviceFree(device);
  api.backendFree(backend);
}

}  // namespace

void allFamilies(const ZebApi& api) { runAllFamilies(api, true); }
void allFamiliesWithoutQueries(const ZebApi& api) { runAllFamilies(api, false); }

void frameOnly(const ZebApi& api) {
  const char* message = nullptr;
  api.errorGetMessage(0, &message);  // starts the recorder, records nothing
}

}  // namespace zeb::e2e
