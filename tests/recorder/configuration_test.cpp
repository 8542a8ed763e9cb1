#include "recorder/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "pal/stream_ops_override.h"
#include "recorder/model_frame.h"
#include "support/log_capture.h"
#include "support/scoped_temp_dir.h"

namespace zeb {
namespace {

namespace fs = std::filesystem;

ZebScribe_Config_t option(ZebScribe_ConfigOption_t code) {
  ZebScribe_Config_t record{};
  record.option = code;
  return record;
}

ZebScribe_Config_t directoryOption(const char* directory) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY);
  record.outputDirectory = directory;
  return record;
}

ZebScribe_Config_t filesOption(const char* model, const char* data) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG);
  record.fileConfig = {model, data};
  return record;
}

ZebScribe_Config_t flagOption(ZebScribe_ConfigOption_t code, uint8_t value) {
  auto record = option(code);
  if (code == ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP) record.appendTimestamp = value;
  if (code == ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER) record.writeOutputHeader = value;
  if (code == ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER) record.writeOutputFooter = value;
  return record;
}

ZebScribe_Config_t backendIdOption(uint32_t id) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID);
  record.backendId = id;
  return record;
}

Zeb_ErrorHandle_t configure(Recorder& recorder, std::vector<ZebScribe_Config_t> records) {
  std::vector<const ZebScribe_Config_t*> pointers;
  for (const auto& record : records) pointers.push_back(&record);
  pointers.push_back(nullptr);
  return configureRecorder(recorder, pointers.data());
}

class ConfigurationTest : public ::testing::Test {
 protected:
  test::ScopedTempDir dir;
  test::LogCapture log;
  Recorder recorder;
};

TEST_F(ConfigurationTest, NullArrayRestoresDefaultFileNames) {
  ASSERT_EQ(configure(recorder, {filesOption("m.c", "d.bin")}), 0u);
  EXPECT_EQ(recorder.modelFileName(), "m.c");
  EXPECT_EQ(configureRecorder(recorder, nullptr), 0u);
  EXPECT_EQ(recorder.modelFileName(), "scribe_output.c");
  EXPECT_EQ(recorder.dataFileName(), "params.bin");
}

TEST_F(ConfigurationTest, MissingDirectoryFallsBackWithWarning) {
  const struct {
    const char* directory;
    const char* warning;
  } cases[] = {
      {nullptr, "NULL output path provided, defaulting to ./scribe_output/"},
      {"", "Empty output path provided, defaulting to ./scribe_output/"},
  };
  for (const auto& c : cases) {
    recorder.setOutputDirectory("elsewhere");
    log.clear();
    EXPECT_EQ(configure(recorder, {directoryOption(c.directory)}), 0u);
    EXPECT_EQ(recorder.outputDirectory(), "./scribe_output/");
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0].level, ZEB_LOG_LEVEL_WARN);
    EXPECT_EQ(log.messages()[0].text, c.warning);
  }
}

TEST_F(ConfigurationTest, RefusedRecordsChangeNothing) {
  const struct {
    ZebScribe_Config_t record;
    const char* message;
  } cases[] = {
      {filesOption("a/b.c", "d.bin"), "Model filename or data filename contain slashes"},
      {filesOption("m.c", "d\\x.bin"), "Model filename or data filename contain slashes"},
      {filesOption(nullptr, "d.bin"), "Model filename or data filename are NULL"},
      {option(static_cast<ZebScribe_ConfigOption_t>(9)), "Unknown Scribe config option provided: 9"},
  };
  for (const auto& c : cases) {
    log.clear();
    EXPECT_EQ(configure(recorder, {directoryOption("other"), c.record}), 1004u);
    EXPECT_EQ(recorder.outputDirectory(), "./scribe_output/");
    EXPECT_EQ(recorder.modelFileName(), "scribe_output.c");
    EXPECT_EQ(log.texts(), std::vector<std::string>{c.message});
  }
}

TEST_F(ConfigurationTest, OrderRulesBeforeAndAfterStart) {
  const std::string headerRule =
      "ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER must be provided concurrently with "
      "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG";
  EXPECT_EQ(configure(recorder, {flagOption(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER, 0)}), 4951u);
  EXPECT_EQ(log.texts(), std::vector<std::string>{headerRule});
  EXPECT_EQ(configure(recorder, {flagOption(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER, 1)}), 4951u);

  ASSERT_EQ(recorder.start(), 0u);
  const struct {
    ZebScribe_Config_t record;
    const char* prefix;
  } afterStart[] = {
      {flagOption(ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP, 1),
       "ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP must be provided before"},
      {backendIdOption(3), "ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID must be provided concurrently"},
      {directoryOption("x"), "ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY must be provided concurrently"},
  };
  for (const auto& c : afterStart) {
    log.clear();
    EXPECT_EQ(configure(recorder, {c.record}), 4951u);
    ASSERT_EQ(log.texts().size(), 1u);
    EXPECT_EQ(log.texts()[0].rfind(c.prefix, 0), 0u) << log.texts()[0];
  }
  EXPECT_EQ(recorder.backendIdentifier(), 0u);
}

TEST_F(ConfigurationTest, TimestampNamesWinOverFileNames) {
  ASSERT_EQ(configure(recorder, {filesOption("m.c", "d.bin"),
                                 flagOption(ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP, 1)}),
            0u);
  const std::regex timestamped("scribe_output_(\\d\\d-\\d\\d-\\d{4}_\\d\\d_\\d\\d_\\d\\d)\\.c");
  std::smatch match;
  const std::string model = recorder.modelFileName();
  ASSERT_TRUE(std::regex_match(model, match, timestamped))
      << model;
  EXPECT_EQ(recorder.dataFileName(), "params_" + match[1].str() + ".bin");
}

TEST_F(ConfigurationTest, FileOptionAfterStartSwitchesFiles) {
  ASSERT_EQ(recorder.start(), 0u);
  ASSERT_TRUE(recorder.writeModel("   // first\n"));
  ASSERT_EQ(configure(recorder, {filesOption("second.c", "second.bin"), backendIdOption(3)}), 0u);
  EXPECT_EQ(recorder.backendIdentifier(), 3u);
  EXPECT_EQ(test::readFile("scribe_output/scribe_output.c"),
            modelHeader("params.bin") + "   // first\n" + modelFooter());
  EXPECT_EQ(test::readFile("scribe_output/second.c"), modelHeader("second.bin"));
  EXPECT_TRUE(fs::exists("scribe_output/second.bin"));
}

// Switching to a file in use would truncate it or write into its middle.
TEST_F(ConfigurationTest, FilesInUseAreRefused) {
  ASSERT_EQ(recorder.start(), 0u);
  ASSERT_TRUE(recorder.writeModel("   // one\n"));
  for (const auto& files : {filesOption("scribe_output.c", "other.bin"),
                            filesOption("other.c", "params.bin"), filesOption("params.bin", "x.bin"),
                            filesOption("same", "same")}) {
    log.clear();
    EXPECT_EQ(configure(recorder, {files, flagOption(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER, 0)}),
              1004u);
    EXPECT_EQ(log.texts().size(), 1u);
  }
  EXPECT_EQ(recorder.modelFileName(), "scribe_output.c");
  ASSERT_TRUE(recorder.writeModel("   // two\n"));
  EXPECT_EQ(test::readFile("scribe_output/scribe_output.c"),
            modelHeader("params.bin") + "   // one\n   // two\n");
}

TEST_F(ConfigurationTest, FailedSwitchReportsTheFailingStep) {
  ASSERT_EQ(recorder.start(), 0u);
  {
    test::StreamOpsOverride failing;
    failing.ops().open = test::StreamOpsOverride::failOpen;
    log.clear();
    EXPECT_EQ(configure(recorder, {filesOption("n.c", "n.bin")}), 4999u);
  }
  const auto texts = log.texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "Failure when opening model file");
  EXPECT_EQ(recorder.modelFileName(), "n.c");
}

}  // namespace
}  // namespace zeb
