// ZebScribe_initialize: what each option, combination and moment gives.
#include "recorder/configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "api/entry_points.h"
#include "e2e/builders.h"
#include "support/environment.h"
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
Config forward(const char* library) { return withOption(ZEB_SCRIBE_CONFIG_OPTION_FORWARD, &Config::forwardLibrary, library); }
const Config kNoHeader = option(ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER);

Zeb_ErrorHandle_t configure(Recorder& r, const std::vector<Config>& records) {
  std::vector<const Config*> pointers;
  for (const Config& record : records) pointers.push_back(&record);
  pointers.push_back(nullptr);
  return configureRecorder(r, pointers.data());
}

// The recorder's settings and its model file, which a refused call leaves as they were.
std::vector<std::string> settingsOf(Session& s) {
  Recorder& r = s.recorder;
  return {r.outputDirectory(), r.modelFileName(), r.dataFileName(), std::to_string(r.backendIdentifier()), s.model()};
}

std::string onlyWithFiles(const char* option, const char* after = "") {
  return std::string(option) + " must be provided concurrently with ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG" + after;
}
constexpr const char* kOnceStarted = " if provided after any other ZEB APIs have been called";

// Rows in order, the later ones given to a started recorder. A refused list changes nothing.
TEST(Configuration, EachListsAnswerAndMessage) {
  const char *slashes = "Model filename or data filename contain slashes", *inUse = " is in use by the current recording",
             *defaulted = " output path provided, defaulting to ./scribe_output/";
  const struct {
    bool started;
    std::vector<Config> records;
    Zeb_ErrorHandle_t code;
    std::string message;  // logged as an error when refused, else as a warning
  } rows[] = {
      {false, {directory("other"), files("a/m.c", "d.bin")}, 1004, slashes},
      {false, {directory("other"), files("m.c", "d\\x.bin")}, 1004, slashes},
      {false, {directory("other"), files(nullptr, "d.bin")}, 1004, "Model filename or data filename are NULL"},
      {false, {directory("other"), option(9)}, 1004, "Unknown Scribe config option provided: 9"},
      {false, {files("same", "same")}, 1004, "Model filename and data filename must differ"},
      {false, {kNoHeader}, 4951, onlyWithFiles("ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER")},
      {false, {directory("")}, 0, std::string("Empty") + defaulted},
      {false, {directory(nullptr)}, 0, std::string("NULL") + defaulted},
      {true, {timestamp()}, 4951, "ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP must be provided before any other ZEB APIs are called"},
      {true, {directory("x")}, 4951, onlyWithFiles("ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY", kOnceStarted)},
      {true, {backendId(3)}, 4951, onlyWithFiles("ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID", kOnceStarted)},
      // A file of the recording in progress would be truncated or written into.
      {true, {files("scribe_output.c", "other.bin"), kNoHeader}, 1004, std::string("File scribe_output.c") + inUse},
      {true, {files("other.c", "params.bin"), kNoHeader}, 1004, std::string("File params.bin") + inUse},
      {true, {files("params.bin", "x.bin"), kNoHeader}, 1004, std::string("File params.bin") + inUse},
  };
  Session s;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    if (row.started && !s.recorder.started()) s.recorder.setOutputDirectory("out/"), s.recorder.start();
    const std::vector<std::string> before = settingsOf(s);
    s.log.clear();
    EXPECT_EQ(configure(s.recorder, row.records), row.code);
    EXPECT_EQ(s.log.messages(), Logged({{row.code ? ZEB_LOG_LEVEL_ERROR : ZEB_LOG_LEVEL_WARN, row.message}}));
    const std::vector<std::string> after = settingsOf(s);
    if (row.code != 0) {
      EXPECT_EQ(after, before);
    } else {
      EXPECT_EQ(after[0], "./scribe_output/");
    }
  }
}

TEST(Configuration, TimestampedNamesBeforeTheStart) {
  Session s;
  Recorder& r = s.recorder;
  ASSERT_EQ(configure(r, {files("m.c", "d.bin"), timestamp()}), 0u);
  const std::regex stamped("scribe_output_(\\d\\d-\\d\\d-\\d{4}_\\d\\d_\\d\\d_\\d\\d)\\.c");
  std::smatch match;
  const std::string model = r.modelFileName();
  ASSERT_TRUE(std::regex_match(model, match, stamped)) << model;
  EXPECT_EQ(r.dataFileName(), "params_" + match[1].str() + ".bin");
  EXPECT_EQ(configureRecorder(r, nullptr), 0u);
  EXPECT_EQ(r.modelFileName(), "scribe_output.c");
  EXPECT_EQ(r.dataFileName(), "params.bin");
}

// A start or a switch that fails (a directory in the way; a name that cannot be opened:
// empty, or a directory's) leaves no file open: the next one, to good names, succeeds and
// records, and a switch finishes the program it leaves.
TEST(Recovery, AFailedStartOrSwitchLeavesTheWayOpenForTheNextOne) {
  const struct {
    bool switching;
    const char *directory, *model, *data, *message;
  } rows[] = {{false, "blocked", "m.c", "d.bin", "blocked already exists"},
              {false, "out", "m.c", "", "Could not open file: out/"},
              {false, "out", "taken", "d.bin", "Could not open file: out/taken"},
              {false, "out", "m.c", "taken", "Could not open file: out/taken"},
              {true, "blocked", "m.c", "d.bin", "Failure when opening model file"},
              {true, "out", "taken", "d.bin", "Failure when opening model file"},
              {true, "out", "m.c", "taken", "Failure when opening data file"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.directory) + " " + row.model + " " + row.data);
    Session s;
    std::ofstream("blocked") << "in the way";
    std::filesystem::create_directories("out/taken");
    if (row.switching) {
      ASSERT_EQ(entry::propertyHasCapability(s.recorder, 1), 4950u);
    }
    const auto records = {directory(row.directory), files(row.model, row.data)};
    EXPECT_EQ(configure(s.recorder, records), row.switching ? 4999u : 0u);
    EXPECT_EQ(entry::propertyHasCapability(s.recorder, 2), row.switching ? 4999u : 4000u);
    const auto failed = s.log.texts();
    EXPECT_NE(std::find(failed.begin(), failed.end(), row.message), failed.end());
    ASSERT_EQ(configure(s.recorder, {directory("out"), files("good.c", "good.bin"), backendId(3)}), 0u);
    EXPECT_EQ(s.recorder.backendIdentifier(), 3u);
    EXPECT_EQ(entry::propertyHasCapability(s.recorder, 3), 4950u);
    EXPECT_EQ(s.blocks(), "   VALIDATE(error, interface.propertyHasCapability((ZebProperty_Key_t)3));\n\n");
    EXPECT_NE(s.model().find("fopen(\"good.bin\", \"rb\")"), std::string::npos);
    const std::string left = readFile("out/scribe_output.c");
    EXPECT_EQ(row.switching, left.size() > modelFooter().size() &&
                                 left.substr(left.size() - modelFooter().size()) == modelFooter());
    const auto logged = s.log.texts();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "File has already been opened"), 0);
  }
}

// Each variable once with a value it takes, and once with one it cannot use: every start then
// answers 4000, naming the variable.
TEST(Environment, EachVariableSetsItsOptionOrRefusesTheStart) {
  const struct { const char *variable, *value; bool (*taken)(Recorder&); const char *bad, *refusal; } rows[] = {
      {"ZEBSCRIBE_OUTPUT_DIR", "elsewhere", [](Recorder& r) { return r.outputDirectory() == "elsewhere"; }, "",
       "it is empty"},
      {"ZEBSCRIBE_MODEL_FILE", "m.c", [](Recorder& r) { return r.modelFileName() == "m.c"; }, "a/m.c",
       "a file name holds no slash or backslash"},
      {"ZEBSCRIBE_DATA_FILE", "d.bin", [](Recorder& r) { return r.dataFileName() == "d.bin"; }, "d\\x.bin",
       "a file name holds no slash or backslash"},
      {"ZEBSCRIBE_TIMESTAMP", "1", [](Recorder& r) { return r.dataFileName().rfind("params_", 0) == 0; }, "yes",
       "it must be 0 or 1"},
      {"ZEBSCRIBE_HEADER", "0", [](Recorder& r) { return !r.modelFile().writeHeader && r.dataFile().append; }, "2",
       "it must be 0 or 1"},
      {"ZEBSCRIBE_FOOTER", "0", [](Recorder& r) { return !r.modelFile().writeFooter; }, "off", "it must be 0 or 1"},
      {"ZEBSCRIBE_BACKEND_ID", "3", [](Recorder& r) { return r.backendIdentifier() == 3; }, "4294967296",
       "it must be a decimal number below 4294967296"},
      {"ZEBSCRIBE_FORWARD", ZEB_ECHO_LIBRARY, [](Recorder& r) { return r.forwarding(); }, "", "it is empty"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.variable);
    ScopedTempDir directory;
    LogCapture log;
    if (kEmptyVariablesKept || *row.bad != '\0') {
      const EnvironmentVariable variable(row.variable, row.bad);
      Recorder recorder;
      for (int start = 0; start < 2; ++start) {
        EXPECT_EQ(recorder.start(), 4000u);
        ASSERT_FALSE(log.texts().empty());
        EXPECT_EQ(log.texts().back(), std::string(row.variable) + "=\"" + row.bad + "\" cannot be used: " + row.refusal);
      }
      EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
    }
    const EnvironmentVariable variable(row.variable, row.value);
    Recorder recorder;
    EXPECT_TRUE(row.taken(recorder));
    EXPECT_EQ(recorder.start(), 0u);
  }
}

// The environment's names take the defaults' place; each option given overrides its own. The
// backend to forward to is taken at the start, and one that cannot be loaded refuses it.
TEST(Environment, ZebScribeInitializeOverridesIt) {
  ScopedTempDir directory;
  LogCapture log;
  const EnvironmentVariable model("ZEBSCRIBE_MODEL_FILE", "env.c"), data("ZEBSCRIBE_DATA_FILE", "env.bin"),
      library("ZEBSCRIBE_FORWARD", "missing.so");
  Recorder r;
  EXPECT_EQ(configure(r, {files("m.c", "d.bin")}), 0u);
  EXPECT_EQ(r.modelFileName(), "m.c");
  EXPECT_EQ(configureRecorder(r, nullptr), 0u);
  EXPECT_EQ(r.modelFileName(), "env.c");
  EXPECT_EQ(r.dataFileName(), "env.bin");
  EXPECT_EQ(r.start(), 4000u);
  EXPECT_EQ(log.texts().back().rfind("Cannot load the backend to forward to, missing.so: ", 0), 0u) << log.texts().back();
  EXPECT_EQ(configure(r, {forward("")}), 1004u);
  EXPECT_EQ(log.texts().back(), "Empty forward library path provided");
  EXPECT_EQ(configure(r, {forward(nullptr)}), 0u);
  EXPECT_FALSE(r.forwarding());
  ASSERT_EQ(r.start(), 0u);
  EXPECT_EQ(configure(r, {forward(ZEB_ECHO_LIBRARY)}), 4951u);
  EXPECT_EQ(log.texts().back(), "ZEB_SCRIBE_CONFIG_OPTION_FORWARD must be provided before any other ZEB APIs are called");
  EXPECT_FALSE(r.forwarding());
}

}  // namespace
}  // namespace zeb::test
