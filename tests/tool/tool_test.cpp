// zebscribe on the recordings of the whole-road scenarios, on doctored and
// cut copies of them, and on files that are no recording at all. Each row of
// the table names a recording and the exit status every subcommand must give.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "replay_harness.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

CommandResult zebscribe(const ScratchDir& scratch, const std::string& arguments) {
  const fs::path output = scratch.path() / "tool_output.txt";
  const std::string command = std::string(ZEB_TOOL) + " " + arguments;
  const int status = std::system((command + " > '" + output.string() + "' 2>&1").c_str());
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return {code, readFile(output)};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> found;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) found.push_back(line);
  return found;
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The scenarios recorded once for all tests, with the calls of a direct run.
struct Recorded {
  fs::path dir;
  std::vector<std::string> directCalls;
};

const Recorded& recorded(const std::string& scenario) {
  static ScratchDir scratch;
  static std::map<std::string, Recorded> cache;
  auto found = cache.find(scenario);
  if (found != cache.end()) return found->second;
  std::string safe = std::regex_replace(scenario, std::regex("[^a-z0-9]"), "_");
  const fs::path direct = sub(scratch, safe + "_direct");
  const fs::path through = sub(scratch, safe);
  EXPECT_EQ(runScenarioIn(direct, tool("ECHO_LIB"), scenario).exitCode, 0);
  EXPECT_EQ(runScenarioIn(through, tool("SCRIBE_LIB"), scenario).exitCode, 0);
  Recorded result{through / "scribe_output", recordedCalls(readLines(direct / kEchoLogName))};
  return cache.emplace(scenario, result).first->second;
}

// A copy of a scenario's recording that a test may change.
fs::path copyOf(const ScratchDir& scratch, const std::string& scenario) {
  const fs::path copy = scratch.path() / "recording";
  fs::remove_all(copy);
  fs::copy(recorded(scenario).dir, copy);
  return copy;
}

void cutFile(const fs::path& file, std::size_t size) { fs::resize_file(file, size); }

void replaceText(const fs::path& file, const std::string& from, const std::string& to) {
  std::string text = readFile(file);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  writeFile(file, text);
}

constexpr char kFooterStart[] = "   if (logging) {\n     VALIDATE(error, interface.logFree";
constexpr char kHeaderEnd[] = "interface.logCreate(NULL, logLevel, &loghandle));\n   }\n";

std::size_t headerSize(const std::string& model) {
  return model.find(kHeaderEnd) + std::string(kHeaderEnd).size();
}

// The doctored recordings: each takes the copy's directory.
using Doctor = void (*)(const fs::path&);

const std::string kContextBlock =
    "   const ZebContext_Config_t* context_0_config_0[] = {NULL};\n"
    "   Zeb_ContextHandle_t context_0;\n"
    "   VALIDATE(error, interface.contextCreate(backend_0, NULL, context_0_config_0, "
    "&context_0));\n\n";

void withoutFooter(const fs::path& d) {
  cutFile(d / "scribe_output.c", readFile(d / "scribe_output.c").rfind(kFooterStart));
}
void cutInBlock(const fs::path& d) {
  cutFile(d / "scribe_output.c", readFile(d / "scribe_output.c").find("context_1_fp = fopen"));
}
void cutInHeader(const fs::path& d) { cutFile(d / "scribe_output.c", 1000); }
void truncatedData(const fs::path& d) { cutFile(d / "params.bin", 30); }
void surplusData(const fs::path& d) {
  writeFile(d / "params.bin", readFile(d / "params.bin") + "12345678");
}
void missingData(const fs::path& d) { fs::remove(d / "params.bin"); }
void nameTwice(const fs::path& d) {
  replaceText(d / "scribe_output.c", kContextBlock, kContextBlock + kContextBlock);
}
// Client strings that the recorder writes unchanged.
void backslash(const fs::path& d) {
  replaceText(d / "scribe_output.c", "\"/opt/zeb/libCustomOps.so\"", "\"C:\\zeb\\ops.dll\"");
}
void doubleQuote(const fs::path& d) {
  replaceText(d / "scribe_output.c", "\"libMoreOps.so\"", "\"say \"hi\"\"");
}
void lineBreak(const fs::path& d) {
  replaceText(d / "scribe_output.c", "\"mobilenet v2\"", "\"two\nlines\"");
}
void emptyModel(const fs::path& d) { writeFile(d / "scribe_output.c", ""); }
void randomBytes(const fs::path& d) {
  std::mt19937 random(7);
  std::string bytes(4096, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  writeFile(d / "scribe_output.c", bytes);
}
void otherProgram(const fs::path& d) {
  writeFile(d / "scribe_output.c",
            "// not recorded\n#include <stdio.h>\nint main(void) {\n"
            "  printf(\"\\\\ \\\"\\n\");\n  return 0;\n}\n");
}
void noDirectory(const fs::path& d) { fs::remove_all(d); }

struct Row {
  const char* name;
  const char* scenario;
  Doctor doctor;
  int info, check, seal, dump, build;
  const char* checkSays;  // in check's output
};

const Row kRows[] = {
    {"no_footer", "data-path", withoutFooter, 0, 1, 0, 1, 1, "no footer"},
    {"partial_block", "data-and-binaries", cutInBlock, 0, 1, 0, 1, 1, "cut short"},
    {"header_cut", "data-path", cutInHeader, 1, 1, 1, 1, 1, "inside the model header"},
    {"truncated_data", "data-path", truncatedData, 1, 1, 1, 1, 1, "the data file is truncated"},
    {"surplus_data", "data-path", surplusData, 0, 1, 1, 0, 0, "8 bytes belong to no call"},
    {"missing_data", "data-path", missingData, 1, 1, 1, 1, 1, "is missing"},
    {"name_twice", "data-path", nameTwice, 0, 1, 1, 1, 1, "context_0 is declared again"},
    {"backslash", "all-families", backslash, 0, 0, 1, 0, 0,
     "\"C:\\zeb\\ops.dll\" holds a backslash"},
    {"double_quote", "all-families", doubleQuote, 0, 0, 1, 1, 1, "holds a double quote"},
    {"line_break", "all-families", lineBreak, 0, 0, 1, 1, 1, "\"two\\nlines\" holds a line break"},
    {"empty_model", "frame-only", emptyModel, 2, 2, 2, 2, 2, "not a ZebScribe recording"},
    {"random_bytes", "frame-only", randomBytes, 2, 2, 2, 2, 2, "not a ZebScribe recording"},
    {"other_program", "frame-only", otherProgram, 2, 2, 2, 2, 2, "not a ZebScribe recording"},
    {"no_directory", "frame-only", noDirectory, 2, 2, 2, 2, 2, "no such directory"},
};

std::string compilerOption() { return std::string(" --cc '") + ZEB_TOOL_CC + "'"; }

class Verdicts : public testing::TestWithParam<Row> {};

TEST_P(Verdicts, EachSubcommandGivesItsStatus) {
  const Row& row = GetParam();
  ScratchDir scratch;
  const fs::path dir = copyOf(scratch, row.scenario);
  row.doctor(dir);
  const std::string at = " '" + dir.string() + "'";
  const CommandResult check = zebscribe(scratch, "check" + at);
  EXPECT_EQ(check.exitCode, row.check) << check.output;
  EXPECT_NE(check.output.find(row.checkSays), std::string::npos) << check.output;
  EXPECT_EQ(zebscribe(scratch, "info" + at).exitCode, row.info);
  EXPECT_EQ(zebscribe(scratch, "info --json" + at).exitCode, row.info);
  const CommandResult dump = zebscribe(scratch, "dump" + at + compilerOption());
  EXPECT_EQ(dump.exitCode, row.dump) << dump.output;
  const std::string backend = " --backend '" + tool("ECHO_LIB") + "'";
  EXPECT_EQ(zebscribe(scratch, "build" + at + backend + compilerOption()).exitCode, row.build);
  const CommandResult seal = zebscribe(scratch, "seal" + at);
  ASSERT_EQ(seal.exitCode, row.seal) << seal.output;
  if (seal.exitCode == 0) {
    EXPECT_EQ(zebscribe(scratch, "check" + at).exitCode, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Doctored, Verdicts, testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> scenarioNames() {
  std::vector<std::string> names = {"random:7"};
  for (const Scenario& scenario : namedScenarios()) names.push_back(scenario.name);
  return names;
}

std::size_t callCount(const ScratchDir& scratch, const fs::path& dir) {
  const std::string json = zebscribe(scratch, "info --json '" + dir.string() + "'").output;
  std::smatch match;
  return std::regex_search(json, match, std::regex("\"calls\":([0-9]+)")) ? std::stoul(match[1])
                                                                          : 0;
}

// A whole recording is sound, info counts its calls and dump shows what a
// direct run did.
class Scenarios : public testing::TestWithParam<std::string> {};

TEST_P(Scenarios, AreSoundAndDumpAsRun) {
  ScratchDir scratch;
  const fs::path dir = copyOf(scratch, GetParam());
  const std::string at = " '" + dir.string() + "'";
  const std::vector<std::string>& direct = recorded(GetParam()).directCalls;
  EXPECT_EQ(zebscribe(scratch, "check" + at).exitCode, 0);
  EXPECT_EQ(callCount(scratch, dir), direct.size());
  EXPECT_EQ(zebscribe(scratch, "seal" + at).exitCode, 1);
  const CommandResult dump = zebscribe(scratch, "dump" + at + compilerOption());
  ASSERT_EQ(dump.exitCode, 0) << dump.output;
  EXPECT_EQ(firstDifference(direct, lines(dump.output)), "");
}

// The program that build makes replays what dump shows.
TEST(Build, ReplaysWhatDumpShows) {
  ScratchDir scratch;
  const fs::path dir = copyOf(scratch, "data-and-binaries");
  const std::string at = " '" + dir.string() + "'" + compilerOption();
  const std::string backend = " --backend '" + tool("ECHO_LIB") + "'";
  const CommandResult build = zebscribe(scratch, "build" + at + backend);
  ASSERT_EQ(build.exitCode, 0) << build.output;
  EXPECT_NE(build.output.find("$ "), std::string::npos) << "no command shown";
  ASSERT_EQ(runProgramIn(dir, dir / "replay").exitCode, 0);
  EXPECT_EQ(readLines(dir / kEchoLogName), lines(zebscribe(scratch, "dump" + at).output));
}

INSTANTIATE_TEST_SUITE_P(Recorded, Scenarios, testing::ValuesIn(scenarioNames()),
                         [](const auto& info) {
                           return std::regex_replace(info.param, std::regex("[^a-z0-9]"), "_");
                         });

// The model file cut at seeded offsets, and at the edges of header and
// footer: check reports it; seal repairs it when the cut falls after the
// header, and the sealed program replays the calls whose blocks survived.
TEST(CutRecordings, SealKeepsTheCallsBeforeTheCut) {
  ScratchDir scratch;
  const std::string scenario = "data-and-binaries";
  const std::string model = readFile(recorded(scenario).dir / "scribe_output.c");
  const std::vector<std::string> allCalls = recorded(scenario).directCalls;
  std::vector<std::size_t> offsets = {0, headerSize(model) / 2, headerSize(model),
                                      model.rfind(kFooterStart) + 20};
  std::mt19937 random(13);
  for (int i = 0; i < 5; ++i) offsets.push_back(random() % model.size());

  for (const std::size_t offset : offsets) {
    SCOPED_TRACE("cut at byte " + std::to_string(offset));
    const fs::path dir = copyOf(scratch, scenario);
    cutFile(dir / "scribe_output.c", offset);
    const std::string at = " '" + dir.string() + "'";
    EXPECT_NE(zebscribe(scratch, "check" + at).exitCode, 0);
    const CommandResult seal = zebscribe(scratch, "seal" + at);
    ASSERT_EQ(seal.exitCode == 0, offset >= headerSize(model)) << seal.output;
    if (seal.exitCode != 0) continue;
    EXPECT_EQ(zebscribe(scratch, "check" + at).exitCode, 0);

    // Every call line wholly before the cut survives, but for the one whose
    // block the cut ends.
    const std::string kept = model.substr(0, offset);
    const std::regex callLine("\n   VALIDATE\\(error, interface\\.[^\n]*\n");
    const auto callLines = static_cast<std::size_t>(std::distance(
        std::sregex_iterator(kept.begin(), kept.end(), callLine), std::sregex_iterator()));
    const std::size_t calls = callCount(scratch, dir);
    EXPECT_TRUE(calls == callLines || calls + 1 == callLines) << calls << " of " << callLines;

    const CommandResult dump = zebscribe(scratch, "dump" + at + compilerOption());
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    const std::vector<std::string> replayed = lines(dump.output);
    ASSERT_EQ(replayed.size(), calls);
    const std::vector<std::string> before(allCalls.begin(), allCalls.begin() + calls);
    EXPECT_EQ(firstDifference(before, replayed), "");
  }
}

}  // namespace
}  // namespace zeb::e2e
