// What each recorded family answers beyond the text it writes (the text is
// pinned by the golden recordings): query codes, refused and dropped
// configurations, the family's code for a model file that cannot be written.
#include <gtest/gtest.h>

#include <functional>

#include "api/entry_points.h"
#include "e2e/config_builders.h"
#include "record/graph_names.h"
#include "support/session.h"
#include "support/stream_ops_override.h"

namespace zeb::test {
namespace {

using namespace entry;
using e2e::backendPlatform;
using Logged = std::vector<std::pair<ZebLog_Level_t, std::string>>;

int opaque;  // what a custom configuration points to

template <class Config>
Config custom(Config config) {
  config.customConfig = reinterpret_cast<decltype(config.customConfig)>(&opaque);
  return config;
}
template <class Config>
Config unknownOption(Config config, int option) {
  config.option = static_cast<decltype(config.option)>(option);
  return config;
}

template <class Config>
Zeb_ErrorHandle_t createBackendWith(Recorder& r, Config config) {
  const Config* configs[] = {&config, nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  return backendCreate(r, nullptr, configs, &backend);
}
Zeb_ErrorHandle_t createContextWith(Recorder& r, ZebContext_Config_t config) {
  const ZebContext_Config_t* configs[] = {&config, nullptr};
  Zeb_ContextHandle_t context = nullptr;
  return contextCreate(r, nullptr, nullptr, configs, &context);
}
Zeb_ErrorHandle_t createDeviceWith(Recorder& r, ZebDevice_Config_t config) {
  const ZebDevice_Config_t* configs[] = {&config, nullptr};
  Zeb_DeviceHandle_t device = nullptr;
  return deviceCreate(r, nullptr, configs, &device);
}
Zeb_ErrorHandle_t setProfileConfig(Recorder& r, ZebProfile_Config_t config) {
  const ZebProfile_Config_t* configs[] = {&config, nullptr};
  return profileSetConfig(r, as<Zeb_ProfileHandle_t>(r.createProfile()), configs);
}
Zeb_ErrorHandle_t createDeviceWithHardware(Recorder& r, int32_t version, bool coreExtension) {
  ZebDevice_CoreInfo_t core = e2e::deviceCore(0, 2);
  if (coreExtension) core.v1.coreInfoExtension = reinterpret_cast<decltype(core.v1.coreInfoExtension)>(&opaque);
  ZebDevice_HardwareDeviceInfo_t hardware = e2e::hardwareDevice(0, 1, 1, &core);
  hardware.version = static_cast<ZebDevice_HardwareDeviceInfoVersion_t>(version);
  const ZebDevice_PlatformInfo_t info = e2e::platformInfo(1, &hardware);
  return createDeviceWith(r, e2e::devicePlatformInfo(&info));
}

struct Row {
  const char* name;
  uint32_t backendId;
  std::function<Zeb_ErrorHandle_t(Recorder&)> call;
  Zeb_ErrorHandle_t code;
  Logged logged;
  const char* written;  // a line the call appends; "" when it appends nothing
};
std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

constexpr ZebLog_Level_t E = ZEB_LOG_LEVEL_ERROR;
constexpr ZebLog_Level_t W = ZEB_LOG_LEVEL_WARN;
constexpr const char* kDropped =
    "Custom config provided without specifying backend ID, provide a backend ID via "
    "ZebScribe_Initialize() to record custom configs.";
constexpr const char* kScribeRefuses =
    "Scribe backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
    "Scribe does not support custom configs.";

const Row kRows[] = {
    {"backendFree_HandleZero", 0, [](Recorder& r) { return backendFree(r, nullptr); }, 4999,
     {{E, "Could not free backend handle"}}, "VALIDATE(error, interface.backendFree(NULL));"},
    {"backendSetConfig_HandleZero", 0, [](Recorder& r) { return backendSetConfig(r, nullptr, nullptr); },
     0, {}, "VALIDATE(error, interface.backendSetConfig(NULL, NULL_config_0));"},
    {"backendGetSupportedOperations", 0,
     [](Recorder& r) { return backendGetSupportedOperations(r, nullptr, nullptr, nullptr); }, 4950,
     {}, "VALIDATE(error, interface.backendGetSupportedOperations(NULL, NULL, NULL));"},
    {"deviceGetPlatformInfo", 0, [](Recorder& r) { return deviceGetPlatformInfo(r, nullptr, nullptr); },
     4950, {}, "VALIDATE(error, interface.deviceGetPlatformInfo(loghandle, NULL));"},
    {"deviceGetInfrastructure", 0, [](Recorder& r) { return deviceGetInfrastructure(r, nullptr); },
     4950, {}, "VALIDATE(error, interface.deviceGetInfrastructure(NULL));"},
    {"deviceGetInfo", 0,
     [](Recorder& r) { return deviceGetInfo(r, as<Zeb_DeviceHandle_t>(r.createDevice()), nullptr); },
     4950, {}, "VALIDATE(error, interface.deviceGetInfo(device_0, NULL));"},
    {"profileGetEvents", 0,
     [](Recorder& r) {
       return profileGetEvents(r, as<Zeb_ProfileHandle_t>(r.createProfile()), nullptr, nullptr);
     },
     4950, {}, "VALIDATE(error, interface.profileGetEvents(profile_0, NULL, NULL));"},
    {"profileGetSubEvents", 0, [](Recorder& r) { return profileGetSubEvents(r, 7, nullptr, nullptr); },
     4950, {}, "VALIDATE(error, interface.profileGetSubEvents((ZebProfile_EventId_t)7, NULL, NULL));"},
    {"profileGetEventData", 0, [](Recorder& r) { return profileGetEventData(r, 7, nullptr); }, 4950,
     {}, "VALIDATE(error, interface.profileGetEventData((ZebProfile_EventId_t)7, NULL));"},
    {"profileGetExtendedEventData", 0,
     [](Recorder& r) { return profileGetExtendedEventData(r, 7, nullptr); }, 4950, {},
     "VALIDATE(error, interface.profileGetExtendedEventData((ZebProfile_EventId_t)7, NULL));"},
    {"propertyHasCapability", 0, [](Recorder& r) { return propertyHasCapability(r, 99); }, 4950, {},
     "VALIDATE(error, interface.propertyHasCapability((ZebProperty_Key_t)99));"},
    {"backendCustom_NoBackendId", 0, [](Recorder& r) { return createBackendWith(r, custom(e2e::backendCustomNull())); },
     0, {{W, kDropped}}, "const ZebBackend_Config_t* backend_0_config_0[] = {NULL};"},
    {"backendCustom_Scribe", 2, [](Recorder& r) { return createBackendWith(r, custom(e2e::backendCustomNull())); },
     4004, {{E, kScribeRefuses}}, ""},
    {"backendCustom_Cpu", 3, [](Recorder& r) { return createBackendWith(r, custom(e2e::backendCustomNull())); }, 4004,
     {{E, "CPU backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
          "CPU does not support custom configs."}},
     ""},
    {"backendCustom_OtherId", 9, [](Recorder& r) { return createBackendWith(r, custom(e2e::backendCustomNull())); },
     4004, {{E, "Unknown backend ID provided: 9"}}, ""},
    {"backendUnknownOption", 0,
     [](Recorder& r) { return createBackendWith(r, unknownOption(backendPlatform("p"), 7)); }, 4004,
     {{E, "Unknown config option provided: 7"}}, ""},
    {"contextCustom_BackendId", 2, [](Recorder& r) { return createContextWith(r, custom(e2e::contextCustomNull())); },
     5000, {{E, "Custom context config parsing not supported for chosen backend ID"}}, ""},
    {"contextAsyncDepthType", 0,
     [](Recorder& r) {
       ZebContext_Config_t config = e2e::contextAsyncDepth(4);
       config.asyncExeQueueDepth.type = static_cast<ZebContext_AsyncExecutionQueueDepthType_t>(1);
       return createContextWith(r, config);
     },
     5000, {{E, "Unknown or unsupported async execution queue depth type: 1"}}, ""},
    {"contextUnknownOption", 0,
     [](Recorder& r) { return createContextWith(r, unknownOption(e2e::contextPriority(0), 9)); }, 5000,
     {{E, "Unknown config option provided: 9"}}, ""},
    {"deviceCustom_BackendId", 2, [](Recorder& r) { return createDeviceWith(r, custom(e2e::deviceCustomNull())); },
     1000, {{E, "Custom device config parsing not supported for chosen backend ID"}}, ""},
    {"deviceUnknownOption", 0,
     [](Recorder& r) { return createDeviceWith(r, unknownOption(e2e::deviceCustomNull(), 5)); }, 1004,
     {{E, "Unknown config option provided: 5"}}, ""},
    {"deviceHardwareVersionTwo", 0,
     [](Recorder& r) { return createDeviceWithHardware(r, 2, false); }, 1000,
     {{E, "Unsupported deviceInfo version: 2"}}, ""},
    {"deviceCoreExtension", 0, [](Recorder& r) { return createDeviceWithHardware(r, 1, true); },
     0, {{W, "Parsing of backend-specific coreInfo extensions not supported"}},
     "ZebDevice_CoreInfoV1_t device_0_hardwareInfo_0_hwDevice_0_core_0_v1 = {0, 2, NULL};"},
    {"profileCustom_NoBackendId", 0, [](Recorder& r) { return setProfileConfig(r, custom(e2e::profileCustomNull())); },
     0, {{W, kDropped}}, "VALIDATE(error, interface.profileSetConfig(profile_0, NULL));"},
    {"profileCustom_Scribe", 2, [](Recorder& r) { return setProfileConfig(r, custom(e2e::profileCustomNull())); }, 1004,
     {{E, kScribeRefuses}}, ""},
    {"profileCustom_OtherId", 3, [](Recorder& r) { return setProfileConfig(r, custom(e2e::profileCustomNull())); },
     1004, {{E, "Custom profile config parsing not supported for backend ID 3"}}, ""},
    {"profileUnknownOption", 0,
     [](Recorder& r) { return setProfileConfig(r, unknownOption(e2e::profileMaxEvents(1), 7)); }, 1004,
     {{E, "Unknown config option provided: 7"}}, ""},
    {"graphCreate_IdentifierTaken", 0,
     [](Recorder& r) {
       const auto context = as<Zeb_ContextHandle_t>(r.createContext());
       Zeb_GraphHandle_t graph = nullptr;
       graphCreate(r, context, "a/b.c", nullptr, &graph);
       return graphCreate(r, context, "a_b_c", nullptr, &graph);
     },
     6003, {{E, "Graph with name a_b_c already exists within the context"}}, ""},
};

class FamilyRule : public testing::TestWithParam<Row> {};

TEST_P(FamilyRule, AnswersLogsAndWritesAsTheFamilyDoes) {
  const Row& row = GetParam();
  Session session;
  session.recorder.setBackendIdentifier(row.backendId);
  ASSERT_EQ(session.recorder.start(), 0u);
  const std::string before = session.model();
  session.log.clear();

  EXPECT_EQ(row.call(session.recorder), row.code);
  Logged logged;
  for (const auto& message : session.log.messages()) logged.emplace_back(message.level, message.text);
  EXPECT_EQ(logged, row.logged);
  const std::string added = session.model().substr(before.size());
  if (*row.written) {
    EXPECT_NE(added.find(std::string("   ") + row.written + "\n"), std::string::npos) << added;
  } else {
    EXPECT_EQ(added, "");
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, FamilyRule, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

TEST(FamilyRule, ModelFileThatCannotBeWrittenGivesTheFamilysCode) {
  const std::pair<Zeb_ErrorHandle_t, std::function<Zeb_ErrorHandle_t(Recorder&)>> calls[] = {
      {4999, [](Recorder& r) { return createBackendWith(r, backendPlatform("p")); }},
      {5999, [](Recorder& r) { return createContextWith(r, e2e::contextPriority(0)); }},
      {14999, [](Recorder& r) { return createDeviceWith(r, e2e::deviceCustomNull()); }},
      {12999, [](Recorder& r) { return setProfileConfig(r, e2e::profileMaxEvents(1)); }},
      {4999, [](Recorder& r) { return propertyHasCapability(r, 1); }},
  };
  for (const auto& [code, call] : calls) {
    Session session;
    ASSERT_EQ(session.recorder.start(), 0u);
    StreamOpsOverride failing;
    failing.ops().write = StreamOpsOverride::writeNothing;
    EXPECT_EQ(call(session.recorder), code);
  }
}

// Backend handles count from 1; the others are never 0 and never shared.
TEST(FamilyRule, CreatingCallsHandOutTheirHandlesOnlyOnSuccess) {
  Session session;
  Zeb_BackendHandle_t first = nullptr, second = nullptr;
  ASSERT_EQ(backendCreate(session.recorder, nullptr, nullptr, &first), 0u);
  ASSERT_EQ(backendCreate(session.recorder, nullptr, nullptr, &second), 0u);
  EXPECT_EQ(handleValue(first), 1u);
  EXPECT_EQ(handleValue(second), 2u);

  Zeb_ContextHandle_t context = as<Zeb_ContextHandle_t>(kUnknownHandle);
  EXPECT_EQ(contextCreate(session.recorder, as<Zeb_BackendHandle_t>(9), nullptr, nullptr, &context),
            4011u);
  EXPECT_EQ(context, nullptr);  // cleared first, and left so by the failure
  Zeb_DeviceHandle_t devices[2] = {};
  ASSERT_EQ(deviceCreate(session.recorder, nullptr, nullptr, &devices[0]), 0u);
  ASSERT_EQ(deviceCreate(session.recorder, nullptr, nullptr, &devices[1]), 0u);
  EXPECT_NE(devices[0], nullptr);
  EXPECT_NE(devices[0], devices[1]);
}

TEST(GraphIdentifier, KeepsReplacesOrDropsEachCharacter) {
  EXPECT_EQ(record::makeIdentifier("conv 1"), "conv_1");
  EXPECT_EQ(record::makeIdentifier("a/b.c"), "a_b_c");
  EXPECT_EQ(record::makeIdentifier("1st"), "_1st");
  EXPECT_EQ(record::makeIdentifier("x(y)"), "xy");
  EXPECT_EQ(record::makeIdentifier(""), "");
}

}  // namespace
}  // namespace zeb::test
