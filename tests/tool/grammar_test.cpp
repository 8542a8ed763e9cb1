// The grammar of recorded statements: everything the recorder writes is known
// to it, every shape in it is one the recorder writes, and anything else is
// foreign code that dump and build refuse.
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "emit/statement_builder.h"
#include "replay_harness.h"
#include "zebscribe/commands.h"
#include "zebscribe/findings.h"
#include "zebscribe/tool_error.h"

namespace zeb::tool {
namespace {

namespace fs = std::filesystem;
using e2e::ScratchDir;

fs::path golden(const ScratchDir& scratch, const std::string& name) { return e2e::copyGolden(e2e::sub(scratch, name), name); }

Recording load(const fs::path& model) { return loadRecording({model.parent_path(), model, {}}); }

// A graph whose declaring block was lost is declared `= NULL` by the next
// block that names it: the graphs scenario with a failed model write, found by
// failing each in turn (the runner lists its stream operations: m for a model write).
fs::path lostGraphRecording(const ScratchDir& scratch) {
  const fs::path dir = e2e::sub(scratch, "lost_graph"), model = dir / "scribe_output" / "scribe_output.c";
  const auto faultRun = [&](std::size_t fault) {
    fs::remove_all(dir / "scribe_output");
    return e2e::runIn(dir, e2e::run(ZEB_E2E_FAULT_RUNNER, {"graphs", std::to_string(fault), "outcomes.txt"})).output;
  };
  std::string listed = faultRun(0), kinds;
  std::istringstream(listed.substr(listed.find('\n'))) >> listed >> kinds;
  for (std::size_t fault = 1; fault <= kinds.size(); ++fault) {
    if (kinds[fault - 1] != 'm') continue;
    faultRun(fault);
    if (std::regex_search(e2e::readFile(model), std::regex("\n   Zeb_GraphHandle_t \\w+ = NULL;\n"))) return model;
  }
  ADD_FAILURE() << "no failed write left a graph declared = NULL";
  return model;
}

// Goldens, named scenarios, random seeds and a failed write: every shape.
std::vector<fs::path> corpus(const ScratchDir& scratch) {
  std::vector<fs::path> models;
  for (const char* name : {"all-families", "binaries", "data-path", "graphs"})
    models.push_back(golden(scratch, name) / "scribe_output.c");
  std::vector<std::string> scenarios = {"all-families-no-queries", "data-and-binaries", "several-blobs", "non-finite-floats", "names-table"};
  for (int seed = 1; seed <= 24; ++seed) scenarios.push_back("random:" + std::to_string(seed));
  for (const std::string& scenario : scenarios) {
    const fs::path dir = e2e::sub(scratch, e2e::asTestName(scenario));
    EXPECT_EQ(e2e::runScenarioIn(dir, e2e::tool("SCRIBE_LIB"), scenario).exitCode, 0) << scenario;
    for (const auto& entry : fs::directory_iterator(dir / "scribe_output"))
      if (entry.path().extension() == ".c") models.push_back(entry.path());
  }
  models.push_back(lostGraphRecording(scratch));
  return models;
}

TEST(Grammar, KnowsEveryStatementTheRecorderWritesAndNoShapeItDoesNot) {
  const ScratchDir scratch;
  std::map<const Shape*, std::size_t> uses;
  for (const fs::path& model : corpus(scratch)) {
    const Recording recording = load(model);
    for (const ForeignCode& foreign : recording.foreign)
      ADD_FAILURE() << model << ":" << foreign.line << ": " << foreign.message;
    for (const Block& block : recording.body.blocks)
      for (const Recognised& statement : block.recognised) ++uses[statement.shape];
  }
  for (const Shape& shape : recorderShapes()) EXPECT_GT(uses[&shape], 0u) << "never written: " << shape.pattern;
}

// Every float the recorder can write reads back as one float, whatever its bits.
TEST(Grammar, ReadsEveryFloatTheRecorderWrites) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  std::vector<float> values = {0.0f, -0.0f, 1.0f, 0.1f, -2.5f, 3.0e-7f, 1e9f, 123456792.0f, inf, -inf, nan, -nan,
                               std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min()};
  std::mt19937 random(20240527);
  for (int i = 0; i < 100000; ++i) {
    const uint32_t bits = random();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
  }
  for (const float value : values) {
    const std::string text = floatToText(value);
    EXPECT_EQ(floatLength(text), text.size()) << text;
  }
  // Not the recorder's: read as far as a float goes, or not at all.
  const std::pair<const char*, std::size_t> others[] = {
      {"0.0", 0},    {"1.50", 0},  {"01", 1},       {"1.", 0},      {".5", 0},  {"1e5", 0}, {"1e+5", 0},
      {"nan", 0},    {"inf", 0},   {"-", 0},        {"1e+05x", 5},  {"(0.0f/0.0f);x", 11},
      {"(union {uint32_t u; float f;}){0xffc00001}.f;", 44}, {"(union {uint32_t u; float f;}){0x7fc0000}.f", 0}};
  for (const auto& [text, length] : others) EXPECT_EQ(floatLength(text), length) << text;
}

// Every occurrence of `from` after `after`.
void replace(std::string& text, const std::string& from, const std::string& to, const std::string& after = "") {
  for (std::size_t at = text.find(from, text.find(after)); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// A golden recording doctored, and the line where check must find foreign code.
struct Injection {
  const char *name, *golden;
  void (*doctor)(std::string& model);
  std::size_t line;
};

#define EDIT(from, to) [](std::string& text) { replace(text, from, to); }
#define BACKEND(to) EDIT("   Zeb_BackendHandle_t backend_0;\n", to)  // line 84 of data-path
#define READ(to) EDIT("   fread(context_0_tensor_0_data, 1, 4, fp);\n", to)
constexpr char kFooterEnd[] = "? 0 : error;\n}\n";
const Injection kInjections[] = {
    {"call_to_system", "data-path", BACKEND("   Zeb_BackendHandle_t backend_0;\n   system(\"touch pwned\");\n"), 85},
    {"statement_after_declaration", "data-path", BACKEND("   Zeb_BackendHandle_t backend_0; system(\"touch pwned\");\n"), 84},
    {"call_in_an_argument", "data-path", EDIT("backendFree(backend_0)", "backendFree(system(\"touch pwned\"))"), 166},
    {"member_not_in_the_api", "data-path", EDIT("interface.backendFree(", "interface.system("), 166},
    {"block_comment", "data-path", BACKEND("   /* */ Zeb_BackendHandle_t backend_0;\n"), 84},
    {"line_comment", "data-path", BACKEND("   Zeb_BackendHandle_t backend_0; // a\n"), 84},
    {"preprocessor_line", "data-path", BACKEND("#define VALIDATE(e, v) system(\"touch pwned\")\n"), 84},
    {"line_continuation", "data-path", BACKEND("   Zeb_BackendHandle_t backend_0; \\\n"), 84},
    {"trigraph", "data-path", BACKEND("?\?=define x system(\"touch pwned\")\n"), 84},
    {"digraph", "data-path", BACKEND("%:define x system(\"touch pwned\")\n"), 84},
    {"tab_for_spaces", "data-path", BACKEND("\tZeb_BackendHandle_t backend_0;\n"), 84},
    {"string_closing_early", "data-path",
     EDIT("\"table\"", "\"x\", 0, 0, 0, 0, 0, 0, 0, 0}; system(\"touch pwned\"); Zeb_TensorV1_t y = {0, \"\""), 96},
    {"string_escaping_its_quote", "data-path", EDIT("\"table\"", "\"x\\\""), 96},
    {"string_with_a_carriage_return", "data-path", EDIT("\"table\"", "\"x\r#include </dev/zero>\""), 96},
    {"fread_past_its_array", "data-path", READ("   fread(context_0_tensor_0_data, 1, 400, fp);\n"), 93},
    {"fread_of_another_size", "data-path", READ("   fread(context_0_tensor_0_data, 8, 4, fp);\n"), 93},
    {"fread_into_another_array", "data-path", READ("   fread(context_0_tensor_0_dims, 1, 4, fp);\n"), 93},
    {"frame_name_declared", "data-path", EDIT("Zeb_BackendHandle_t backend_0;", "Zeb_BackendHandle_t interface;"), 84},
    {"frame_name_assigned", "binaries",
     [](std::string& text) { replace(text, "context_0_fp", "fp", "   context_0_buffer = (uint8_t*)malloc"); }, 110},
    {"data_file_name_outside_the_directory", "data-path", EDIT("params.bin", "../params.bin"), 66},
    {"data_file_name_with_a_conversion", "data-path", EDIT("params.bin", "%n.bin"), 66},
    {"code_after_the_footer", "data-path",
     EDIT(kFooterEnd, std::string(kFooterEnd) + "__attribute__((constructor)) static void f(void) { system(\"touch pwned\"); }\n"), 175},
};

class ForeignCode : public testing::TestWithParam<Injection> {};

TEST_P(ForeignCode, IsFoundOnItsLineAndNotCompiledUnlessTrusted) {
  const Injection& injection = GetParam();
  const ScratchDir scratch;
  const fs::path dir = golden(scratch, injection.golden), model = dir / "scribe_output.c";
  std::string text = e2e::readFile(model);
  injection.doctor(text);
  std::ofstream(model, std::ios::binary) << text;
  // A data file named anew must be there, so that only the foreign code is refused.
  if (!load(model).dataFileBytes) fs::copy_file(dir / "params.bin", load(model).data);
  const Recording recording = load(model);
  ASSERT_FALSE(recording.foreign.empty());
  EXPECT_EQ(recording.data.parent_path(), dir);  // which seal cuts, whatever the header names
  EXPECT_EQ(recording.foreign.front().line, injection.line) << recording.foreign.front().message;
  bool reported = false;
  for (const Finding& finding : examine(recording))
    reported |= !finding.warning && finding.line == injection.line && finding.message.find("foreign code") == 0;
  EXPECT_TRUE(reported);
  try {
    requireReplayable(recording, false);
    ADD_FAILURE() << "not refused";
  } catch (const ToolError& refusal) {
    EXPECT_EQ(refusal.status(), kExitProblems);
    EXPECT_NE(std::string(refusal.what()).find(":" + std::to_string(injection.line) + ": holds code that no recorder writes"),
              std::string::npos) << refusal.what();
  }
  EXPECT_NO_THROW(requireReplayable(recording, true));
}

INSTANTIATE_TEST_SUITE_P(Injected, ForeignCode, testing::ValuesIn(kInjections),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zeb::tool
