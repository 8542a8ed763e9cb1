#include "record/device.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "record/context.h"
#include "record/recording_session.h"

namespace zeb {
namespace {

using test::block;
using test::Messages;
using test::RecordingSession;

using Step = std::function<Zeb_ErrorHandle_t(Recorder&, ScribeDevice&)>;

int opaqueTarget = 0;  // any address stands for a client's opaque pointer

template <class Pointer>
Pointer opaque() {
  return reinterpret_cast<Pointer>(&opaqueTarget);
}

ZebDevice_CoreInfo_t core(uint32_t id, uint32_t type, int32_t version = 1,
                          ZebDevice_CoreInfoExtension_t extension = nullptr) {
  ZebDevice_CoreInfo_t info{};
  info.version = static_cast<ZebDevice_CoreInfoVersion_t>(version);
  info.v1 = {id, type, extension};
  return info;
}

ZebDevice_HardwareDeviceInfo_t hardwareDevice(uint32_t id, uint32_t type,
                                              std::vector<ZebDevice_CoreInfo_t>* cores,
                                              int32_t version = 1,
                                              ZebDevice_DeviceInfoExtension_t extension = nullptr) {
  ZebDevice_HardwareDeviceInfo_t info{};
  info.version = static_cast<ZebDevice_HardwareDeviceInfoVersion_t>(version);
  info.v1 = {id, type, cores ? static_cast<uint32_t>(cores->size()) : 0u,
             cores ? cores->data() : nullptr, extension};
  return info;
}

ZebDevice_PlatformInfo_t platformInfo(std::vector<ZebDevice_HardwareDeviceInfo_t>& devices,
                                      int32_t version = 1) {
  ZebDevice_PlatformInfo_t info{};
  info.version = static_cast<ZebDevice_PlatformInfoVersion_t>(version);
  info.v1 = {static_cast<uint32_t>(devices.size()), devices.data()};
  return info;
}

ZebDevice_Config_t platformConfig(const ZebDevice_PlatformInfo_t* info) {
  ZebDevice_Config_t config{};
  config.option = ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO;
  config.hardwareInfo = info;
  return config;
}

ZebDevice_Config_t customConfig(ZebDevice_CustomConfig_t custom) {
  ZebDevice_Config_t config{};
  config.option = ZEB_DEVICE_CONFIG_OPTION_CUSTOM;
  config.customConfig = custom;
  return config;
}

Step create(std::vector<const ZebDevice_Config_t*>* configs) {
  return [configs](Recorder& recorder, ScribeDevice& device) {
    return record::deviceCreate(recorder, device, configs ? configs->data() : nullptr);
  };
}

Step setConfig(std::vector<const ZebDevice_Config_t*>* configs) {
  return [configs](Recorder& recorder, ScribeDevice& device) {
    return record::deviceSetConfig(recorder, device, configs ? configs->data() : nullptr);
  };
}

Step getInfo(bool withOutput) {
  return [withOutput](Recorder& recorder, ScribeDevice& device) {
    const ZebDevice_PlatformInfo_t* info = nullptr;
    return record::deviceGetInfo(recorder, device, withOutput ? &info : nullptr);
  };
}

Step getPlatformInfo(bool withOutput) {
  return [withOutput](Recorder& recorder, ScribeDevice&) {
    const ZebDevice_PlatformInfo_t* info = nullptr;
    return record::deviceGetPlatformInfo(recorder, withOutput ? &info : nullptr);
  };
}

Step getInfrastructure(bool withOutput) {
  return [withOutput](Recorder& recorder, ScribeDevice&) {
    ZebDevice_Infrastructure_t infra = nullptr;
    return record::deviceGetInfrastructure(recorder, withOutput ? &infra : nullptr);
  };
}

Step freeDevice() {
  return [](Recorder& recorder, ScribeDevice& device) {
    return record::deviceFree(recorder, device);
  };
}

struct DeviceCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<Zeb_ErrorHandle_t> codes;
  std::string blocks;
  Messages messages;
};

// Runs each case on device_0 of a fresh recorder.
void runCases(const std::vector<DeviceCase>& cases) {
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    RecordingSession session;
    auto device = session.recorder.findDevice(session.recorder.createDevice());
    ASSERT_TRUE(device);
    ASSERT_EQ(device->name, "device_0");
    std::vector<Zeb_ErrorHandle_t> codes;
    for (const auto& step : testCase.steps) codes.push_back(step(session.recorder, *device));
    EXPECT_EQ(codes, testCase.codes);
    EXPECT_EQ(session.blocks(), testCase.blocks);
    EXPECT_EQ(session.messages(), testCase.messages);
  }
}

const std::string kInfraComment =
    "// Scribe does not record calls to backend-specific APIs via device infrastructure, they "
    "must be manually inserted if desired.";

TEST(DeviceRecording, CallsWithoutConfigurations) {
  runCases({
      {"create without configurations",
       {create(nullptr)},
       {0},
       block({"const ZebDevice_Config_t* device_0_config_0[] = {NULL};",
              "Zeb_DeviceHandle_t device_0;",
              "VALIDATE(error, interface.deviceCreate(loghandle, device_0_config_0, &device_0));"}),
       {}},
      {"set config takes the next array name",
       {create(nullptr), setConfig(nullptr)},
       {0, 0},
       block({"const ZebDevice_Config_t* device_0_config_0[] = {NULL};",
              "Zeb_DeviceHandle_t device_0;",
              "VALIDATE(error, interface.deviceCreate(loghandle, device_0_config_0, &device_0));"}) +
           block({"const ZebDevice_Config_t* device_0_config_1[] = {NULL};",
                  "VALIDATE(error, interface.deviceSetConfig(device_0, device_0_config_1));"}),
       {}},
      {"free", {freeDevice()}, {0}, block({"VALIDATE(error, interface.deviceFree(device_0));"}), {}},
  });
}

// Later calls, such as a context created on the device, still name it.
TEST(DeviceRecording, FreeKeepsTheDeviceRegistered) {
  RecordingSession session;
  const uint64_t handle = session.recorder.createDevice();
  auto device = session.recorder.findDevice(handle);
  ASSERT_TRUE(device);
  EXPECT_EQ(record::deviceFree(session.recorder, *device), 0u);
  EXPECT_EQ(session.recorder.findDevice(handle), device);
  auto context = session.recorder.findContext(session.recorder.createContext());
  ASSERT_TRUE(context);
  EXPECT_EQ(record::contextCreate(session.recorder, *context, 0, handle, nullptr), 0u);
  const std::string contextBlock =
      session.blocks().substr(block({"VALIDATE(error, interface.deviceFree(device_0));"}).size());
  EXPECT_NE(contextBlock.find("interface.contextCreate(NULL, device_0, "), std::string::npos)
      << contextBlock;
}

TEST(DeviceRecording, QueriesAnswerRecordedAndShareTheInfoCounter) {
  runCases({
      {"info then platform info",
       {getInfo(true), getPlatformInfo(true)},
       {4950, 4950},
       block({"const ZebDevice_PlatformInfo_t* platformInfo_0;",
              "VALIDATE(error, interface.deviceGetInfo(device_0, &platformInfo_0));"}) +
           block({"const ZebDevice_PlatformInfo_t* platformInfo_1;",
                  "VALIDATE(error, interface.deviceGetPlatformInfo(loghandle, &platformInfo_1));"}),
       {}},
      {"queries without outputs",
       {getInfo(false), getPlatformInfo(false), getInfrastructure(false)},
       {4950, 4950, 4950},
       block({"VALIDATE(error, interface.deviceGetInfo(device_0, NULL));"}) +
           block({"VALIDATE(error, interface.deviceGetPlatformInfo(loghandle, NULL));"}) +
           block({"VALIDATE(error, interface.deviceGetInfrastructure(NULL));"}),
       {}},
      {"infrastructure",
       {getInfrastructure(true), getInfrastructure(true)},
       {4950, 4950},
       block({kInfraComment, "ZebDevice_Infrastructure_t deviceInfra_0;",
              "VALIDATE(error, interface.deviceGetInfrastructure(&deviceInfra_0));"}) +
           block({kInfraComment, "ZebDevice_Infrastructure_t deviceInfra_1;",
                  "VALIDATE(error, interface.deviceGetInfrastructure(&deviceInfra_1));"}),
       {}},
  });
}

TEST(DeviceRecording, QueriesLeaveTheClientsOutputsAlone) {
  RecordingSession session;
  auto device = session.recorder.findDevice(session.recorder.createDevice());
  ASSERT_TRUE(device);
  const ZebDevice_PlatformInfo_t sentinel{};
  const ZebDevice_PlatformInfo_t* info = &sentinel;
  auto infra = opaque<ZebDevice_Infrastructure_t>();
  EXPECT_EQ(record::deviceGetInfo(session.recorder, *device, &info), 4950u);
  EXPECT_EQ(record::deviceGetPlatformInfo(session.recorder, &info), 4950u);
  EXPECT_EQ(record::deviceGetInfrastructure(session.recorder, &infra), 4950u);
  EXPECT_EQ(info, &sentinel);
  EXPECT_EQ(infra, opaque<ZebDevice_Infrastructure_t>());
}

TEST(DeviceRecording, PlatformInformationTrees) {
  // One hardware device (0, 1) with one core (0, 2).
  std::vector<ZebDevice_CoreInfo_t> exampleCores{core(0, 2)};
  std::vector<ZebDevice_HardwareDeviceInfo_t> exampleDevices{hardwareDevice(0, 1, &exampleCores)};
  const auto example = platformInfo(exampleDevices);
  const auto exampleConfig = platformConfig(&example);
  std::vector<const ZebDevice_Config_t*> exampleConfigs{&exampleConfig, nullptr};

  // Two hardware devices with cores of their own; the second core carries an extension.
  std::vector<ZebDevice_CoreInfo_t> firstCores{core(4, 5), core(6, 7)};
  std::vector<ZebDevice_CoreInfo_t> secondCores{
      core(8, 9, 1, opaque<ZebDevice_CoreInfoExtension_t>())};
  std::vector<ZebDevice_HardwareDeviceInfo_t> twoDevices{
      hardwareDevice(1, 2, &firstCores),
      hardwareDevice(3, 4, &secondCores, 1, opaque<ZebDevice_DeviceInfoExtension_t>())};
  const auto twoDeviceInfo = platformInfo(twoDevices);
  const auto twoDeviceConfig = platformConfig(&twoDeviceInfo);
  std::vector<const ZebDevice_Config_t*> twoDeviceConfigs{&twoDeviceConfig, nullptr};

  // A count without an array, and a device without cores.
  ZebDevice_PlatformInfo_t countOnly = platformInfo(exampleDevices);
  countOnly.v1 = {3, nullptr};
  std::vector<ZebDevice_HardwareDeviceInfo_t> coreless{hardwareDevice(5, 6, nullptr)};
  coreless[0].v1.numCores = 2;
  const auto corelessInfo = platformInfo(coreless);
  const auto countOnlyConfig = platformConfig(&countOnly);
  const auto corelessConfig = platformConfig(&corelessInfo);
  std::vector<const ZebDevice_Config_t*> sparseConfigs{&countOnlyConfig, &corelessConfig, nullptr};

  const std::string h = "device_0_hardwareInfo_0";
  runCases({
      {"the example tree",
       {create(&exampleConfigs)},
       {0},
       block({"ZebDevice_CoreInfoV1_t " + h + "_hwDevice_0_core_0_v1 = {0, 2, NULL};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_0_core_0 = {(ZebDevice_CoreInfoVersion_t)1, "
              ".v1 = " + h + "_hwDevice_0_core_0_v1};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_0_cores[] = {" + h + "_hwDevice_0_core_0};",
              "ZebDevice_HardwareDeviceInfoV1_t " + h + "_hwDevice_0_v1 = {0, 1, 1, " + h +
                  "_hwDevice_0_cores, NULL};",
              "ZebDevice_HardwareDeviceInfo_t " + h +
                  "_hwDevice_0 = {(ZebDevice_HardwareDeviceInfoVersion_t)1, .v1 = " + h +
                  "_hwDevice_0_v1};",
              "ZebDevice_HardwareDeviceInfo_t " + h + "_hwDevices[] = {" + h + "_hwDevice_0};",
              "ZebDevice_PlatformInfoV1_t " + h + "_v1 = {1, " + h + "_hwDevices};",
              "ZebDevice_PlatformInfo_t " + h + " = {(ZebDevice_PlatformInfoVersion_t)1, .v1 = " +
                  h + "_v1};",
              "ZebDevice_Config_t " + h + "_config = {ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, "
              ".hardwareInfo = &" + h + "};",
              "",
              "const ZebDevice_Config_t* device_0_config_0[] = {&" + h + "_config, NULL};",
              "Zeb_DeviceHandle_t device_0;",
              "VALIDATE(error, interface.deviceCreate(loghandle, device_0_config_0, &device_0));"}),
       {}},
      {"two hardware devices, extensions written as NULL",
       {setConfig(&twoDeviceConfigs)},
       {0},
       block({"ZebDevice_CoreInfoV1_t " + h + "_hwDevice_0_core_0_v1 = {4, 5, NULL};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_0_core_0 = {(ZebDevice_CoreInfoVersion_t)1, "
              ".v1 = " + h + "_hwDevice_0_core_0_v1};",
              "ZebDevice_CoreInfoV1_t " + h + "_hwDevice_0_core_1_v1 = {6, 7, NULL};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_0_core_1 = {(ZebDevice_CoreInfoVersion_t)1, "
              ".v1 = " + h + "_hwDevice_0_core_1_v1};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_0_cores[] = {" + h + "_hwDevice_0_core_0, " +
                  h + "_hwDevice_0_core_1};",
              "ZebDevice_HardwareDeviceInfoV1_t " + h + "_hwDevice_0_v1 = {1, 2, 2, " + h +
                  "_hwDevice_0_cores, NULL};",
              "ZebDevice_HardwareDeviceInfo_t " + h +
                  "_hwDevice_0 = {(ZebDevice_HardwareDeviceInfoVersion_t)1, .v1 = " + h +
                  "_hwDevice_0_v1};",
              "ZebDevice_CoreInfoV1_t " + h + "_hwDevice_1_core_0_v1 = {8, 9, NULL};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_1_core_0 = {(ZebDevice_CoreInfoVersion_t)1, "
              ".v1 = " + h + "_hwDevice_1_core_0_v1};",
              "ZebDevice_CoreInfo_t " + h + "_hwDevice_1_cores[] = {" + h + "_hwDevice_1_core_0};",
              "ZebDevice_HardwareDeviceInfoV1_t " + h + "_hwDevice_1_v1 = {3, 4, 1, " + h +
                  "_hwDevice_1_cores, NULL};",
              "ZebDevice_HardwareDeviceInfo_t " + h +
                  "_hwDevice_1 = {(ZebDevice_HardwareDeviceInfoVersion_t)1, .v1 = " + h +
                  "_hwDevice_1_v1};",
              "ZebDevice_HardwareDeviceInfo_t " + h + "_hwDevices[] = {" + h + "_hwDevice_0, " + h +
                  "_hwDevice_1};",
              "ZebDevice_PlatformInfoV1_t " + h + "_v1 = {2, " + h + "_hwDevices};",
              "ZebDevice_PlatformInfo_t " + h + " = {(ZebDevice_PlatformInfoVersion_t)1, .v1 = " +
                  h + "_v1};",
              "ZebDevice_Config_t " + h + "_config = {ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, "
              ".hardwareInfo = &" + h + "};",
              "",
              "const ZebDevice_Config_t* device_0_config_0[] = {&" + h + "_config, NULL};",
              "VALIDATE(error, interface.deviceSetConfig(device_0, device_0_config_0));"}),
       {{ZEB_LOG_LEVEL_WARN, "Parsing of backend-specific coreInfo extensions not supported"},
        {ZEB_LOG_LEVEL_WARN, "Parsing of backend-specific deviceInfo extensions not supported"}}},
      {"missing arrays keep their counts",
       {setConfig(&sparseConfigs)},
       {0},
       block({"ZebDevice_PlatformInfoV1_t " + h + "_v1 = {3, NULL};",
              "ZebDevice_PlatformInfo_t " + h + " = {(ZebDevice_PlatformInfoVersion_t)1, .v1 = " +
                  h + "_v1};",
              "ZebDevice_Config_t " + h + "_config = {ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, "
              ".hardwareInfo = &" + h + "};",
              "",
              "ZebDevice_HardwareDeviceInfoV1_t device_0_hardwareInfo_1_hwDevice_0_v1 = "
              "{5, 6, 2, NULL, NULL};",
              "ZebDevice_HardwareDeviceInfo_t device_0_hardwareInfo_1_hwDevice_0 = "
              "{(ZebDevice_HardwareDeviceInfoVersion_t)1, "
              ".v1 = device_0_hardwareInfo_1_hwDevice_0_v1};",
              "ZebDevice_HardwareDeviceInfo_t device_0_hardwareInfo_1_hwDevices[] = "
              "{device_0_hardwareInfo_1_hwDevice_0};",
              "ZebDevice_PlatformInfoV1_t device_0_hardwareInfo_1_v1 = "
              "{1, device_0_hardwareInfo_1_hwDevices};",
              "ZebDevice_PlatformInfo_t device_0_hardwareInfo_1 = "
              "{(ZebDevice_PlatformInfoVersion_t)1, .v1 = device_0_hardwareInfo_1_v1};",
              "ZebDevice_Config_t device_0_hardwareInfo_1_config = "
              "{ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, .hardwareInfo = &device_0_hardwareInfo_1};",
              "",
              "const ZebDevice_Config_t* device_0_config_0[] = "
              "{&" + h + "_config, &device_0_hardwareInfo_1_config, NULL};",
              "VALIDATE(error, interface.deviceSetConfig(device_0, device_0_config_0));"}),
       {}},
  });
}

TEST(DeviceRecording, ConfigurationsWithoutContent) {
  const auto noInfo = platformConfig(nullptr);
  const auto noCustom = customConfig(nullptr);
  const auto custom = customConfig(opaque<ZebDevice_CustomConfig_t>());
  std::vector<const ZebDevice_Config_t*> twoNoInfo{&noInfo, &noInfo, nullptr};
  std::vector<const ZebDevice_Config_t*> customs{&noCustom, &custom, &noCustom, nullptr};
  runCases({
      {"platform information without a tree",
       {create(&twoNoInfo)},
       {0},
       block({"ZebDevice_Config_t device_0_hardwareInfo_0_config = "
              "{ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, .hardwareInfo = NULL};",
              "",
              "ZebDevice_Config_t device_0_hardwareInfo_1_config = "
              "{ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, .hardwareInfo = NULL};",
              "",
              "const ZebDevice_Config_t* device_0_config_0[] = "
              "{&device_0_hardwareInfo_0_config, &device_0_hardwareInfo_1_config, NULL};",
              "Zeb_DeviceHandle_t device_0;",
              "VALIDATE(error, interface.deviceCreate(loghandle, device_0_config_0, &device_0));"}),
       {}},
      // The dropped configuration still uses up its name.
      {"custom configurations without a backend identifier",
       {create(&customs)},
       {0},
       block({"ZebDevice_Config_t device_0_customConfig_0 = "
              "{ZEB_DEVICE_CONFIG_OPTION_CUSTOM, .customConfig = NULL};",
              "", "",
              "ZebDevice_Config_t device_0_customConfig_2 = "
              "{ZEB_DEVICE_CONFIG_OPTION_CUSTOM, .customConfig = NULL};",
              "",
              "const ZebDevice_Config_t* device_0_config_0[] = "
              "{&device_0_customConfig_0, &device_0_customConfig_2, NULL};",
              "Zeb_DeviceHandle_t device_0;",
              "VALIDATE(error, interface.deviceCreate(loghandle, device_0_config_0, &device_0));"}),
       test::warning("Custom config provided without specifying backend ID, provide a backend ID "
                     "via ZebScribe_Initialize() to record custom configs.")},
  });
}

TEST(DeviceRecording, RefusedConfigurationsWriteNothingAndKeepTheirNames) {
  std::vector<ZebDevice_CoreInfo_t> badCores{core(0, 0, 2)};
  std::vector<ZebDevice_HardwareDeviceInfo_t> badCoreDevices{hardwareDevice(0, 0, &badCores)};
  std::vector<ZebDevice_HardwareDeviceInfo_t> badDevices{hardwareDevice(0, 0, nullptr, 2)};
  std::vector<ZebDevice_HardwareDeviceInfo_t> noDevices;
  const auto badCoreTree = platformInfo(badCoreDevices);
  const auto badDeviceTree = platformInfo(badDevices);
  const auto badPlatform = platformInfo(noDevices, 2);
  const auto custom = customConfig(opaque<ZebDevice_CustomConfig_t>());
  auto unknown = customConfig(nullptr);
  unknown.option = static_cast<ZebDevice_ConfigOption_t>(7);

  struct Refusal {
    const char* name;
    ZebDevice_Config_t config;
    uint32_t backendId;
    Zeb_ErrorHandle_t code;
    std::string message;
  };
  const std::vector<Refusal> refusals{
      {"unknown option", unknown, 0, 1004, "Unknown config option provided: 7"},
      {"custom with a backend identifier", custom, 3, 1000,
       "Custom device config parsing not supported for chosen backend ID"},
      {"platform information version", platformConfig(&badPlatform), 0, 1000,
       "Unsupported platformInfo version: 2"},
      {"hardware device version", platformConfig(&badDeviceTree), 0, 1000,
       "Unsupported deviceInfo version: 2"},
      {"core version", platformConfig(&badCoreTree), 0, 1000, "Unsupported coreInfo version: 2"},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.name);
    RecordingSession session;
    session.recorder.setBackendIdentifier(refusal.backendId);
    auto device = session.recorder.findDevice(session.recorder.createDevice());
    ASSERT_TRUE(device);
    const auto valid = platformConfig(nullptr);
    std::vector<const ZebDevice_Config_t*> configs{&valid, &refusal.config, nullptr};
    EXPECT_EQ(record::deviceCreate(session.recorder, *device, configs.data()), refusal.code);
    EXPECT_EQ(record::deviceSetConfig(session.recorder, *device, configs.data()), refusal.code);
    EXPECT_EQ(session.blocks(), "");
    EXPECT_EQ(session.messages(), Messages(2, {ZEB_LOG_LEVEL_ERROR, refusal.message}));
  }
}

TEST(DeviceRecording, NamesTakenByARefusedCallAreNotReused) {
  std::vector<ZebDevice_HardwareDeviceInfo_t> badDevices{hardwareDevice(0, 0, nullptr, 2)};
  const auto badTree = platformInfo(badDevices);
  const auto refused = platformConfig(&badTree);
  const auto valid = platformConfig(nullptr);
  std::vector<const ZebDevice_Config_t*> refusedConfigs{&refused, nullptr};
  std::vector<const ZebDevice_Config_t*> validConfigs{&valid, nullptr};
  runCases({{"refused tree, then an empty one",
             {create(&refusedConfigs), setConfig(&validConfigs)},
             {1000, 0},
             block({"ZebDevice_Config_t device_0_hardwareInfo_1_config = "
                    "{ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO, .hardwareInfo = NULL};",
                    "",
                    "const ZebDevice_Config_t* device_0_config_0[] = "
                    "{&device_0_hardwareInfo_1_config, NULL};",
                    "VALIDATE(error, interface.deviceSetConfig(device_0, device_0_config_0));"}),
             test::error("Unsupported deviceInfo version: 2")}});
}

TEST(DeviceRecording, FailedWritesGiveTheFamilyCodeAndKeepNames) {
  const std::vector<std::pair<const char*, Step>> calls{
      {"create", create(nullptr)},
      {"set config", setConfig(nullptr)},
      {"free", freeDevice()},
      {"info", getInfo(true)},
      {"platform info", getPlatformInfo(true)},
      {"infrastructure", getInfrastructure(true)},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    RecordingSession session;
    auto device = session.recorder.findDevice(session.recorder.createDevice());
    ASSERT_TRUE(device);
    {
      test::FailingWrites failing;
      EXPECT_EQ(call(session.recorder, *device), 14999u);
    }
    EXPECT_EQ(session.blocks(), "");
    session.expectFailedWriteLogged();
  }
  RecordingSession session;
  auto device = session.recorder.findDevice(session.recorder.createDevice());
  ASSERT_TRUE(device);
  {
    test::FailingWrites failing;
    EXPECT_EQ(getInfo(true)(session.recorder, *device), 14999u);
  }
  EXPECT_EQ(getInfo(true)(session.recorder, *device), 4950u);
  EXPECT_EQ(session.blocks(),
            block({"const ZebDevice_PlatformInfo_t* platformInfo_1;",
                   "VALIDATE(error, interface.deviceGetInfo(device_0, &platformInfo_1));"}));
}

}  // namespace
}  // namespace zeb
