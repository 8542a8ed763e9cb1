#include "record/profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "record/recording_session.h"

namespace zeb {
namespace {

using test::block;
using test::Messages;
using test::RecordingSession;

using Step = std::function<Zeb_ErrorHandle_t(Recorder&, ScribeProfile&)>;
using Configs = std::vector<const ZebProfile_Config_t*>;

int opaqueTarget = 0;  // any address stands for a client's custom configuration

const std::string kDroppedCustom =
    "Custom config provided without specifying backend ID, provide a backend ID via "
    "ZebScribe_Initialize() to record custom configs.";
const std::string kEventDataComment =
    "// The event data will not be used in any way, any usage must be inserted manually if "
    "desired.";

ZebProfile_Config_t maxEvents(uint64_t count) {
  ZebProfile_Config_t config{};
  config.option = ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS;
  config.numMaxEvents = count;
  return config;
}

ZebProfile_Config_t custom(bool withContent) {
  ZebProfile_Config_t config{};
  config.option = ZEB_PROFILE_CONFIG_OPTION_CUSTOM;
  config.customConfig =
      withContent ? reinterpret_cast<ZebProfile_CustomConfig_t>(&opaqueTarget) : nullptr;
  return config;
}

Step create(uint64_t backend, ZebProfile_Level_t level) {
  return [=](Recorder& recorder, ScribeProfile& profile) {
    return record::profileCreate(recorder, profile, backend, level);
  };
}

Step setConfig(Configs* configs) {
  return [configs](Recorder& recorder, ScribeProfile& profile) {
    return record::profileSetConfig(recorder, profile, configs ? configs->data() : nullptr);
  };
}

Step getEvents(bool ids, bool count) {
  return [=](Recorder& recorder, ScribeProfile& profile) {
    const ZebProfile_EventId_t* events = nullptr;
    uint32_t number = 0;
    return record::profileGetEvents(recorder, profile, ids ? &events : nullptr,
                                    count ? &number : nullptr);
  };
}

Step getSubEvents(ZebProfile_EventId_t event, bool ids, bool count) {
  return [=](Recorder& recorder, ScribeProfile&) {
    const ZebProfile_EventId_t* events = nullptr;
    uint32_t number = 0;
    return record::profileGetSubEvents(recorder, event, ids ? &events : nullptr,
                                       count ? &number : nullptr);
  };
}

Step getEventData(ZebProfile_EventId_t event, bool withOutput) {
  return [=](Recorder& recorder, ScribeProfile&) {
    ZebProfile_EventData_t data{};
    return record::profileGetEventData(recorder, event, withOutput ? &data : nullptr);
  };
}

Step getExtendedEventData(ZebProfile_EventId_t event, bool withOutput) {
  return [=](Recorder& recorder, ScribeProfile&) {
    ZebProfile_ExtendedEventData_t data{};
    return record::profileGetExtendedEventData(recorder, event, withOutput ? &data : nullptr);
  };
}

struct ProfileCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<Zeb_ErrorHandle_t> codes;
  std::string blocks;
  Messages messages;
  uint32_t backendId = 0;
};

// Runs each case on profile_0 of a fresh recorder that knows backend_0 under handle 1.
void runCases(const std::vector<ProfileCase>& cases) {
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    RecordingSession session;
    session.recorder.setBackendIdentifier(testCase.backendId);
    ASSERT_EQ(session.recorder.addBackend("backend_0"), 1u);
    auto profile = session.recorder.findProfile(session.recorder.createProfile());
    ASSERT_TRUE(profile);
    ASSERT_EQ(profile->name, "profile_0");
    std::vector<Zeb_ErrorHandle_t> codes;
    for (const auto& step : testCase.steps) codes.push_back(step(session.recorder, *profile));
    EXPECT_EQ(codes, testCase.codes);
    EXPECT_EQ(session.blocks(), testCase.blocks);
    EXPECT_EQ(session.messages(), testCase.messages);
  }
}

TEST(ProfileRecording, Create) {
  runCases({
      {"backend handle 0",
       {create(0, ZEB_PROFILE_LEVEL_BASIC)},
       {0},
       block({"Zeb_ProfileHandle_t profile_0;",
              "VALIDATE(error, interface.profileCreate(NULL, (ZebProfile_Level_t)1, &profile_0));"}),
       {}},
      {"known backend",
       {create(1, ZEB_PROFILE_LEVEL_DETAILED)},
       {0},
       block({"Zeb_ProfileHandle_t profile_0;",
              "VALIDATE(error, interface.profileCreate(backend_0, (ZebProfile_Level_t)2, "
              "&profile_0));"}),
       {}},
      {"unknown backend",
       {create(5, ZEB_PROFILE_LEVEL_BASIC)},
       {4011},
       "",
       test::error("No backend associated with the provided handle")},
  });
}

TEST(ProfileRecording, SetConfig) {
  const auto hundredEvents = maxEvents(100);
  Configs hundred{&hundredEvents, nullptr};
  const auto largest = maxEvents(UINT64_MAX);
  const auto emptyCustom = custom(false);
  const auto fullCustom = custom(true);
  Configs mixed{&largest, &fullCustom, &emptyCustom, nullptr};
  Configs onlyDropped{&fullCustom, nullptr};
  runCases({
      {"NULL array",
       {setConfig(nullptr)},
       {0},
       block({"VALIDATE(error, interface.profileSetConfig(profile_0, NULL));"}),
       {}},
      {"one max-events record",
       {setConfig(&hundred)},
       {0},
       block({"ZebProfile_Config_t profile_0_maxEvents_0 = "
              "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=100ULL};",
              "",
              "const ZebProfile_Config_t* profile_0_config_0[] = {&profile_0_maxEvents_0, NULL};",
              "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_0));"}),
       {}},
      {"a dropped custom record between written ones",
       {setConfig(&mixed), setConfig(&hundred)},
       {0, 0},
       block({"ZebProfile_Config_t profile_0_maxEvents_0 = "
              "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=18446744073709551615ULL};",
              "", "",
              "ZebProfile_Config_t profile_0_customConfig_0 = "
              "{ZEB_PROFILE_CONFIG_OPTION_CUSTOM, .customConfig=NULL};",
              "",
              "const ZebProfile_Config_t* profile_0_config_0[] = "
              "{&profile_0_maxEvents_0, &profile_0_customConfig_0, NULL};",
              "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_0));"}) +
           block({"ZebProfile_Config_t profile_0_maxEvents_1 = "
                  "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=100ULL};",
                  "",
                  "const ZebProfile_Config_t* profile_0_config_1[] = "
                  "{&profile_0_maxEvents_1, NULL};",
                  "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_1));"}),
       test::warning(kDroppedCustom)},
      {"nothing collected passes NULL and takes no array name",
       {setConfig(&onlyDropped), setConfig(&hundred)},
       {0, 0},
       block({"", "VALIDATE(error, interface.profileSetConfig(profile_0, NULL));"}) +
           block({"ZebProfile_Config_t profile_0_maxEvents_0 = "
                  "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=100ULL};",
                  "",
                  "const ZebProfile_Config_t* profile_0_config_0[] = "
                  "{&profile_0_maxEvents_0, NULL};",
                  "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_0));"}),
       test::warning(kDroppedCustom)},
  });
}

TEST(ProfileRecording, RefusedConfigurationsWriteNothingAndKeepTheirNames) {
  const auto written = maxEvents(7);
  const auto fullCustom = custom(true);
  auto unknown = maxEvents(0);
  unknown.option = static_cast<ZebProfile_ConfigOption_t>(9);
  Configs refusedCustom{&written, &fullCustom, nullptr};
  Configs refusedOption{&written, &unknown, nullptr};
  Configs valid{&written, nullptr};
  const std::string validBlock = block(
      {"ZebProfile_Config_t profile_0_maxEvents_1 = "
       "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=7ULL};",
       "",
       "const ZebProfile_Config_t* profile_0_config_0[] = {&profile_0_maxEvents_1, NULL};",
       "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_0));"});
  runCases({
      {"custom record for this library's own backend identifier",
       {setConfig(&refusedCustom), setConfig(&valid)},
       {1004, 0},
       validBlock,
       test::error("Scribe backend ID was provided and a custom config was passed to "
                   "ZebBackend_Initialize(). Scribe does not support custom configs."),
       2},
      {"custom record for another backend identifier",
       {setConfig(&refusedCustom), setConfig(&valid)},
       {1004, 0},
       validBlock,
       test::error("Custom profile config parsing not supported for backend ID 7"),
       7},
      {"unknown option",
       {setConfig(&refusedOption), setConfig(&valid)},
       {1004, 0},
       validBlock,
       test::error("Unknown config option provided: 9")},
  });
}

TEST(ProfileRecording, EventQueriesAnswerRecorded) {
  runCases({
      {"events with both outputs, twice",
       {getEvents(true, true), getEvents(true, true)},
       {4950, 4950},
       block({"const ZebProfile_EventId_t* profileEventIds_0;", "uint32_t numEvents_0;",
              "VALIDATE(error, interface.profileGetEvents(profile_0, &profileEventIds_0, "
              "&numEvents_0));"}) +
           block({"const ZebProfile_EventId_t* profileEventIds_1;", "uint32_t numEvents_1;",
                  "VALIDATE(error, interface.profileGetEvents(profile_0, &profileEventIds_1, "
                  "&numEvents_1));"}),
       {}},
      {"events without outputs, then with one",
       {getEvents(false, false), getEvents(false, true)},
       {4950, 4950},
       block({"VALIDATE(error, interface.profileGetEvents(profile_0, NULL, NULL));"}) +
           block({"uint32_t numEvents_0;",
                  "VALIDATE(error, interface.profileGetEvents(profile_0, NULL, &numEvents_0));"}),
       {}},
      {"sub-events",
       {getSubEvents(42, true, true), getSubEvents(UINT64_MAX, true, false)},
       {4950, 4950},
       block({"const ZebProfile_EventId_t* subEventIds_0;", "uint32_t numSubEvents_0;",
              "VALIDATE(error, interface.profileGetSubEvents((ZebProfile_EventId_t)42, "
              "&subEventIds_0, &numSubEvents_0));"}) +
           block({"const ZebProfile_EventId_t* subEventIds_1;",
                  "VALIDATE(error, interface.profileGetSubEvents("
                  "(ZebProfile_EventId_t)18446744073709551615, &subEventIds_1, NULL));"}),
       {}},
      {"event data",
       {getEventData(3, true), getEventData(4, false)},
       {4950, 4950},
       block({kEventDataComment, "ZebProfile_EventData_t eventData_0;",
              "VALIDATE(error, interface.profileGetEventData((ZebProfile_EventId_t)3, "
              "&eventData_0));"}) +
           block({"VALIDATE(error, interface.profileGetEventData((ZebProfile_EventId_t)4, "
                  "NULL));"}),
       {}},
      {"extended event data",
       {getExtendedEventData(5, true), getExtendedEventData(6, false)},
       {4950, 4950},
       block({kEventDataComment, "ZebProfile_ExtendedEventData_t extendedEventData_0;",
              "VALIDATE(error, interface.profileGetExtendedEventData((ZebProfile_EventId_t)5, "
              "&extendedEventData_0));"}) +
           block({"VALIDATE(error, interface.profileGetExtendedEventData("
                  "(ZebProfile_EventId_t)6, NULL));"}),
       {}},
  });
}

TEST(ProfileRecording, EventQueriesLeaveTheClientsOutputsAlone) {
  RecordingSession session;
  auto profile = session.recorder.findProfile(session.recorder.createProfile());
  ASSERT_TRUE(profile);
  const ZebProfile_EventId_t sentinel = 99;
  const ZebProfile_EventId_t* events = &sentinel;
  uint32_t count = 77;
  ZebProfile_EventData_t data{};
  data.value = 55;
  ZebProfile_ExtendedEventData_t extended{};
  extended.v1.timestamp = 66;
  EXPECT_EQ(record::profileGetEvents(session.recorder, *profile, &events, &count), 4950u);
  EXPECT_EQ(record::profileGetSubEvents(session.recorder, 1, &events, &count), 4950u);
  EXPECT_EQ(record::profileGetEventData(session.recorder, 1, &data), 4950u);
  EXPECT_EQ(record::profileGetExtendedEventData(session.recorder, 1, &extended), 4950u);
  EXPECT_EQ(events, &sentinel);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(data.value, 55u);
  EXPECT_EQ(extended.v1.timestamp, 66u);
}

TEST(ProfileRecording, FreeRecordsAndReleases) {
  RecordingSession session;
  const uint64_t handle = session.recorder.createProfile();
  ASSERT_TRUE(session.recorder.findProfile(handle));
  EXPECT_EQ(record::profileFree(session.recorder, handle), 0u);
  EXPECT_FALSE(session.recorder.findProfile(handle));
  EXPECT_EQ(record::profileFree(session.recorder, handle), 12000u);
  EXPECT_EQ(session.blocks(), block({"VALIDATE(error, interface.profileFree(profile_0));"}));
  EXPECT_EQ(session.messages(), test::error("No profile associated with the provided handle."));
}

TEST(ProfileRecording, AFreeThatCannotBeWrittenStillReleasesTheProfile) {
  RecordingSession session;
  const uint64_t handle = session.recorder.createProfile();
  {
    test::FailingWrites failing;
    EXPECT_EQ(record::profileFree(session.recorder, handle), 12999u);
  }
  EXPECT_FALSE(session.recorder.findProfile(handle));
}

TEST(ProfileRecording, FailedWritesGiveTheFamilyCodeAndKeepNames) {
  const auto hundredEvents = maxEvents(100);
  Configs hundred{&hundredEvents, nullptr};
  const std::vector<std::pair<const char*, Step>> calls{
      {"create", create(0, ZEB_PROFILE_LEVEL_BASIC)},
      {"set config", setConfig(&hundred)},
      {"events", getEvents(true, true)},
      {"sub-events", getSubEvents(1, true, true)},
      {"event data", getEventData(1, true)},
      {"extended event data", getExtendedEventData(1, true)},
      {"free",
       [](Recorder& recorder, ScribeProfile&) {
         return record::profileFree(recorder, recorder.createProfile());
       }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    RecordingSession session;
    auto profile = session.recorder.findProfile(session.recorder.createProfile());
    ASSERT_TRUE(profile);
    {
      test::FailingWrites failing;
      EXPECT_EQ(call(session.recorder, *profile), 12999u);
    }
    EXPECT_EQ(session.blocks(), "");
    session.expectFailedWriteLogged();
  }
  RecordingSession session;
  auto profile = session.recorder.findProfile(session.recorder.createProfile());
  ASSERT_TRUE(profile);
  {
    test::FailingWrites failing;
    EXPECT_EQ(setConfig(&hundred)(session.recorder, *profile), 12999u);
  }
  EXPECT_EQ(setConfig(&hundred)(session.recorder, *profile), 0u);
  EXPECT_EQ(session.blocks(),
            block({"ZebProfile_Config_t profile_0_maxEvents_1 = "
                   "{ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, .numMaxEvents=100ULL};",
                   "",
                   "const ZebProfile_Config_t* profile_0_config_1[] = "
                   "{&profile_0_maxEvents_1, NULL};",
                   "VALIDATE(error, interface.profileSetConfig(profile_0, profile_0_config_1));"}));
}

}  // namespace
}  // namespace zeb
