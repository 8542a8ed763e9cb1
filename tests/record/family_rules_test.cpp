// What each family answers beyond the text the goldens pin: query codes, refused and
// dropped configurations, and its code for a model file that cannot be written.
#include <gtest/gtest.h>

#include <functional>

#include "api/entry_points.h"
#include "e2e/builders.h"
#include "support/session.h"

namespace zeb::test {
namespace {

using namespace entry;
using namespace e2e;

// A list of the one configuration, good until the next call.
template <class Config>
const Config** one(Config config) {
  static Config kept;
  static const Config* list[] = {&kept, nullptr};
  return kept = config, list;
}
Zeb_BackendHandle_t backend; Zeb_ContextHandle_t context; Zeb_DeviceHandle_t device; Zeb_ProfileHandle_t profile;

struct Families : testing::Test {
  void SetUp() override { ASSERT_EQ(r.start(), 0u); }
  Session s;
  Recorder& r = s.recorder;
};

// One row: the code and everything logged; whether the call appended text.
#define EXPECT_ANSWER(appends, code, logged, call)        \
  do {                                                    \
    const std::string before = s.model();                 \
    s.log.clear();                                        \
    EXPECT_EQ(call, Zeb_ErrorHandle_t{code}) << #call;    \
    EXPECT_EQ(s.log.messages(), Logged(logged)) << #call; \
    EXPECT_EQ(s.model() != before, appends) << #call;     \
  } while (0)

constexpr ZebLog_Level_t E = ZEB_LOG_LEVEL_ERROR;

TEST_F(Families, QueriesAreRecordedAndAnswered4950) {
  const auto device = as<Zeb_DeviceHandle_t>(r.createDevice());
  const auto profile = as<Zeb_ProfileHandle_t>(r.createProfile().handle);
  EXPECT_ANSWER(true, 4950, Logged(), backendGetSupportedOperations(r, nullptr, nullptr, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), deviceGetPlatformInfo(r, nullptr, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), deviceGetInfrastructure(r, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), deviceGetInfo(r, device, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), profileGetEvents(r, profile, nullptr, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), profileGetSubEvents(r, 7, nullptr, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), profileGetEventData(r, 7, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), profileGetExtendedEventData(r, 7, nullptr));
  EXPECT_ANSWER(true, 4950, Logged(), propertyHasCapability(r, 99));
}

// Without a backend id a custom configuration is dropped with a warning (the call written
// without it); with one, each family refuses it with its code and message.
TEST_F(Families, CustomConfigurations) {
  Zeb_GraphHandle_t graph = nullptr;
  ASSERT_EQ(graphCreate(r, as<Zeb_ContextHandle_t>(r.createContext().handle), "g", nullptr, &graph), 0u);
  const std::string scribe = "Scribe backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
                             "Scribe does not support custom configs.",
                    cpu = "CPU backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
                          "CPU does not support custom configs.";
  const struct {
    std::function<Zeb_ErrorHandle_t()> call;
    Zeb_ErrorHandle_t code;
    std::vector<std::string> refusals;  // with backend ids 2, 3 and 9, or one for all three
  } rows[] = {
      {[&] { return backendCreate(r, nullptr, one(custom(backendCustomNull())), &backend); }, 4004,
       {scribe, cpu, "Unknown backend ID provided: 9"}},
      {[&] { return graphSetConfig(r, graph, one(custom(graphCustomNull()))); }, 6000,
       {scribe, cpu, "Unknown or unsupported backend ID provided: 9"}},
      {[&] { return contextCreate(r, nullptr, nullptr, one(custom(contextCustomNull())), &context); }, 5000,
       {"Custom context config parsing not supported for chosen backend ID"}},
      {[&] { return deviceCreate(r, nullptr, one(custom(deviceCustomNull())), &device); }, 1000,
       {"Custom device config parsing not supported for chosen backend ID"}},
      {[&] { return profileSetConfig(r, as<Zeb_ProfileHandle_t>(r.createProfile().handle), one(custom(profileCustomNull()))); },
       1004, {scribe, "Custom profile config parsing not supported for backend ID 3",
              "Custom profile config parsing not supported for backend ID 9"}},
  };
  for (const auto& row : rows) {
    r.setBackendIdentifier(0);
    const std::string before = s.blocks();
    EXPECT_ANSWER(true, 0, Logged({{ZEB_LOG_LEVEL_WARN, "Custom config provided without specifying backend ID, provide a "
                                                       "backend ID via ZebScribe_Initialize() to record custom configs."}}),
                  row.call());
    EXPECT_EQ(s.blocks().substr(before.size()).find("ustom"), std::string::npos) << s.blocks();
    for (int i = 0; i < 3; ++i) {
      r.setBackendIdentifier(i == 0 ? 2 : i == 1 ? 3 : 9);
      EXPECT_ANSWER(false, row.code, Logged({{E, row.refusals[row.refusals.size() == 1 ? 0 : i]}}), row.call());
    }
  }
}

// backendFree(0) is written, yet has nothing to free.
TEST_F(Families, RefusedAndFailedCalls) {
  EXPECT_ANSWER(true, 4999, Logged({{E, "Could not free backend handle"}}), backendFree(r, nullptr));
  ZebBackend_Config_t unknown = backendPlatform("p");
  unknown.option = ZebBackend_ConfigOption_t(7);
  EXPECT_ANSWER(false, 4004, Logged({{E, "Unknown config option provided: 7"}}), backendCreate(r, nullptr, one(unknown), &backend));
  ZebDevice_CoreInfo_t core = deviceCore(0, 2);
  ZebDevice_HardwareDeviceInfo_t hardware = hardwareDevice(0, 1, 1, &core);
  hardware.version = ZebDevice_HardwareDeviceInfoVersion_t(2);
  const ZebDevice_PlatformInfo_t info = platformInfo(1, &hardware);
  EXPECT_ANSWER(false, 1000, Logged({{E, "Unsupported deviceInfo version: 2"}}),
                deviceCreate(r, nullptr, one(devicePlatformInfo(&info)), &device));
}

TEST(FamilyRule, ModelFileThatCannotBeWrittenGivesTheFamilysCode) {
  const std::pair<Zeb_ErrorHandle_t, Zeb_ErrorHandle_t (*)(Recorder&)> calls[] = {
      {4999, [](Recorder& r) { return backendCreate(r, nullptr, one(backendPlatform("p")), &backend); }},
      {5999, [](Recorder& r) { return contextCreate(r, nullptr, nullptr, one(contextPriority(0)), &context); }},
      {14999, [](Recorder& r) { return deviceCreate(r, nullptr, one(deviceCustomNull()), &device); }},
      {12999, [](Recorder& r) { return profileCreate(r, nullptr, ZEB_PROFILE_LEVEL_BASIC, &profile); }},
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

TEST_F(Families, BackendHandlesCountFromOne) {
  for (const uint64_t expected : {1u, 2u}) {
    ASSERT_EQ(backendCreate(r, nullptr, nullptr, &backend), 0u);
    EXPECT_EQ(handleValue(backend), expected);
  }
}

}  // namespace
}  // namespace zeb::test
