#include "record/context.h"
#include "record/context_config.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "record/backend_context_support.h"
#include "record/recording_session.h"

namespace zeb::test {
namespace {

ZebContext_Config_t contextConfig(ZebContext_ConfigOption_t option) {
  ZebContext_Config_t config{};
  config.option = option;
  return config;
}

ZebContext_Config_t priority(int32_t value) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_OPTION_PRIORITY);
  config.priority = static_cast<Zeb_Priority_t>(value);
  return config;
}

ZebContext_Config_t errorReporting(int32_t level, uint32_t limit) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING);
  config.errorConfig = {static_cast<Zeb_ErrorReportingLevel_t>(level), limit};
  return config;
}

ZebContext_Config_t oemString(const char* text) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING);
  config.oemString = text;
  return config;
}

ZebContext_Config_t asyncDepth(int32_t type, uint32_t depth) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH);
  config.asyncExeQueueDepth.type = static_cast<ZebContext_AsyncExecutionQueueDepthType_t>(type);
  config.asyncExeQueueDepth.depth = depth;
  return config;
}

ZebContext_Config_t enableGraphs(const char* const* names) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS);
  config.enableGraphs = names;
  return config;
}

ZebContext_Config_t memoryLimit(uint64_t bytes) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT);
  config.memoryLimitHint = bytes;
  return config;
}

ZebContext_Config_t persistentBinary(uint8_t value) {
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY);
  config.isPersistentBinary = value;
  return config;
}

ZebContext_Config_t custom(bool withContent) {
  static int content;
  auto config = contextConfig(ZEB_CONTEXT_CONFIG_OPTION_CUSTOM);
  config.customConfig =
      withContent ? reinterpret_cast<ZebContext_CustomConfig_t>(&content) : nullptr;
  return config;
}

const char* const kTwoGraphs[] = {"graphA", "graphB", nullptr};
const char* const kNoGraphs[] = {nullptr};

using ContextConfigs = ConfigArray<ZebContext_Config_t>;

// The block of a contextCreate of context_0 with NULL backend and device: each
// configuration's lines, one empty line after each, then the array.
std::string createBlock(const std::vector<std::vector<std::string>>& configs,
                        const std::string& elements) {
  std::vector<std::string> lines;
  for (const auto& config : configs) {
    lines.insert(lines.end(), config.begin(), config.end());
    lines.push_back("");
  }
  lines.push_back("const ZebContext_Config_t* context_0_config_0[] = {" + elements + "};");
  lines.push_back("Zeb_ContextHandle_t context_0;");
  lines.push_back(
      "VALIDATE(error, interface.contextCreate(NULL, NULL, context_0_config_0, &context_0));");
  return block(lines);
}

std::string structure(const std::string& name, const std::string& option,
                      const std::string& value) {
  return "ZebContext_Config_t " + name + " = {" + option + ", " + value + "};";
}

struct ConfigCase {
  const char* title;
  std::vector<ZebContext_Config_t> configs;
  uint32_t backendId;
  Zeb_ErrorHandle_t code;
  std::string written;
  Messages logged;
};

void PrintTo(const ConfigCase& c, std::ostream* out) { *out << c.title; }

const std::string kCustomWarning =
    "Custom config provided without specifying backend ID, provide a backend ID via "
    "ZebScribe_Initialize() to record custom configs.";

const ConfigCase kConfigCases[] = {
    {"no configuration array", {}, 0, 0, createBlock({}, "NULL"), {}},
    {"priority",
     {priority(100)},
     0,
     0,
     block({"ZebContext_Config_t context_0_priority_0 = {ZEB_CONTEXT_CONFIG_OPTION_PRIORITY, "
            ".priority=(Zeb_Priority_t)100};",
            "", "const ZebContext_Config_t* context_0_config_0[] = {&context_0_priority_0, NULL};",
            "Zeb_ContextHandle_t context_0;",
            "VALIDATE(error, interface.contextCreate(NULL, NULL, context_0_config_0, "
            "&context_0));"}),
     {}},
    {"negative priority and error reporting",
     {priority(-1), errorReporting(2, 4096)},
     0,
     0,
     createBlock({{structure("context_0_priority_0", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                             ".priority=(Zeb_Priority_t)-1")},
                  {structure("context_0_errorConfig_0", "ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING",
                             ".errorConfig={(Zeb_ErrorReportingLevel_t)2, 4096}")}},
                 "&context_0_priority_0, &context_0_errorConfig_0, NULL"),
     {}},
    {"OEM string copied unescaped",
     {oemString("say \"hi\"\\n")},
     0,
     0,
     createBlock({{structure("context_0_oemString_0", "ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING",
                             ".oemString=\"say \"hi\"\\n\"")}},
                 "&context_0_oemString_0, NULL"),
     {}},
    {"async queue depth",
     {asyncDepth(0, 4)},
     0,
     0,
     createBlock({{structure("context_0_asyncExeQueueDepth_0",
                             "ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH",
                             ".asyncExeQueueDepth={"
                             "ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, .depth=4}")}},
                 "&context_0_asyncExeQueueDepth_0, NULL"),
     {}},
    {"enabled graphs: list, none, empty list",
     {enableGraphs(kTwoGraphs), enableGraphs(nullptr), enableGraphs(kNoGraphs)},
     0,
     0,
     createBlock(
         {{"const char* const context_0_enableGraphs_0_array[] = {\"graphA\", \"graphB\", NULL};",
           structure("context_0_enableGraphs_0", "ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS",
                     ".enableGraphs=context_0_enableGraphs_0_array")},
          {structure("context_0_enableGraphs_1", "ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS",
                     ".enableGraphs=NULL")},
          {"const char* const context_0_enableGraphs_2_array[] = {NULL};",
           structure("context_0_enableGraphs_2", "ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS",
                     ".enableGraphs=context_0_enableGraphs_2_array")}},
         "&context_0_enableGraphs_0, &context_0_enableGraphs_1, &context_0_enableGraphs_2, NULL"),
     {}},
    {"memory limit and persistent binary",
     {memoryLimit(1048576), memoryLimit(18446744073709551615u), persistentBinary(1),
      persistentBinary(255)},
     0,
     0,
     createBlock({{structure("context_0_memoryLimitHint_0", "ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT",
                             ".memoryLimitHint=1048576")},
                  {structure("context_0_memoryLimitHint_1", "ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT",
                             ".memoryLimitHint=18446744073709551615")},
                  {structure("context_0_isPersistentBinary_0",
                             "ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY", ".isPersistentBinary=1")},
                  {structure("context_0_isPersistentBinary_1",
                             "ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY", ".isPersistentBinary=255")}},
                 "&context_0_memoryLimitHint_0, &context_0_memoryLimitHint_1, "
                 "&context_0_isPersistentBinary_0, &context_0_isPersistentBinary_1, NULL"),
     {}},
    {"custom without content, whatever the backend ID",
     {custom(false), custom(false)},
     2,
     0,
     createBlock({{structure("context_0_customConfig_0", "ZEB_CONTEXT_CONFIG_OPTION_CUSTOM",
                             ".customConfig=NULL")},
                  {structure("context_0_customConfig_1", "ZEB_CONTEXT_CONFIG_OPTION_CUSTOM",
                             ".customConfig=NULL")}},
                 "&context_0_customConfig_0, &context_0_customConfig_1, NULL"),
     {}},
    {"custom content without backend ID is dropped",
     {custom(true), priority(0)},
     0,
     0,
     createBlock({{},
                  {structure("context_0_priority_0", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                             ".priority=(Zeb_Priority_t)0")}},
                 "&context_0_priority_0, NULL"),
     warning(kCustomWarning)},
    {"custom content with a backend ID",
     {custom(true)},
     3,
     5000,
     "",
     error("Custom context config parsing not supported for chosen backend ID")},
    {"unsupported async depth type",
     {asyncDepth(1, 4)},
     0,
     5000,
     "",
     error("Unknown or unsupported async execution queue depth type: 1")},
    {"unknown option in the middle",
     {priority(1), contextConfig(static_cast<ZebContext_ConfigOption_t>(9)), priority(2)},
     0,
     5000,
     "",
     error("Unknown config option provided: 9")},
};

class ContextConfigTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ContextConfigTest, WritesTheBlockOrRefusesIt) {
  const ConfigCase& c = GetParam();
  RecordingSession session;
  session.recorder.setBackendIdentifier(c.backendId);
  const auto context = session.recorder.findContext(session.recorder.createContext());
  ASSERT_NE(context, nullptr);
  ContextConfigs configs(c.configs);

  EXPECT_EQ(record::contextCreate(session.recorder, *context, 0, 0, configs.get()), c.code);
  EXPECT_EQ(session.blocks(), c.written);
  EXPECT_EQ(session.messages(), c.logged);
}

INSTANTIATE_TEST_SUITE_P(Configurations, ContextConfigTest, ::testing::ValuesIn(kConfigCases),
                         [](const auto& info) { return caseName(info); });

TEST(ContextConfigOwnerTest, NamesFollowTheOwnerGiven) {
  RecordingSession session;
  StatementBuilder builder(3);
  std::vector<std::string> elements;
  const ZebContext_Config_t config = priority(150);
  EXPECT_EQ(record::serializeContextConfig(session.recorder, config, elements, builder, "context"),
            0u);
  EXPECT_EQ(builder.takeText(false),
            "   " + structure("context_priority_0", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                              ".priority=(Zeb_Priority_t)150") + "\n");
  EXPECT_EQ(elements, std::vector<std::string>{"&context_priority_0"});
}

class ContextTest : public ::testing::Test {
 protected:
  ContextTest()
      : handle(session.recorder.createContext()), context(session.recorder.findContext(handle)) {}

  std::string writtenSince(const std::string& since) const {
    return session.blocks().substr(since.size());
  }

  RecordingSession session;
  const uint64_t handle;
  const std::shared_ptr<ScribeContext> context;
};

TEST_F(ContextTest, CreateResolvesBackendAndDevice) {
  const uint64_t backend = session.recorder.addBackend("backend_0");
  const uint64_t device = session.recorder.createDevice();
  EXPECT_EQ(record::contextCreate(session.recorder, *context, backend, device, nullptr), 0u);
  EXPECT_EQ(session.blocks(),
            block({"const ZebContext_Config_t* context_0_config_0[] = {NULL};",
                   "Zeb_ContextHandle_t context_0;",
                   "VALIDATE(error, interface.contextCreate(backend_0, device_0, "
                   "context_0_config_0, &context_0));"}));
  EXPECT_EQ(session.messages(), Messages{});
}

TEST_F(ContextTest, UnknownBackendOrDeviceIsRefusedAfterTheNamesAreTaken) {
  EXPECT_EQ(record::contextCreate(session.recorder, *context, 42, 0, nullptr), 4011u);
  EXPECT_EQ(session.messages(), error("No backend associated with the provided handle"));
  session.log.clear();
  EXPECT_EQ(record::contextCreate(session.recorder, *context, 0, 42, nullptr), 14000u);
  EXPECT_EQ(session.messages(), error("No device associated with the provided handle"));
  EXPECT_EQ(session.blocks(), "");

  EXPECT_EQ(record::contextSetConfig(session.recorder, *context, nullptr), 0u);
  EXPECT_EQ(session.blocks(),
            block({"const ZebContext_Config_t* context_0_config_2[] = {NULL};",
                   "VALIDATE(error, interface.contextSetConfig(context_0, context_0_config_2));"}));
}

TEST_F(ContextTest, SetConfigContinuesTheArrayCounter) {
  ASSERT_EQ(record::contextCreate(session.recorder, *context, 0, 0, nullptr), 0u);
  const std::string before = session.blocks();
  ContextConfigs configs({priority(200)});
  EXPECT_EQ(record::contextSetConfig(session.recorder, *context, configs.get()), 0u);
  EXPECT_EQ(record::contextSetConfig(session.recorder, *context, nullptr), 0u);
  EXPECT_EQ(writtenSince(before),
            block({structure("context_0_priority_0", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                             ".priority=(Zeb_Priority_t)200"),
                   "",
                   "const ZebContext_Config_t* context_0_config_1[] = {&context_0_priority_0, "
                   "NULL};",
                   "VALIDATE(error, interface.contextSetConfig(context_0, context_0_config_1));"}) +
                block({"const ZebContext_Config_t* context_0_config_2[] = {NULL};",
                       "VALIDATE(error, interface.contextSetConfig(context_0, "
                       "context_0_config_2));"}));
}

TEST_F(ContextTest, RefusedConfigurationLeavesAGapInTheNames) {
  ContextConfigs refused({priority(1), asyncDepth(7, 1)});
  EXPECT_EQ(record::contextSetConfig(session.recorder, *context, refused.get()), 5000u);
  EXPECT_EQ(session.blocks(), "");

  ContextConfigs accepted({priority(1)});
  EXPECT_EQ(record::contextSetConfig(session.recorder, *context, accepted.get()), 0u);
  EXPECT_EQ(session.blocks(),
            block({structure("context_0_priority_1", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                             ".priority=(Zeb_Priority_t)1"),
                   "",
                   "const ZebContext_Config_t* context_0_config_0[] = {&context_0_priority_1, "
                   "NULL};",
                   "VALIDATE(error, interface.contextSetConfig(context_0, context_0_config_0));"}));
}

TEST_F(ContextTest, FreeWritesTheProfileAndForgetsTheContext) {
  const uint64_t profile = session.recorder.createProfile();
  const uint64_t other = session.recorder.createContext();
  session.recorder.recordGraphOwner(501, handle);
  session.recorder.recordGraphOwner(502, other);

  EXPECT_EQ(record::contextFree(session.recorder, handle, profile), 0u);
  EXPECT_EQ(record::contextFree(session.recorder, other, 12345), 0u);
  EXPECT_EQ(session.blocks(),
            block({"VALIDATE(error, interface.contextFree(context_0, profile_0));"}) +
                block({"VALIDATE(error, interface.contextFree(context_1, NULL));"}));
  EXPECT_EQ(session.messages(), Messages{});
  EXPECT_EQ(session.recorder.findContext(handle), nullptr);
  EXPECT_EQ(session.recorder.graphOwner(501), 0u);
  EXPECT_EQ(session.recorder.graphOwner(502), 0u);
}

TEST_F(ContextTest, FreeOfUnknownContextWritesNothing) {
  ASSERT_EQ(record::contextFree(session.recorder, handle, 0), 0u);
  const std::string before = session.blocks();
  session.log.clear();
  EXPECT_EQ(record::contextFree(session.recorder, handle, 0), 5002u);
  EXPECT_EQ(session.blocks(), before);
  EXPECT_EQ(session.messages(), error("No context associated with the provided handle."));
}

TEST_F(ContextTest, FreeKeepsNoContextWhoseWriteFailed) {
  session.recorder.recordGraphOwner(501, handle);
  {
    FailingWrites failing;
    EXPECT_EQ(record::contextFree(session.recorder, handle, 0), 5999u);
  }
  EXPECT_EQ(session.blocks(), "");
  EXPECT_EQ(session.recorder.findContext(handle), nullptr);
  EXPECT_EQ(session.recorder.graphOwner(501), 0u);
}

TEST_F(ContextTest, FailedWritesReturnTheGeneralCode) {
  ContextConfigs configs({priority(1)});
  {
    FailingWrites failing;
    EXPECT_EQ(record::contextCreate(session.recorder, *context, 0, 0, configs.get()), 5999u);
    EXPECT_EQ(record::contextSetConfig(session.recorder, *context, configs.get()), 5999u);
  }
  EXPECT_EQ(session.blocks(), "");
  session.expectFailedWriteLogged();
  EXPECT_NE(session.recorder.findContext(handle), nullptr);
}

}  // namespace
}  // namespace zeb::test
