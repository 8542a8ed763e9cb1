// Each row: a doctored recording and the exit status every subcommand must give.
#include <random>
#include <regex>
#include <sstream>

#include "replay_harness.h"

namespace zeb::e2e {
namespace {

// Without the "$ command" line runIn puts first; dump and build with the test's compiler.
CommandResult zebscribe(const fs::path& dir, std::vector<std::string> args) {
  args.insert(args.begin() + 1, dir.string());
  if (args[0] == "dump" || args[0] == "build") args.insert(args.end(), {"--cc", ZEB_TOOL_CC});
  if (args[0] == "build") args.insert(args.end(), {"--backend", tool("ECHO_LIB")});
  CommandResult result = runIn(dir.parent_path(), run(ZEB_TOOL, args));
  result.output.erase(0, result.output.find('\n') + 1);
  return result;
}

std::vector<std::string> lines(const std::string& text) { return readLines(std::istringstream(text)); }

void writeFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

std::size_t callCount(const fs::path& dir) {
  std::smatch match;
  const std::string json = zebscribe(dir, {"info", "--json"}).output;
  return std::regex_search(json, match, std::regex("\"calls\":([0-9]+)")) ? std::stoul(match[1]) : 0;
}

// Recorded once for all tests, with the calls of a direct run.
struct Recorded { fs::path dir; std::vector<std::string> directCalls; };

const Recorded& recorded(const std::string& scenario) {
  static ScratchDir scratch;
  static std::map<std::string, Recorded> cache;
  if (const auto found = cache.find(scenario); found != cache.end()) return found->second;
  const fs::path direct = sub(scratch, asTestName(scenario) + "_direct"), through = sub(scratch, asTestName(scenario));
  EXPECT_EQ(runScenarioIn(direct, tool("ECHO_LIB"), scenario).exitCode, 0);
  EXPECT_EQ(runScenarioIn(through, tool("SCRIBE_LIB"), scenario).exitCode, 0);
  const Recorded result{through / "scribe_output", recordedCalls(readLines(direct / kEchoLogName))};
  return cache.emplace(scenario, result).first->second;
}

fs::path copyOf(const ScratchDir& scratch, const std::string& scenario) {
  const fs::path copy = scratch.path() / "work" / "recording";
  fs::remove_all(copy.parent_path());
  fs::create_directories(copy.parent_path());
  fs::copy(recorded(scenario).dir, copy);
  return copy;
}

constexpr char kFooterStart[] = "   if (logging) {\n     VALIDATE(error, interface.logFree";
constexpr char kHeaderEnd[] = "interface.logCreate(NULL, logLevel, &loghandle));\n   }\n";
std::size_t headerSize(const std::string& model) { return model.find(kHeaderEnd) + std::string(kHeaderEnd).size(); }

fs::path modelFile(const fs::path& d) { return d / "scribe_output.c"; }
// The model file with its first `from` replaced.
void replaceText(const fs::path& d, const std::string& from, const std::string& to) {
  std::string text = readFile(modelFile(d));
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  writeFile(modelFile(d), text.replace(at, from.size(), to));
}
void cutModel(const fs::path& d, std::size_t size) { fs::resize_file(modelFile(d), size); }
void withoutFooter(const fs::path& d) { cutModel(d, readFile(modelFile(d)).rfind(kFooterStart)); }
std::string randomBytes() {
  std::mt19937 random(7);
  std::string bytes(4096, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

const std::string kContextBlock =
    "   const ZebContext_Config_t* context_0_config_0[] = {NULL};\n   Zeb_ContextHandle_t context_0;\n"
    "   VALIDATE(error, interface.contextCreate(backend_0, NULL, context_0_config_0, &context_0));\n\n";

struct Row {
  const char *name, *scenario;
  int info, check, seal, dump, build;
  const char* checkSays;  // in check's output
  void (*doctor)(const fs::path&);
};

const Row kRows[] = {
    {"no_footer", "data-path", 0, 1, 0, 1, 1, "no footer", withoutFooter},
    {"partial_block", "data-and-binaries", 0, 1, 0, 1, 1, "cut short",
     [](const fs::path& d) { cutModel(d, readFile(modelFile(d)).find("context_1_fp = fopen")); }},
    {"header_cut", "data-path", 1, 1, 1, 1, 1, "inside the model header", [](const fs::path& d) { cutModel(d, 1000); }},
    {"truncated_data", "data-path", 1, 1, 1, 1, 1, "the data file is truncated", [](const fs::path& d) { fs::resize_file(d / "params.bin", 30); }},
    {"unfinished_truncated_data", "data-path", 1, 1, 1, 1, 1, "the data file is truncated",
     [](const fs::path& d) { withoutFooter(d), fs::resize_file(d / "params.bin", 30); }},
    {"surplus_data", "data-path", 0, 1, 1, 0, 0, "8 bytes belong to no call",
     [](const fs::path& d) { writeFile(d / "params.bin", readFile(d / "params.bin") + "12345678"); }},
    {"missing_data", "data-path", 1, 1, 1, 1, 1, "is missing", [](const fs::path& d) { fs::remove(d / "params.bin"); }},
    {"name_twice", "data-path", 0, 1, 1, 1, 1, "context_0 is declared again",
     [](const fs::path& d) { replaceText(d, kContextBlock, kContextBlock + kContextBlock); }},
    // Client strings that the recorder writes unchanged.
    {"backslash", "all-families", 0, 0, 1, 0, 0, "\"C:\\zeb\\ops.dll\" holds a backslash",
     [](const fs::path& d) { replaceText(d, "\"/opt/zeb/libCustomOps.so\"", "\"C:\\zeb\\ops.dll\""); }},
    {"double_quote", "all-families", 0, 0, 1, 1, 1, "holds a double quote",
     [](const fs::path& d) { replaceText(d, "\"libMoreOps.so\"", "\"say \"hi\"\""); }},
    {"line_break", "all-families", 0, 0, 1, 1, 1, "\"two\\nlines\" holds a line break",
     [](const fs::path& d) { replaceText(d, "\"mobilenet v2\"", "\"two\nlines\""); }},
    {"altered_header", "frame-only", 2, 2, 2, 2, 2, "its header differs from the recorder's at line",
     [](const fs::path& d) { replaceText(d, "#include", "#include <math.h>\n#include"); }},
    {"empty_model", "frame-only", 2, 2, 2, 2, 2, "not a ZebScribe recording", [](const fs::path& d) { writeFile(modelFile(d), ""); }},
    {"random_bytes", "frame-only", 2, 2, 2, 2, 2, "not a ZebScribe recording", [](const fs::path& d) { writeFile(modelFile(d), randomBytes()); }},
    {"other_program", "frame-only", 2, 2, 2, 2, 2, "not a ZebScribe recording",
     [](const fs::path& d) {
       writeFile(modelFile(d), "// not recorded\n#include <stdio.h>\nint main(void) {\n  printf(\"\\\\ \\\"\\n\");\n  return 0;\n}\n");
     }},
    {"no_directory", "frame-only", 2, 2, 2, 2, 2, "no such directory", [](const fs::path& d) { fs::remove_all(d); }},
};

class Verdicts : public testing::TestWithParam<Row> {};

TEST_P(Verdicts, EachSubcommandGivesItsStatus) {
  const Row& row = GetParam();
  const ScratchDir scratch;
  const fs::path dir = copyOf(scratch, row.scenario);
  row.doctor(dir);
  const CommandResult check = zebscribe(dir, {"check"});
  EXPECT_EQ(check.exitCode, row.check) << check.output;
  EXPECT_NE(check.output.find(row.checkSays), std::string::npos) << check.output;
  EXPECT_EQ(zebscribe(dir, {"info"}).exitCode, row.info);
  EXPECT_EQ(zebscribe(dir, {"info", "--json"}).exitCode, row.info);
  const CommandResult dump = zebscribe(dir, {"dump"});
  EXPECT_EQ(dump.exitCode, row.dump) << dump.output;
  EXPECT_EQ(zebscribe(dir, {"build"}).exitCode, row.build);
  const CommandResult seal = zebscribe(dir, {"seal"});
  ASSERT_EQ(seal.exitCode, row.seal) << seal.output;
  if (seal.exitCode == 0) { EXPECT_EQ(zebscribe(dir, {"check"}).exitCode, 0); }
}

INSTANTIATE_TEST_SUITE_P(Doctored, Verdicts, testing::ValuesIn(kRows), [](const auto& info) { return std::string(info.param.name); });

// Cut at seeded offsets and the edges of header and footer, a sound recording fails check;
// seal repairs a cut after the header, keeping the calls whose blocks survived.
TEST(CutRecordings, SealKeepsTheCallsBeforeTheCut) {
  const ScratchDir scratch;
  const std::string scenario = "data-and-binaries";
  const std::string model = readFile(recorded(scenario).dir / "scribe_output.c");
  const fs::path whole = copyOf(scratch, scenario);
  EXPECT_EQ(zebscribe(whole, {"check"}).exitCode, 0);
  EXPECT_EQ(zebscribe(whole, {"seal"}).exitCode, 1);
  EXPECT_EQ(callCount(whole), recorded(scenario).directCalls.size());
  std::vector<std::size_t> offsets = {0, headerSize(model) / 2, headerSize(model), model.rfind(kFooterStart) + 20};
  std::mt19937 random(13);
  for (int i = 0; i < 5; ++i) offsets.push_back(random() % model.size());
  for (const std::size_t offset : offsets) {
    SCOPED_TRACE("cut at byte " + std::to_string(offset));
    const fs::path dir = copyOf(scratch, scenario);
    cutModel(dir, offset);
    EXPECT_NE(zebscribe(dir, {"check"}).exitCode, 0);
    const CommandResult seal = zebscribe(dir, {"seal"});
    ASSERT_EQ(seal.exitCode == 0, offset >= headerSize(model)) << seal.output;
    if (seal.exitCode != 0) continue;
    EXPECT_EQ(zebscribe(dir, {"check"}).exitCode, 0);
    // Every call line wholly before the cut survives, but the one whose block it ends.
    const std::string kept = model.substr(0, offset);
    const std::regex callLine("\n   VALIDATE\\(error, interface\\.[^\n]*\n");
    const auto callLines = static_cast<std::size_t>(
        std::distance(std::sregex_iterator(kept.begin(), kept.end(), callLine), std::sregex_iterator()));
    const std::size_t calls = callCount(dir);
    EXPECT_TRUE(calls == callLines || calls + 1 == callLines) << calls << " of " << callLines;
    const CommandResult dump = zebscribe(dir, {"dump"});
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    const std::vector<std::string>& all = recorded(scenario).directCalls;
    ASSERT_EQ(lines(dump.output).size(), calls);
    EXPECT_EQ(firstDifference({all.begin(), all.begin() + calls}, lines(dump.output)), "");
  }
}

}  // namespace
}  // namespace zeb::e2e
