// What each family answers beyond the text the goldens pin: query codes, refused and
// dropped configurations, and its code for a model file that cannot be written.
#include <gtest/gtest.h>

#include "api/entry_points.h"
#include "e2e/builders.h"
#include "support/session.h"

namespace zeb::test {
namespace {

using namespace entry;
using namespace e2e;

// The calls under test, each given a list of one configuration.
template <class Config>
struct One {
  explicit One(Config only) : config(only) {}
  Config config;
  const Config* list[2] = {&config, nullptr};
};
Zeb_ErrorHandle_t createBackend(Recorder& r, ZebBackend_Config_t config) {
  Zeb_BackendHandle_t backend = nullptr;
  return backendCreate(r, nullptr, One(config).list, &backend);
}
Zeb_ErrorHandle_t createContext(Recorder& r, ZebContext_Config_t config) {
  Zeb_ContextHandle_t context = nullptr;
  return contextCreate(r, nullptr, nullptr, One(config).list, &context);
}
Zeb_ErrorHandle_t createDevice(Recorder& r, ZebDevice_Config_t config) {
  Zeb_DeviceHandle_t device = nullptr;
  return deviceCreate(r, nullptr, One(config).list, &device);
}
Zeb_ErrorHandle_t setProfileConfig(Recorder& r, ZebProfile_Config_t config) {
  return profileSetConfig(r, as<Zeb_ProfileHandle_t>(r.createProfile().handle), One(config).list);
}

struct Families : testing::Test {
  void SetUp() override { ASSERT_EQ(r.start(), 0u); }
  Session s;
  Recorder& r = s.recorder;
};

constexpr ZebLog_Level_t E = ZEB_LOG_LEVEL_ERROR;

// One row: the code and everything logged; whether the call appended text.
#define EXPECT_ANSWER(appends, code, logged, call)        \
  do {                                                    \
    const std::string before = s.model();                 \
    s.log.clear();                                        \
    EXPECT_EQ(call, Zeb_ErrorHandle_t{code}) << #call;    \
    EXPECT_EQ(s.log.messages(), Logged(logged)) << #call; \
    EXPECT_EQ(s.model() != before, appends) << #call;     \
  } while (0)
#define EXPECT_RECORDED(code, logged, call) EXPECT_ANSWER(true, code, logged, call)
#define EXPECT_NOTHING_RECORDED(code, logged, call) EXPECT_ANSWER(false, code, logged, call)

const Logged kNothing;
constexpr const char* kScribeRefuses = "Scribe backend ID was provided and a custom config was passed to "
                                       "ZebBackend_Initialize(). Scribe does not support custom configs.";

TEST_F(Families, QueriesAreRecordedAndAnswered4950) {
  const auto device = as<Zeb_DeviceHandle_t>(r.createDevice());
  const auto profile = as<Zeb_ProfileHandle_t>(r.createProfile().handle);
  EXPECT_RECORDED(4950, kNothing, backendGetSupportedOperations(r, nullptr, nullptr, nullptr));
  EXPECT_RECORDED(4950, kNothing, deviceGetPlatformInfo(r, nullptr, nullptr));
  EXPECT_RECORDED(4950, kNothing, deviceGetInfrastructure(r, nullptr));
  EXPECT_RECORDED(4950, kNothing, deviceGetInfo(r, device, nullptr));
  EXPECT_RECORDED(4950, kNothing, profileGetEvents(r, profile, nullptr, nullptr));
  EXPECT_RECORDED(4950, kNothing, profileGetSubEvents(r, 7, nullptr, nullptr));
  EXPECT_RECORDED(4950, kNothing, profileGetEventData(r, 7, nullptr));
  EXPECT_RECORDED(4950, kNothing, profileGetExtendedEventData(r, 7, nullptr));
  EXPECT_RECORDED(4950, kNothing, propertyHasCapability(r, 99));
}

// Without a backend id a custom configuration is dropped with a warning; with one, refused.
TEST_F(Families, CustomConfigurations) {
  const Logged dropped{{ZEB_LOG_LEVEL_WARN, "Custom config provided without specifying backend ID, provide a "
                                            "backend ID via ZebScribe_Initialize() to record custom configs."}};
  EXPECT_RECORDED(0, dropped, createBackend(r, custom(backendCustomNull())));
  EXPECT_NE(s.model().find("backend_0_config_0[] = {NULL};"), std::string::npos);
  EXPECT_RECORDED(0, dropped, createContext(r, custom(contextCustomNull())));
  EXPECT_RECORDED(0, dropped, createDevice(r, custom(deviceCustomNull())));
  EXPECT_RECORDED(0, dropped, setProfileConfig(r, custom(profileCustomNull())));

  r.setBackendIdentifier(2);
  EXPECT_NOTHING_RECORDED(4004, Logged({{E, kScribeRefuses}}), createBackend(r, custom(backendCustomNull())));
  EXPECT_NOTHING_RECORDED(5000, Logged({{E, "Custom context config parsing not supported for chosen backend ID"}}),
                          createContext(r, custom(contextCustomNull())));
  EXPECT_NOTHING_RECORDED(1000, Logged({{E, "Custom device config parsing not supported for chosen backend ID"}}),
                          createDevice(r, custom(deviceCustomNull())));
  EXPECT_NOTHING_RECORDED(1004, Logged({{E, kScribeRefuses}}), setProfileConfig(r, custom(profileCustomNull())));
  r.setBackendIdentifier(3);
  EXPECT_NOTHING_RECORDED(4004, Logged({{E, "CPU backend ID was provided and a custom config was passed to "
                                            "ZebBackend_Initialize(). CPU does not support custom configs."}}),
                          createBackend(r, custom(backendCustomNull())));
  EXPECT_NOTHING_RECORDED(1004, Logged({{E, "Custom profile config parsing not supported for backend ID 3"}}),
                          setProfileConfig(r, custom(profileCustomNull())));
  r.setBackendIdentifier(9);
  EXPECT_NOTHING_RECORDED(4004, Logged({{E, "Unknown backend ID provided: 9"}}),
                          createBackend(r, custom(backendCustomNull())));
}

// backendFree(0) is written, yet has nothing to free.
TEST_F(Families, RefusedAndFailedCalls) {
  EXPECT_RECORDED(4999, Logged({{E, "Could not free backend handle"}}), backendFree(r, nullptr));
  ZebBackend_Config_t unknown = backendPlatform("p");
  unknown.option = ZebBackend_ConfigOption_t(7);
  EXPECT_NOTHING_RECORDED(4004, Logged({{E, "Unknown config option provided: 7"}}), createBackend(r, unknown));
  ZebDevice_CoreInfo_t core = deviceCore(0, 2);
  ZebDevice_HardwareDeviceInfo_t hardware = hardwareDevice(0, 1, 1, &core);
  hardware.version = ZebDevice_HardwareDeviceInfoVersion_t(2);
  const ZebDevice_PlatformInfo_t info = platformInfo(1, &hardware);
  EXPECT_NOTHING_RECORDED(1000, Logged({{E, "Unsupported deviceInfo version: 2"}}),
                          createDevice(r, devicePlatformInfo(&info)));
}

TEST(FamilyRule, ModelFileThatCannotBeWrittenGivesTheFamilysCode) {
  const std::pair<Zeb_ErrorHandle_t, std::function<Zeb_ErrorHandle_t(Recorder&)>> calls[] = {
      {4999, [](Recorder& r) { return createBackend(r, backendPlatform("p")); }},
      {5999, [](Recorder& r) { return createContext(r, contextPriority(0)); }},
      {14999, [](Recorder& r) { return createDevice(r, deviceCustomNull()); }},
      {12999, [](Recorder& r) {
         Zeb_ProfileHandle_t profile = nullptr;
         return profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, &profile);
       }},
      {4999, [](Recorder& r) { return propertyHasCapability(r, 1); }},
  };
  for (const auto& [code, call] : calls) {
    Session session;
    ASSERT_EQ(session.recorder.start(), 0u);
    StreamOpsRestorer restorer;
    pal::streamOps().write = [](const void*, std::size_t, std::size_t, std::FILE*) { return std::size_t{0}; };
    EXPECT_EQ(call(session.recorder), code);
  }
}

// Backend handles count from 1 and reach the client only when the call was recorded.
TEST_F(Families, CreatingCallsHandOutTheirHandlesOnlyOnSuccess) {
  Zeb_BackendHandle_t first = nullptr, second = nullptr;
  ASSERT_EQ(backendCreate(r, nullptr, nullptr, &first), 0u);
  ASSERT_EQ(backendCreate(r, nullptr, nullptr, &second), 0u);
  EXPECT_EQ(handleValue(first), 1u);
  EXPECT_EQ(handleValue(second), 2u);
  Zeb_ContextHandle_t context = as<Zeb_ContextHandle_t>(kUnknownHandle);
  EXPECT_EQ(contextCreate(r, as<Zeb_BackendHandle_t>(9), nullptr, nullptr, &context), 4011u);
  EXPECT_EQ(context, nullptr);  // cleared first, and left so by the failure
}

}  // namespace
}  // namespace zeb::test
