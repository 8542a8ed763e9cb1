// The all-families, frame-only and binaries scenarios (see scenarios.h).
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

  // Devices with two cores and without a core array; a platform option without information.
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
    uint32_t count = 0; const ZebBackend_OperationName_t* operations = nullptr;
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
    ZebProfile_EventData_t data{}; api.profileGetEventData(42, &data);
    ZebProfile_ExtendedEventData_t extended{}; api.profileGetExtendedEventData(UINT64_C(18446744073709551615), &extended);
  }
  api.contextFree(context, profile); api.contextFree(plainContext, nullptr);
  api.profileFree(profile); api.deviceFree(device); api.backendFree(backend);
}

}  // namespace

void allFamilies(const ZebApi& api) { runAllFamilies(api, true); }
void allFamiliesWithoutQueries(const ZebApi& api) { runAllFamilies(api, false); }

void frameOnly(const ZebApi& api) {
  const char* message = nullptr;
  api.errorGetMessage(0, &message);  // starts the recorder, records nothing
}

void binaries(const ZebApi& api) {
  static uint8_t binary[16] = {0xB1, 0, 1, 2, 3, 0xFF, 0x7F, 0x80, 8, 9, 10, 11, 12, 13, 14, 0xB2}, buffer[1024];
  const PlainContext plain(api);
  // Each asked twice, since the program declares their variables once; the binary query
  // passes the size the backend answered (in a replay, the size its own query received).
  Zeb_ContextBinarySize_t size = 0, written = 0;
  api.contextGetBinarySize(plain.context, &size); api.contextGetBinarySize(plain.context, &size);
  api.contextGetBinarySize(plain.context, nullptr);
  api.contextGetBinary(plain.context, buffer, size, &written); api.contextGetBinary(plain.context, buffer, size, nullptr);

  const ContextConfig configs[] = {contextPriority(ZEB_PRIORITY_HIGH), contextOemString("from binary")};
  Zeb_ContextHandle_t fromBinary = nullptr, withSignal = nullptr;
  api.contextCreateFromBinary(plain.backend, nullptr, listOf(configs).data(), binary, sizeof binary, &fromBinary, nullptr);
  api.contextCreateFromBinaryWithSignal(plain.backend, nullptr, kNoContextConfigs, nullptr, 32, &withSignal,
                                        nullptr, nullptr);
  api.contextValidateBinary(plain.backend, nullptr, listOf(configs).data(), binary, 8);
  api.contextValidateBinary(nullptr, nullptr, kNoContextConfigs, binary + 8, 8);
  api.contextFree(withSignal, nullptr); api.contextFree(fromBinary, nullptr);
}

void dataAndBinaries(const ZebApi& api) { dataPath(api); binaries(api); }

}  // namespace zeb::e2e
