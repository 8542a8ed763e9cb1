// ZebScribe_initialize: what each option, combination and moment gives.
#include "recorder/configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "api/entry_points.h"
#include "e2e/builders.h"
#include "support/session.h"

namespace zeb::test {
namespace {

using e2e::withOption;
using Config = ZebScribe_Config_t;

Config option(uint32_t code) { return withOption<Config>(ZebScribe_ConfigOption_t(code)); }
Config directory(const char* path) { return withOption(ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY, &Config::outputDirectory, path); }
Config files(const char* model, const char* data) {
  return withOption(ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG, &Config::fileConfig, ZebScribe_FileConfig_t{model, data});
}
Config timestamp() { return withOption(ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP, &Config::appendTimestamp, 1); }
Config backendId(uint32_t id) { return withOption(ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID, &Config::backendId, id); }
const Config kNoHeader = option(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER);

struct Configuration : testing::Test {
  Zeb_ErrorHandle_t configure(std::vector<Config> records) {
    std::vector<const Config*> pointers;
    for (const auto& record : records) pointers.push_back(&record);
    pointers.push_back(nullptr);
    s.log.clear();
    return configureRecorder(r, pointers.data());
  }
  std::string logged() const { return s.log.texts().empty() ? "" : s.log.texts().back(); }
  Session s;
  Recorder& r = s.recorder;
};

TEST_F(Configuration, RefusedRecordsChangeNothing) {
  const char* slashes = "Model filename or data filename contain slashes";
  const std::pair<Config, std::string> rows[] = {{files("a/m.c", "d.bin"), slashes},
                                                 {files("m.c", "d\\x.bin"), slashes},
                                                 {files(nullptr, "d.bin"), "Model filename or data filename are NULL"},
                                                 {option(9), "Unknown Scribe config option provided: 9"}};
  for (const auto& [record, message] : rows) {
    EXPECT_EQ(configure({directory("other"), record}), 1004u);
    EXPECT_EQ(logged(), message);
  }
  EXPECT_EQ(r.outputDirectory(), "out/");
  EXPECT_EQ(r.dataFileName(), "params.bin");
}

TEST_F(Configuration, MissingDirectoryWarnsAndKeepsTheDefault) {
  EXPECT_EQ(configure({directory("")}), 0u);
  EXPECT_EQ(s.log.messages(), Logged({{ZEB_LOG_LEVEL_WARN, "Empty output path provided, defaulting to ./scribe_output/"}}));
  EXPECT_EQ(r.outputDirectory(), "./scribe_output/");
  EXPECT_EQ(configure({directory(nullptr)}), 0u);
  EXPECT_EQ(logged(), "NULL output path provided, defaulting to ./scribe_output/");
}

TEST_F(Configuration, OrderRules) {
  EXPECT_EQ(configure({kNoHeader}), 4951u);
  EXPECT_EQ(logged(), "ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER must be provided concurrently with "
                      "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG");
  ASSERT_EQ(r.start(), 0u);
  EXPECT_EQ(configure({timestamp()}), 4951u);
  EXPECT_EQ(configure({directory("x")}), 4951u);
  EXPECT_EQ(configure({backendId(3)}), 4951u);
  EXPECT_EQ(logged(), "ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID must be provided concurrently with "
                      "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG if provided after any other ZEB APIs have been called");
  EXPECT_EQ(r.backendIdentifier(), 0u);
}

TEST_F(Configuration, NamesBeforeTheStart) {
  ASSERT_EQ(configure({files("m.c", "d.bin"), timestamp()}), 0u);
  const std::regex stamped("scribe_output_(\\d\\d-\\d\\d-\\d{4}_\\d\\d_\\d\\d_\\d\\d)\\.c");
  std::smatch match;
  const std::string model = r.modelFileName();
  ASSERT_TRUE(std::regex_match(model, match, stamped)) << model;
  EXPECT_EQ(r.dataFileName(), "params_" + match[1].str() + ".bin");
  EXPECT_EQ(configureRecorder(r, nullptr), 0u);
  EXPECT_EQ(r.modelFileName(), "scribe_output.c");
  EXPECT_EQ(r.dataFileName(), "params.bin");
}

TEST_F(Configuration, NamesAfterTheStartFinishTheFilesAndContinueInNewOnes) {
  ASSERT_EQ(r.start(), 0u);
  const std::size_t header = s.model().size();
  ASSERT_EQ(configure({files("second.c", "second.bin"), backendId(3)}), 0u);
  EXPECT_EQ(r.backendIdentifier(), 3u);
  EXPECT_EQ(readFile("out/scribe_output.c").substr(header, 16), "   if (logging) ");
  EXPECT_NE(readFile("out/second.c").find("fopen(\"second.bin\", \"rb\")"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists("out/second.bin"));
}

// A start or a switch that fails leaves no file open: the next one, to names that can be
// opened, succeeds and records. Directories stand in the way of the names that cannot.
TEST(Recovery, AFailedStartOrSwitchLeavesTheWayOpenForTheNextOne) {
  struct Row {
    bool switching;
    const char *model, *data, *message;
  };
  const Row rows[] = {{false, "m.c", "", "Could not open file: out/"},
                      {false, "taken", "d.bin", "Could not open file: out/taken"},
                      {false, "m.c", "taken", "Could not open file: out/taken"},
                      {true, "taken", "d.bin", "Failure when opening model file"},
                      {true, "m.c", "taken", "Failure when opening data file"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.model) + " " + row.data);
    Session s;
    std::filesystem::create_directories("out/taken");
    if (row.switching) {
      ASSERT_EQ(entry::propertyHasCapability(s.recorder, 1), 4950u);
    }
    const Config bad[] = {files(row.model, row.data), {}}, good[] = {files("good.c", "good.bin"), {}};
    const Config* badList[] = {&bad[0], nullptr};
    const Config* goodList[] = {&good[0], nullptr};
    EXPECT_EQ(configureRecorder(s.recorder, badList), row.switching ? 4999u : 0u);
    EXPECT_EQ(entry::propertyHasCapability(s.recorder, 2), row.switching ? 4999u : 4000u);
    const auto failed = s.log.texts();
    EXPECT_NE(std::find(failed.begin(), failed.end(), row.message), failed.end());
    ASSERT_EQ(configureRecorder(s.recorder, goodList), 0u);
    EXPECT_EQ(entry::propertyHasCapability(s.recorder, 3), 4950u);
    EXPECT_EQ(s.blocks(), "   VALIDATE(error, interface.propertyHasCapability((ZebProperty_Key_t)3));\n\n");
    const auto logged = s.log.texts();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "File has already been opened"), 0);
  }
}

// A file of the recording in progress would be truncated or written into.
TEST_F(Configuration, FilesInUseAreRefused) {
  EXPECT_EQ(configure({files("same", "same")}), 1004u);
  EXPECT_EQ(logged(), "Model filename and data filename must differ");
  ASSERT_EQ(r.start(), 0u);
  const std::string started = s.model();
  for (const auto& [model, data] : {std::pair{"scribe_output.c", "other.bin"}, std::pair{"other.c", "params.bin"},
                                    std::pair{"params.bin", "x.bin"}}) {
    EXPECT_EQ(configure({files(model, data), kNoHeader}), 1004u) << model;
    EXPECT_EQ(logged().rfind("File ", 0), 0u) << logged();
  }
  EXPECT_EQ(r.modelFileName(), "scribe_output.c");
  EXPECT_EQ(s.model(), started);
}

}  // namespace
}  // namespace zeb::test
