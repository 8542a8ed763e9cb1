#include "record/backend.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ZebScribe.h"
#include "record/backend_context_support.h"
#include "record/recording_session.h"

namespace zeb::test {
namespace {

ZebBackend_Config_t platform(const char* text) {
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_PLATFORM;
  config.platformOption = text;
  return config;
}

ZebBackend_Config_t errorReporting(int32_t level, uint32_t limit) {
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING;
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), limit};
  return config;
}

ZebBackend_Config_t custom(bool withContent) {
  static int content;
  ZebBackend_Config_t config{};
  config.option = ZEB_BACKEND_CONFIG_OPTION_CUSTOM;
  config.customConfig =
      withContent ? reinterpret_cast<ZebBackend_CustomConfig_t>(&content) : nullptr;
  return config;
}

ZebBackend_Config_t option(int32_t value) {
  ZebBackend_Config_t config{};
  config.option = static_cast<ZebBackend_ConfigOption_t>(value);
  return config;
}

using BackendConfigs = ConfigArray<ZebBackend_Config_t>;

std::string createBlock(const std::vector<std::string>& configLines, const std::string& array,
                        const std::string& elements, const std::string& backend) {
  std::vector<std::string> lines;
  for (const auto& line : configLines) lines.insert(lines.end(), {"", line});
  lines.push_back("");
  lines.push_back("const ZebBackend_Config_t* " + array + "[] = {" + elements + "};");
  lines.push_back("Zeb_BackendHandle_t " + backend + ";");
  lines.push_back("VALIDATE(error, interface.backendCreate(loghandle, " + array + ", &" + backend +
                  "));");
  return block(lines);
}

struct CreateCase {
  const char* title;
  std::vector<ZebBackend_Config_t> configs;
  uint32_t backendId;
  Zeb_ErrorHandle_t code;
  std::string written;
  Messages logged;
};

void PrintTo(const CreateCase& c, std::ostream* out) { *out << c.title; }

const CreateCase kCreateCases[] = {
    {"without configurations", {}, 0, 0,
     createBlock({}, "backend_0_config_0", "NULL", "backend_0"), {}},
    {"platform option", {platform("opt")}, 0, 0,
     block({"", "ZebBackend_Config_t backendConfig_platformOption_0 = "
                "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"opt\"};",
            "", "const ZebBackend_Config_t* backend_0_config_0[] = "
                "{&backendConfig_platformOption_0, NULL};",
            "Zeb_BackendHandle_t backend_0;",
            "VALIDATE(error, interface.backendCreate(loghandle, backend_0_config_0, "
            "&backend_0));"}),
     {}},
    {"NULL platform option", {platform(nullptr)}, 0, 0,
     createBlock({"ZebBackend_Config_t backendConfig_platformOption_0 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=NULL};"},
                 "backend_0_config_0", "&backendConfig_platformOption_0, NULL", "backend_0"),
     {}},
    {"error reporting", {errorReporting(1, 0)}, 0, 0,
     createBlock({"ZebBackend_Config_t backendConfig_errorConfig_0 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, "
                  ".errorConfig={(Zeb_ErrorReportingLevel_t)1, 0}};"},
                 "backend_0_config_0", "&backendConfig_errorConfig_0, NULL", "backend_0"),
     {}},
    {"two options, one counter per option",
     {platform("a\\b\"c"), errorReporting(-1, 4294967295u), platform("d")}, 0, 0,
     createBlock({"ZebBackend_Config_t backendConfig_platformOption_0 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"a\\b\"c\"};",
                  "ZebBackend_Config_t backendConfig_errorConfig_0 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, "
                  ".errorConfig={(Zeb_ErrorReportingLevel_t)-1, 4294967295}};",
                  "ZebBackend_Config_t backendConfig_platformOption_1 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"d\"};"},
                 "backend_0_config_0",
                 "&backendConfig_platformOption_0, &backendConfig_errorConfig_0, "
                 "&backendConfig_platformOption_1, NULL",
                 "backend_0"),
     {}},
    {"custom without content, backend ID 2", {custom(false)}, 2, 0,
     createBlock({"ZebBackend_Config_t backendConfig_customConfig_0 = "
                  "{ZEB_BACKEND_CONFIG_OPTION_CUSTOM, .customConfig=NULL};"},
                 "backend_0_config_0", "&backendConfig_customConfig_0, NULL", "backend_0"),
     {}},
    {"custom content without backend ID is dropped", {custom(true), platform("p")}, 0, 0,
     block({"", "", "ZebBackend_Config_t backendConfig_platformOption_0 = "
                    "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"p\"};",
            "", "const ZebBackend_Config_t* backend_0_config_0[] = "
                "{&backendConfig_platformOption_0, NULL};",
            "Zeb_BackendHandle_t backend_0;",
            "VALIDATE(error, interface.backendCreate(loghandle, backend_0_config_0, "
            "&backend_0));"}),
     warning("Custom config provided without specifying backend ID, provide a backend ID via "
             "ZebScribe_Initialize() to record custom configs.")},
    {"custom content, Scribe backend", {platform("p"), custom(true)}, 2, 4004, "",
     error("Scribe backend ID was provided and a custom config was passed to "
           "ZebBackend_Initialize(). Scribe does not support custom configs.")},
    {"custom content, CPU backend", {custom(true)}, 3, 4004, "",
     error("CPU backend ID was provided and a custom config was passed to "
           "ZebBackend_Initialize(). CPU does not support custom configs.")},
    {"custom content, unknown backend", {custom(true)}, 77, 4004, "",
     error("Unknown backend ID provided: 77")},
    {"unknown option", {option(7)}, 0, 4004, "", error("Unknown config option provided: 7")},
};

class BackendCreateTest : public ::testing::TestWithParam<CreateCase> {};

TEST_P(BackendCreateTest, WritesTheBlockOrRefusesIt) {
  const CreateCase& c = GetParam();
  RecordingSession session;
  session.recorder.setBackendIdentifier(c.backendId);
  BackendConfigs configs(c.configs);
  uint64_t handle = 0;

  EXPECT_EQ(record::backendCreate(session.recorder, configs.get(), &handle), c.code);
  EXPECT_EQ(session.blocks(), c.written);
  EXPECT_EQ(session.messages(), c.logged);
  EXPECT_EQ(handle, c.code == 0 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Configurations, BackendCreateTest, ::testing::ValuesIn(kCreateCases),
                         [](const auto& info) { return caseName(info); });

class BackendTest : public ::testing::Test {
 protected:
  uint64_t create() {
    uint64_t handle = 0;
    EXPECT_EQ(record::backendCreate(session.recorder, nullptr, &handle), 0u);
    return handle;
  }
  // What the calls after `since` (the file's earlier content) wrote.
  std::string writtenSince(const std::string& since) const {
    return session.blocks().substr(since.size());
  }

  RecordingSession session;
};

TEST_F(BackendTest, HandlesCountUpAndNamesAreNeverReused) {
  EXPECT_EQ(create(), 1u);
  EXPECT_EQ(create(), 2u);
  EXPECT_EQ(record::backendFree(session.recorder, 2), 0u);
  EXPECT_EQ(create(), 3u);
  EXPECT_EQ(session.blocks(),
            createBlock({}, "backend_0_config_0", "NULL", "backend_0") +
                createBlock({}, "backend_1_config_0", "NULL", "backend_1") +
                block({"VALIDATE(error, interface.backendFree(backend_1));"}) +
                createBlock({}, "backend_2_config_0", "NULL", "backend_2"));
}

TEST_F(BackendTest, RefusedConfigurationLeavesAGapInTheNames) {
  BackendConfigs refused({platform("x"), option(9)});
  uint64_t handle = 0;
  EXPECT_EQ(record::backendCreate(session.recorder, refused.get(), &handle), 4004u);
  EXPECT_EQ(session.blocks(), "");

  BackendConfigs accepted({platform("y")});
  EXPECT_EQ(record::backendCreate(session.recorder, accepted.get(), &handle), 0u);
  EXPECT_EQ(handle, 1u);
  EXPECT_EQ(session.blocks(),
            createBlock({"ZebBackend_Config_t backendConfig_platformOption_1 = "
                         "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"y\"};"},
                        "backend_0_config_0", "&backendConfig_platformOption_1, NULL",
                        "backend_0"));
}

TEST_F(BackendTest, SetConfigContinuesTheBackendsArrayCounter) {
  create();
  const std::string before = session.blocks();
  BackendConfigs configs({errorReporting(2, 8)});
  EXPECT_EQ(record::backendSetConfig(session.recorder, 1, configs.get()), 0u);
  EXPECT_EQ(writtenSince(before),
            block({"", "ZebBackend_Config_t backendConfig_errorConfig_0 = "
                       "{ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, "
                       ".errorConfig={(Zeb_ErrorReportingLevel_t)2, 8}};",
                   "", "const ZebBackend_Config_t* backend_0_config_1[] = "
                       "{&backendConfig_errorConfig_0, NULL};",
                   "VALIDATE(error, interface.backendSetConfig(backend_0, backend_0_config_1));"}));
}

TEST_F(BackendTest, SetConfigOfHandleZeroNamesTheArrayAfterNull) {
  EXPECT_EQ(record::backendSetConfig(session.recorder, 0, nullptr), 0u);
  EXPECT_EQ(session.blocks(),
            block({"", "const ZebBackend_Config_t* NULL_config_0[] = {NULL};",
                   "VALIDATE(error, interface.backendSetConfig(NULL, NULL_config_0));"}));
}

TEST_F(BackendTest, SetConfigRefusalWritesNothing) {
  create();
  const std::string before = session.blocks();
  session.recorder.setBackendIdentifier(3);
  BackendConfigs configs({custom(true)});
  EXPECT_EQ(record::backendSetConfig(session.recorder, 1, configs.get()), 4004u);
  EXPECT_EQ(session.blocks(), before);
}

TEST_F(BackendTest, RegisterOpPackageCopiesStringsUnescaped) {
  create();
  const std::string before = session.blocks();
  EXPECT_EQ(record::backendRegisterOpPackage(session.recorder, 1, "C:\\pkgs\\lib.so",
                                             "Provider", nullptr),
            0u);
  EXPECT_EQ(record::backendRegisterOpPackage(session.recorder, 0, nullptr, nullptr, "cpu"), 0u);
  EXPECT_EQ(writtenSince(before),
            block({"VALIDATE(error, interface.backendRegisterOpPackage(backend_0, "
                   "\"C:\\pkgs\\lib.so\", \"Provider\", NULL));"}) +
                block({"VALIDATE(error, interface.backendRegisterOpPackage(NULL, NULL, NULL, "
                       "\"cpu\"));"}));
}

TEST_F(BackendTest, SupportedOperationsIsRecordedAndLeavesOutputsAlone) {
  create();
  const std::string before = session.blocks();
  uint32_t count = 77;
  const ZebBackend_OperationName_t sentinel{};
  const ZebBackend_OperationName_t* operations = &sentinel;

  EXPECT_EQ(record::backendGetSupportedOperations(session.recorder, 1, nullptr, nullptr),
            uint64_t{ZEB_SCRIBE_QUERY_RECORDED});
  EXPECT_EQ(record::backendGetSupportedOperations(session.recorder, 1, &count, &operations),
            4950u);
  EXPECT_EQ(record::backendGetSupportedOperations(session.recorder, 0, nullptr, &operations),
            4950u);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(operations, &sentinel);
  EXPECT_EQ(writtenSince(before),
            block({"VALIDATE(error, interface.backendGetSupportedOperations(backend_0, NULL, "
                   "NULL));"}) +
                block({"uint32_t numOperations_0;",
                       "const ZebBackend_OperationName_t* operations_0;",
                       "VALIDATE(error, interface.backendGetSupportedOperations(backend_0, "
                       "&numOperations_0, &operations_0));"}) +
                block({"const ZebBackend_OperationName_t* operations_1;",
                       "VALIDATE(error, interface.backendGetSupportedOperations(NULL, NULL, "
                       "&operations_1));"}));
}

TEST_F(BackendTest, UnknownHandleIsRefusedBeforeAnyNameIsTaken) {
  create();
  const std::string before = session.blocks();
  uint32_t count = 5;
  BackendConfigs configs({platform("p")});
  Recorder& recorder = session.recorder;
  const std::vector<std::function<Zeb_ErrorHandle_t()>> calls = {
      [&] { return record::backendSetConfig(recorder, 2, configs.get()); },
      [&] { return record::backendRegisterOpPackage(recorder, 2, "p", "i", "t"); },
      [&] { return record::backendGetSupportedOperations(recorder, 2, &count, nullptr); },
      [&] { return record::backendFree(recorder, 2); },
  };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    session.log.clear();
    EXPECT_EQ(calls[i](), 4011u) << "call " << i;
    EXPECT_EQ(session.messages(), error("No backend associated with the provided handle"))
        << "call " << i;
  }
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(session.blocks(), before);

  EXPECT_EQ(record::backendSetConfig(recorder, 1, configs.get()), 0u);
  EXPECT_EQ(record::backendGetSupportedOperations(recorder, 1, &count, nullptr), 4950u);
  EXPECT_EQ(writtenSince(before),
            block({"", "ZebBackend_Config_t backendConfig_platformOption_0 = "
                       "{ZEB_BACKEND_CONFIG_OPTION_PLATFORM, .platformOption=\"p\"};",
                   "", "const ZebBackend_Config_t* backend_0_config_1[] = "
                       "{&backendConfig_platformOption_0, NULL};",
                   "VALIDATE(error, interface.backendSetConfig(backend_0, backend_0_config_1));"}) +
                block({"uint32_t numOperations_0;",
                       "VALIDATE(error, interface.backendGetSupportedOperations(backend_0, "
                       "&numOperations_0, NULL));"}));
}

TEST_F(BackendTest, FreeForgetsTheHandle) {
  create();
  EXPECT_EQ(record::backendFree(session.recorder, 1), 0u);
  const std::string before = session.blocks();
  EXPECT_EQ(record::backendFree(session.recorder, 1), 4011u);
  EXPECT_EQ(session.blocks(), before);
  EXPECT_EQ(session.messages(), error("No backend associated with the provided handle"));
}

TEST_F(BackendTest, FreeOfHandleZeroIsWrittenAndFails) {
  EXPECT_EQ(record::backendFree(session.recorder, 0), 4999u);
  EXPECT_EQ(session.blocks(), block({"VALIDATE(error, interface.backendFree(NULL));"}));
  EXPECT_EQ(session.messages(), error("Could not free backend handle"));
}

TEST_F(BackendTest, FailedCreateWriteIssuesNoHandle) {
  uint64_t handle = 0;
  {
    FailingWrites failing;
    EXPECT_EQ(record::backendCreate(session.recorder, nullptr, &handle), 4999u);
  }
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(session.blocks(), "");
  session.expectFailedWriteLogged();
  // The counter stays, the names moved on.
  EXPECT_EQ(create(), 1u);
  EXPECT_EQ(session.blocks(), createBlock({}, "backend_1_config_0", "NULL", "backend_1"));
}

TEST_F(BackendTest, FailedWritesReturnTheGeneralCode) {
  create();
  const std::string before = session.blocks();
  uint32_t count = 3;
  {
    FailingWrites failing;
    EXPECT_EQ(record::backendSetConfig(session.recorder, 1, nullptr), 4999u);
    EXPECT_EQ(record::backendRegisterOpPackage(session.recorder, 1, "p", "i", "t"), 4999u);
    EXPECT_EQ(record::backendGetSupportedOperations(session.recorder, 1, &count, nullptr), 4999u);
    EXPECT_EQ(record::backendFree(session.recorder, 1), 4999u);
  }
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(session.blocks(), before);
  // The failed free kept the backend.
  EXPECT_EQ(record::backendFree(session.recorder, 1), 0u);
}

TEST_F(BackendTest, BackendVariableResolvesHandles) {
  create();
  session.log.clear();
  EXPECT_EQ(record::backendVariable(session.recorder, 0), "NULL");
  EXPECT_EQ(record::backendVariable(session.recorder, 1), "backend_0");
  EXPECT_EQ(session.messages(), Messages{});
  EXPECT_EQ(record::backendVariable(session.recorder, 5), std::nullopt);
  EXPECT_EQ(session.messages(), error("No backend associated with the provided handle"));
}

}  // namespace
}  // namespace zeb::test
