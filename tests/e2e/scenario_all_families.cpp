// A client that uses every recorded call of the backend, context, device,
// profile and property families, and every configuration option of each; and
// one that only starts the recorder.
#include <cstdint>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

void runAllFamilies(const ZebApi& api, bool withQueries) {
  const BackendConfig backendConfigs[] = {backendErrorReporting(ZEB_ERROR_REPORTING_LEVEL_DETAILED, 4096),
                                          backendPlatform("dsp arch=v73; soc:57 {x} <y> 'z'"),
                                          backendPlatform(nullptr), backendCustomNull()};
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, listOf(backendConfigs).data(), &backend);
  const BackendConfig brief[] = {backendErrorReporting(ZEB_ERROR_REPORTING_LEVEL_BRIEF, 0)};
  api.backendSetConfig(backend, listOf(brief).data());
  api.backendRegisterOpPackage(backend, "/opt/zeb/libCustomOps.so", "CustomOpsInterfaceProvider", "CPU");
  api.backendRegisterOpPackage(backend, "libMoreOps.so", "MoreOpsProvider", nullptr);

  // Two hardware devices, the first with two cores, the second without a core
  // array; a platform option without information; a custom option.
  ZebDevice_CoreInfo_t cores[] = {deviceCore(0, 1), deviceCore(1, 4294967295u)};
  ZebDevice_HardwareDeviceInfo_t hwDevices[] = {hardwareDevice(0, 3, 2, cores), hardwareDevice(7, 0, 0, nullptr)};
  const ZebDevice_PlatformInfo_t info = platformInfo(2, hwDevices);
  const ZebDevice_Config_t deviceConfigs[] = {devicePlatformInfo(&info), devicePlatformInfo(nullptr), deviceCustomNull()};
  Zeb_DeviceHandle_t device = nullptr; api.deviceCreate(nullptr, listOf(deviceConfigs).data(), &device);
  ZebDevice_HardwareDeviceInfo_t emptyDevice[] = {hardwareDevice(1, 2, 0, nullptr)};
  const ZebDevice_PlatformInfo_t smallInfo = platformInfo(1, emptyDevice);
  const ZebDevice_Config_t smaller[] = {devicePlatformInfo(&smallInfo)};
  api.deviceSetConfig(device, listOf(smaller).data());

  // All eight context options, with the awkward values a client may send.
  static const char* const graphNames[] = {"mobilenet v2", "head/1", nullptr}, *const noGraphs[] = {nullptr};
  const ContextConfig contextConfigs[] = {
      contextCustomNull(), contextPriority(ZEB_PRIORITY_HIGH),
      contextErrorReporting(ZEB_ERROR_REPORTING_LEVEL_DETAILED, 65536),
      contextOemString("oem: 'vendor' {1} <2> [3] %d $HOME #x & | ^ ~ ! ;"), contextAsyncDepth(8),
      contextEnableGraphs(graphNames), contextMemoryLimitHint(UINT64_C(18446744073709551615)), contextPersistentBinary(1)};
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, device, listOf(contextConfigs).data(), &context);
  const ContextConfig later[] = {contextPriority(-1), contextEnableGraphs(noGraphs), contextEnableGraphs(nullptr),
                                 contextOemString(""), contextPersistentBinary(255)};
  api.contextSetConfig(context, listOf(later).data());
  const ContextConfig low[] = {contextPriority(ZEB_PRIORITY_LOW)};
  Zeb_ContextHandle_t plainContext = nullptr; api.contextCreate(backend, nullptr, listOf(low).data(), &plainContext);

  Zeb_ProfileHandle_t profile = nullptr; api.profileCreate(backend, ZEB_PROFILE_LEVEL_DETAILED, &profile);
  const ZebProfile_Config_t profileConfigs[] = {profileMaxEvents(UINT64_C(10000000000)), profileCustomNull()};
  api.profileSetConfig(profile, listOf(profileConfigs).data());
  api.profileSetConfig(profile, nullptr);

  if (withQueries) {
    uint32_t count = 0;
    const ZebBackend_OperationName_t* operations = nullptr;
    api.backendGetSupportedOperations(backend, &count, &operations);
    api.backendGetSupportedOperations(backend, nullptr, nullptr);
    api.propertyHasCapability(1); api.propertyHasCapability(0xFFFFFFFFu);
    const ZebDevice_PlatformInfo_t* platform = nullptr;
    api.deviceGetPlatformInfo(nullptr, &platform); api.deviceGetPlatformInfo(nullptr, nullptr);
    ZebDevice_Infrastructure_t infrastructure = nullptr;
    api.deviceGetInfrastructure(&infrastructure); api.deviceGetInfrastructure(nullptr);
    api.deviceGetInfo(device, &platform); api.deviceGetInfo(device, nullptr);
    const ZebProfile_EventId_t* events = nullptr;
    api.profileGetEvents(profile, &events, &count); api.profileGetEvents(profile, nullptr, nullptr);
    api.profileGetSubEvents(42, &events, &count);
    ZebProfile_EventData_t data{};
    api.profileGetEventData(42, &data);
    ZebProfile_ExtendedEventData_t extended{};
    api.profileGetExtendedEventData(UINT64_C(18446744073709551615), &extended);
  }
  api.contextFree(context, profile); api.contextFree(plainContext, nullptr);
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
