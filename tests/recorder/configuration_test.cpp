// ZebScribe_initialize: what each option, combination and moment gives.
#include "recorder/configuration.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "support/session.h"
#include "support/stream_ops_override.h"

namespace zeb::test {
namespace {

ZebScribe_Config_t option(ZebScribe_ConfigOption_t code) {
  ZebScribe_Config_t record{};
  record.option = code;
  return record;
}
ZebScribe_Config_t directory(const char* path) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY);
  record.outputDirectory = path;
  return record;
}
ZebScribe_Config_t files(const char* model, const char* data) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG);
  record.fileConfig = {model, data};
  return record;
}
ZebScribe_Config_t flag(ZebScribe_ConfigOption_t code) {
  auto record = option(code);
  record.appendTimestamp = 1;  // the flags share the first byte of the value
  return record;
}
ZebScribe_Config_t noHeader() { return option(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER); }
ZebScribe_Config_t backendId(uint32_t id) {
  auto record = option(ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID);
  record.backendId = id;
  return record;
}

struct Configure : Session {
  Zeb_ErrorHandle_t operator()(std::vector<ZebScribe_Config_t> records) {
    std::vector<const ZebScribe_Config_t*> pointers;
    for (const auto& record : records) pointers.push_back(&record);
    pointers.push_back(nullptr);
    log.clear();
    return configureRecorder(recorder, pointers.data());
  }
};

const char* kDataRule = "Model filename or data filename contain slashes";

TEST(Configuration, RefusedRecordsChangeNothing) {
  const std::pair<ZebScribe_Config_t, std::string> refused[] = {
      {files("a/m.c", "d.bin"), kDataRule},
      {files("m.c", "d\\x.bin"), kDataRule},
      {files(nullptr, "d.bin"), "Model filename or data filename are NULL"},
      {option(static_cast<ZebScribe_ConfigOption_t>(9)), "Unknown Scribe config option provided: 9"},
  };
  for (const auto& [record, message] : refused) {
    Configure configure;
    EXPECT_EQ(configure({directory("other"), record}), 1004u);
    EXPECT_EQ(configure.log.texts(), std::vector<std::string>{message});
    EXPECT_EQ(configure.recorder.outputDirectory(), "out/");
    EXPECT_EQ(configure.recorder.dataFileName(), "params.bin");
  }
}

TEST(Configuration, MissingDirectoryWarnsAndKeepsTheDefault) {
  for (const char* path : {"", static_cast<const char*>(nullptr)}) {
    Configure configure;
    EXPECT_EQ(configure({directory(path)}), 0u);
    EXPECT_EQ(configure.recorder.outputDirectory(), "./scribe_output/");
    ASSERT_EQ(configure.log.messages().size(), 1u);
    EXPECT_EQ(configure.log.messages()[0].first, ZEB_LOG_LEVEL_WARN);
    EXPECT_EQ(configure.log.texts()[0], std::string(path ? "Empty" : "NULL") +
                                            " output path provided, defaulting to ./scribe_output/");
  }
}

TEST(Configuration, NullArrayRestoresTheDefaultNames) {
  Configure configure;
  ASSERT_EQ(configure({files("m.c", "d.bin")}), 0u);
  EXPECT_EQ(configureRecorder(configure.recorder, nullptr), 0u);
  EXPECT_EQ(configure.recorder.modelFileName(), "scribe_output.c");
  EXPECT_EQ(configure.recorder.dataFileName(), "params.bin");
}

TEST(Configuration, OrderRules) {
  Configure configure;
  EXPECT_EQ(configure({noHeader()}), 4951u);
  EXPECT_EQ(configure.log.texts(),
            std::vector<std::string>{"ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER must be provided "
                                     "concurrently with ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG"});
  ASSERT_EQ(configure.recorder.start(), 0u);
  EXPECT_EQ(configure({flag(ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP)}), 4951u);
  EXPECT_EQ(configure({backendId(3)}), 4951u);
  EXPECT_EQ(configure.log.texts(),
            std::vector<std::string>{"ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID must be provided "
                                     "concurrently with ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG if "
                                     "provided after any other ZEB APIs have been called"});
  EXPECT_EQ(configure({directory("x")}), 4951u);
  EXPECT_EQ(configure.recorder.backendIdentifier(), 0u);
}

TEST(Configuration, TimestampedDefaultNamesWinOverGivenNames) {
  Configure configure;
  ASSERT_EQ(configure({files("m.c", "d.bin"), flag(ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP)}), 0u);
  const std::regex stamped("scribe_output_(\\d\\d-\\d\\d-\\d{4}_\\d\\d_\\d\\d_\\d\\d)\\.c");
  std::smatch match;
  const std::string model = configure.recorder.modelFileName();
  ASSERT_TRUE(std::regex_match(model, match, stamped)) << model;
  EXPECT_EQ(configure.recorder.dataFileName(), "params_" + match[1].str() + ".bin");
}

// The files of a stopped recording are continued without a header: both are appended to.
TEST(Configuration, FileNamesWithoutHeaderBeforeTheStartContinueExistingFiles) {
  Configure configure;
  std::filesystem::create_directory("out");
  std::ofstream("out/m.c") << "earlier\n";
  std::ofstream("out/d.bin") << "blob";
  ASSERT_EQ(configure({files("m.c", "d.bin"), noHeader()}), 0u);
  ASSERT_EQ(configure.recorder.start(), 0u);
  EXPECT_EQ(readFile("out/m.c"), "earlier\n");
  EXPECT_EQ(readFile("out/d.bin"), "blob");
}

TEST(Configuration, FileNamesAfterTheStartFinishTheFilesAndContinueInNewOnes) {
  Configure configure;
  ASSERT_EQ(configure.recorder.start(), 0u);
  const std::string header = configure.model();
  ASSERT_EQ(configure({files("second.c", "second.bin"), backendId(3)}), 0u);
  EXPECT_EQ(configure.recorder.backendIdentifier(), 3u);
  EXPECT_EQ(readFile("out/scribe_output.c").substr(header.size(), 16), "   if (logging) ");
  const std::string second = readFile("out/second.c");
  EXPECT_NE(second.find("fopen(\"second.bin\", \"rb\")"), std::string::npos) << second;
  EXPECT_TRUE(std::filesystem::exists("out/second.bin"));

  StreamOpsOverride failing;
  failing.ops().open = StreamOpsOverride::failOpen;
  EXPECT_EQ(configure({files("third.c", "third.bin")}), 4999u);
  EXPECT_EQ(configure.log.texts().back(), "Failure when opening model file");
}

}  // namespace
}  // namespace zeb::test
