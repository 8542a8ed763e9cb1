// zebscribe on damaged and doctored recordings: for each kind of damage the
// commands claim to find, what check reports, what info says and the status
// of every command; then info against the calls a direct run made; each
// command's help; and record.
#include <random>
#include <regex>
#include <sstream>

#include "replay_harness.h"
#include "zebscribe/options.h"

namespace zeb::e2e {
namespace {

// The command's output with the recording's directory cut from every path; dump
// and build with the test's compiler.
CommandResult zebscribe(const fs::path& dir, std::vector<std::string> args) {
  args.insert(args.begin() + 1, dir.string());
  if (args[0] == "dump" || args[0] == "build") args.insert(args.end(), {"--cc", ZEB_TOOL_CC});
  if (args[0] == "build") args.insert(args.end(), {"--backend", tool("ECHO_LIB")});
  CommandResult result = runIn(dir.parent_path(), run(ZEB_TOOL, args));
  result.output.erase(0, result.output.find('\n') + 1);
  for (std::size_t at; (at = result.output.find(dir.string() + "/")) != std::string::npos;)
    result.output.erase(at, dir.string().size() + 1);
  return result;
}

void writeFile(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

fs::path modelFile(const fs::path& d) { return d / "scribe_output.c"; }
// Every occurrence of `from` in the model file.
void replaceText(const fs::path& d, const std::string& from, const std::string& to) {
  std::string text = readFile(modelFile(d));
  ASSERT_NE(text.find(from), std::string::npos) << from;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  writeFile(modelFile(d), text);
}
void cutModel(const fs::path& d, std::size_t size) { fs::resize_file(modelFile(d), size); }
constexpr char kFooterStart[] = "   if (logging) {\n     VALIDATE(error, interface.logFree";
void withoutFooter(const fs::path& d) { cutModel(d, readFile(modelFile(d)).rfind(kFooterStart)); }
// The model cut `bytes` into the first line holding `text`.
void cutInto(const fs::path& d, const std::string& text, std::size_t bytes) {
  const std::string model = readFile(modelFile(d));
  cutModel(d, model.rfind('\n', model.find(text)) + 1 + bytes);
}
void cutData(const fs::path& d, std::size_t bytes) { fs::resize_file(d / "params.bin", bytes); }

std::string randomBytes() {
  std::mt19937 random(7);
  std::string bytes(4096, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

const std::string kContextBlock =
    "   const ZebContext_Config_t* context_0_config_0[] = {NULL};\n   Zeb_ContextHandle_t context_0;\n"
    "   VALIDATE(error, interface.contextCreate(backend_0, NULL, context_0_config_0, &context_0));\n\n";

// A golden recording, doctored: what check prints, line by line (each line's
// start, the model's name cut), what info --json holds, each command's status
// (info, check, seal, dump, build) and what dump prints.
struct Row {
  const char *name, *golden;
  void (*doctor)(const fs::path&);
  const char *checkSays, *infoHolds;
  int info, check, seal, dump, build;
  const char* dumpSays = "";
};

#define DOCTOR(...) [](const fs::path& d) { (void)d; __VA_ARGS__; }
#define EDIT(from, to) DOCTOR(replaceText(d, from, to))
#define SOUND 0, 0, 1, 0, 0      // seal leaves a footer as it is
#define UNSEALED 0, 1, 0, 1, 1   // seal finishes the program
#define FAULTY 0, 1, 1, 1, 1     // seal cannot mend it
#define BROKEN 1, 1, 1, 1, 1
#define REFUSED 2, 2, 2, 2, 2     // not a recording
#define NO_FOOTER ": no footer: the recorded application did not unload the library|"
#define LEAVES_QUOTES ": foreign code: a client string on this line does not stay one C string|"
#define TRIGRAPH ", a trigraph, which C in strict ISO mode reads as another character: zebscribe builds with trigraphs off"
#define PLATFORM "\"dsp arch=v73; soc:57 {x} <y> "

fs::path goldenCopy(const ScratchDir& scratch, const char* name) { return copyGolden(sub(scratch, "recording"), name); }

constexpr char kBackend[] = "   Zeb_BackendHandle_t backend_0;\n";

const Row kRows[] = {
    {"whole", "data-path", DOCTOR(), ": sound: 11 calls, 60 bytes read from params.bin",
     R"("header":"whole","dataFileName":"params.bin","footer":true,"calls":11,"partialBlockBytes":0,"dataBytesRead":60,"dataFileBytes":60,"statements":70,"frameBytes":3792)",
     SOUND, "backendFree backend=backend#1\n"},
    {"no_footer", "data-path", DOCTOR(withoutFooter(d)), NO_FOOTER ": 1 problem", R"("footer":false,"calls":11,"partialBlockBytes":0)", UNSEALED},
    {"partial_block", "binaries", DOCTOR(cutInto(d, "   context_0_fp = fopen", 5)),
     NO_FOOTER ": params.bin holds 32 bytes but the program reads 0: 32 bytes belong to no call|"
     ":110: the block of contextGetBinary is cut short (184 bytes); `zebscribe seal` drops it|: 3 problems",
     R"("footer":false,"calls":6,"partialBlockBytes":184,"dataBytesRead":0,"dataFileBytes":32)", UNSEALED},
    {"short_partial_block", "data-path", DOCTOR(cutInto(d, "backendFree", 10)),
     NO_FOOTER ":166: 10 bytes of a block cut short before its call|: 2 problems", R"("calls":10,"partialBlockBytes":10)", UNSEALED},
    {"footer_cut", "data-path", DOCTOR(cutInto(d, "if (fclose(fp))", 5)),
     ":168: the footer is cut short: the recorded application died while writing it|: 1 problem",
     R"("footer":false,"calls":11,"partialBlockBytes":0)", UNSEALED},
    {"header_cut", "data-path", DOCTOR(cutModel(d, 1000)), ":33: the file ends inside the model header|: 1 problem",
     R"("header":"cut","dataFileName":"","footer":false,"calls":0)", BROKEN},
    {"header_missing", "data-path",
     DOCTOR(const std::string m = readFile(modelFile(d)); writeFile(modelFile(d), m.substr(m.find("   const ZebBackend")))),
     ": no model header: the calls are not a program of their own|: 1 problem",
     R"("header":"absent","dataFileName":"","footer":true,"calls":11)", FAULTY},
    {"data_short_by_one_byte", "data-path", DOCTOR(cutData(d, 59)),
     ":153: this fread needs bytes 44 to 60 of params.bin, which holds 59: the data file is truncated|: 1 problem",
     R"("dataBytesRead":60,"dataFileBytes":59)", BROKEN},
    {"data_short_at_the_first_read", "data-path", DOCTOR(withoutFooter(d), cutData(d, 2)),
     NO_FOOTER ":94: this fread needs bytes 0 to 4 of params.bin, which holds 2|: 2 problems", R"("dataBytesRead":60,"dataFileBytes":2)", BROKEN},
    {"data_beyond_the_reads", "data-path", DOCTOR(writeFile(d / "params.bin", readFile(d / "params.bin") + "12345678")),
     ": params.bin holds 68 bytes but the program reads 60: 8 bytes belong to no call|: 1 problem", R"("dataFileBytes":68)", 0, 1, 1, 0, 0},
    {"data_missing", "data-path", DOCTOR(fs::remove(d / "params.bin")), ": the data file params.bin is missing|: 1 problem",
     R"("dataBytesRead":60,"dataFileBytes":null)", BROKEN},
    {"name_declared_twice", "data-path", EDIT(kContextBlock, kContextBlock + kContextBlock),
     ":91: context_0_config_0 is declared again (first at line 87)|:92: context_0 is declared again (first at line 88)|: 2 problems",
     R"("calls":12,)", FAULTY},
    {"named_before_declared", "data-path", EDIT(kContextBlock, "   VALIDATE(error, interface.backendFree(context_0));\n\n" + kContextBlock),
     ":87: context_0 is named before its declaration at line 90|: 1 problem", R"("calls":12,)", FAULTY},
    {"named_but_declared_nowhere", "data-path", EDIT("backendFree(backend_0)", "backendFree(backend_9)"),
     ":166: backend_9 is declared nowhere in this file (made before a switch to new files?): the program does not compile|"
     ": 1 problem", R"("calls":11,)", FAULTY},
    // Recorded never, compiled all the same: the value the backend gave a tensor travels on.
    {"tensor_passed_after_its_creation", "data-path", EDIT("[] = {context_0_g_inputTensor_0_0}", "[] = {context_0_g_tensor_0}"),
     ": sound: 11 calls", R"("calls":11,)", SOUND, "graphExecute graph=graph#1 numInputs=1 inputs=[{version=1,id=tensor#2,"},
    {"foreign_code", "data-path", EDIT(kBackend, kBackend + std::string("   system(\"touch pwned\");\n")),
     ":85: foreign code, which no recorder writes: system(\"touch pwned\");|: 1 problem",
     R"("calls":11,)", FAULTY, "scribe_output.c:85: holds code that no recorder writes"},
    {"fread_past_its_array", "data-path", EDIT("_data, 1, 4, fp);", "_data, 1, 8, fp);"),
     ": params.bin holds 60 bytes but the program reads 56: 4 bytes belong to no call|"
     ":93: foreign code, which no recorder writes: static uint8_t context_0_tensor_0_data[4];|"
     ":94: foreign code, which no recorder writes: fread(context_0_tensor_0_data, 1, 8, fp);|: 3 problems",
     R"("dataBytesRead":56,"dataFileBytes":60)", FAULTY},
    {"text_after_the_footer", "data-path", DOCTOR(writeFile(modelFile(d), readFile(modelFile(d)) + "int f(void) { return 0; }\n")),
     ":175: foreign code: text follows the footer, which ends the program|: 1 problem", R"("footer":true,"calls":11,)", FAULTY},
    // Client strings, which the recorder writes unchanged.
    {"backslash", "all-families", EDIT("\"libMoreOps.so\"", "\"C:\\zeb\\ops.dll\""),
     ":103: warning: the string \"C:\\zeb\\ops.dll\" holds a backslash, which C reads as the start of an escape|: sound: 32 calls",
     R"("calls":32,)", SOUND},
    {"trigraphs", "all-families", EDIT("'z'\"", "?\?=(x?\?)\""),
     ":85: warning: the string " PLATFORM "?\?=(x?\?)\" holds ?\?=" TRIGRAPH "|"
     ":85: warning: the string " PLATFORM "?\?=(x?\?)\" holds ?\?)" TRIGRAPH "|: sound: 32 calls",
     R"("calls":32,)", SOUND, "platform=" PLATFORM "?\?=(x?\?)\""},
    {"trigraph_escaping_the_quote", "all-families", EDIT("'z'\"", "?\?/\""),
     ":85" LEAVES_QUOTES ":85: warning: the string " PLATFORM "?\?/\" holds ?\?/" TRIGRAPH "|: 1 problem", R"("calls":32,)", FAULTY},
    {"double_quote", "all-families", EDIT("\"libMoreOps.so\"", "\"say \"hi\"\""),
     ":103" LEAVES_QUOTES ":103: warning: the string \"say \"hi\"\" holds a double quote, which ends the C string early|: 1 problem",
     R"("calls":32,)", FAULTY},
    {"line_break", "all-families", EDIT("\"mobilenet v2\"", "\"two\nlines\""),
     ":147" LEAVES_QUOTES ":147: warning: the string \"two\\nlines\" holds a line break, which a C string cannot hold|: 1 problem",
     R"("calls":32,)", FAULTY},
    {"carriage_return", "all-families", EDIT(PLATFORM "'z'\"", "\"dsp\rarch\""),
     ":85" LEAVES_QUOTES ":85: warning: the string \"dsp\\rarch\" holds a carriage return, which C reads as a line break|: 1 problem",
     R"("calls":32,)", FAULTY},
    // Not recordings at all.
    {"altered_header", "data-path", EDIT("#include <stdio.h>", "#include <math.h>\n#include <stdio.h>"),
     "its header differs from the recorder's at line 9", "", REFUSED},
    {"empty_model", "data-path", DOCTOR(writeFile(modelFile(d), "")), ":1: the file ends inside the model header|: 1 problem",
     R"("header":"cut","dataFileName":"","footer":false,"calls":0)", BROKEN},
    {"random_bytes", "data-path", DOCTOR(writeFile(modelFile(d), randomBytes())), "not a ZebScribe recording", "", REFUSED},
    {"other_program", "data-path", DOCTOR(writeFile(modelFile(d), "// not recorded\nint main(void) {\n  return 0;\n}\n")),
     "not a ZebScribe recording", "", REFUSED},
    {"no_directory", "data-path", DOCTOR(fs::remove_all(d)), "no such directory", "", REFUSED},
};

class Doctored : public testing::TestWithParam<Row> {};

TEST_P(Doctored, CheckFindsWhatWasDoneAndEachCommandAnswersItsStatus) {
  const Row& row = GetParam();
  const ScratchDir scratch;
  const fs::path dir = goldenCopy(scratch, row.golden);
  row.doctor(dir);
  const CommandResult check = zebscribe(dir, {"check"});
  EXPECT_EQ(check.exitCode, row.check) << check.output;
  if (row.check == 2) {
    EXPECT_NE(check.output.find(row.checkSays), std::string::npos) << check.output;
  } else {
    std::istringstream printed(check.output), expected(row.checkSays);
    for (std::string line, start; std::getline(expected, start, '|');)
      EXPECT_TRUE(std::getline(printed, line) && line.rfind("scribe_output.c" + start, 0) == 0) << line << "\nnot " << start;
    EXPECT_EQ(printed.peek(), EOF) << check.output;
  }
  const CommandResult info = zebscribe(dir, {"info", "--json"});
  EXPECT_EQ(info.exitCode, row.info) << info.output;
  EXPECT_NE(info.output.find(row.infoHolds), std::string::npos) << info.output;
  EXPECT_EQ(zebscribe(dir, {"info"}).exitCode, row.info);
  const CommandResult dump = zebscribe(dir, {"dump"});
  EXPECT_EQ(dump.exitCode, row.dump) << dump.output;
  EXPECT_NE(dump.output.find(row.dumpSays), std::string::npos) << dump.output;
  EXPECT_EQ(zebscribe(dir, {"build"}).exitCode, row.build);
  EXPECT_FALSE(fs::exists(dir.parent_path() / "pwned"));
  const CommandResult seal = zebscribe(dir, {"seal"});
  ASSERT_EQ(seal.exitCode, row.seal) << seal.output;
  if (seal.exitCode == 0) { EXPECT_EQ(zebscribe(dir, {"check"}).exitCode, 0); }
}

INSTANTIATE_TEST_SUITE_P(Recordings, Doctored, testing::ValuesIn(kRows), [](const auto& info) { return std::string(info.param.name); });

// Dump refuses foreign code, and compiles and runs it when trusted.
TEST(ForeignCode, RunsOnlyWhenTrusted) {
  const ScratchDir scratch;
  const fs::path dir = goldenCopy(scratch, "data-path"), marker = scratch.path() / "pwned";
  replaceText(dir, kBackend, kBackend + ("   system(\"touch " + marker.string() + "\");\n"));
  EXPECT_EQ(zebscribe(dir, {"dump"}).exitCode, 1);
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_EQ(zebscribe(dir, {"dump", "--trust"}).exitCode, 0);
  EXPECT_TRUE(fs::exists(marker));
}

// Recorded once for all tests, with the calls of a direct run.
const ScenarioRun& recorded(const std::string& scenario) {
  static ScratchDir scratch;
  static std::map<std::string, ScenarioRun> cache;
  if (const auto found = cache.find(scenario); found != cache.end()) return found->second;
  return cache.emplace(scenario, ScenarioRun(sub(scratch, asTestName(scenario)), scenario)).first->second;
}

std::size_t infoNumber(const fs::path& dir, const std::string& key) {
  std::smatch match;
  const std::string json = zebscribe(dir, {"info", "--json"}).output;
  EXPECT_TRUE(std::regex_search(json, match, std::regex("\"" + key + "\":([0-9]+)"))) << json;
  return match.empty() ? 0 : std::stoul(match[1]);
}

// Info's counts, each member and what each family made, against the calls a direct run made.
TEST(Info, CountsWhatTheDirectRunDid) {
  const std::multimap<std::string, std::string> makes = {
      {"backendCreate", "backends"}, {"deviceCreate", "devices"}, {"contextCreate", "contexts"}, {"profileCreate", "profiles"},
      {"contextCreateFromBinary", "contexts"}, {"contextCreateFromBinary", "binaries"}, {"contextCreateFromBinaryWithSignal", "contexts"},
      {"contextCreateFromBinaryWithSignal", "binaries"}, {"contextValidateBinary", "binaries"}, {"contextGetBinary", "binaries"},
      {"graphCreate", "graphs"}, {"graphCreateSubgraph", "graphs"}, {"graphAddNode", "nodes"}, {"graphExecute", "executions"},
      {"tensorCreateContextTensor", "tensors"}, {"tensorCreateGraphTensor", "tensors"}};
  for (const char* scenario : {"all-families", "graphs", "data-and-binaries", "random:3", "random:11", "random:17"}) {
    std::map<std::string, std::size_t> expected, counted;
    std::set<std::string> graphs;  // by the echo backend's numbers: a retrieve of a name no graph has makes one
    for (const std::string& call : recorded(scenario).calls) {
      const std::string member = call.substr(0, call.find(' ')), result = call.substr(call.rfind(" -> ") + 1);
      ++expected[member];
      for (auto [kind, end] = makes.equal_range(member); kind != end; ++kind) ++expected[kind->second];
      if (member.rfind("graph", 0) == 0 && graphs.insert(result).second && member == "graphRetrieve") ++expected["graphs"];
    }
    // "  {member or kind}  {count} ...", one a line; the tensors and binaries are listed deeper.
    std::istringstream info(zebscribe(recorded(scenario).output, {"info"}).output);
    for (std::string line, word; std::getline(info, line);) {
      std::size_t count = 0;
      if (line.rfind("  ", 0) == 0 && line[2] != ' ' && std::istringstream(line) >> word >> count && count > 0) counted[word] = count;
    }
    EXPECT_EQ(counted, expected) << scenario;
  }
}

// The stack info says main's locals take, within a few percent of what gcc gives main.
TEST(Info, EstimatesTheStackMainTakes) {
  for (const char* scenario : {"all-families", "network:100", "serial:1:100"}) {
    const fs::path dir = recorded(scenario).output;
    const CommandResult compiled =
        runIn(dir, run(tool("CC"), {"-std=gnu11", "-I", tool("INCLUDE_DIR"), "-fstack-usage", "-c", "scribe_output.c", "-o", "main.o"}));
    ASSERT_EQ(compiled.exitCode, 0) << compiled.output;
    const std::string usage = readFile(dir / "main.su");  // "scribe_output.c:33:5:main\t2128\tstatic"
    EXPECT_NEAR(double(infoNumber(dir, "frameBytes")) / std::stod(usage.substr(usage.find('\t') + 1)), 1.0, 0.05) << scenario << ": " << usage;
  }
}

// A recording whose main needs more than the 8 MiB a Linux process gets by default:
// check says so, and build makes a program that replays it within that stack.
TEST(Build, ReplaysALongRecordingWithinTheDefaultStack) {
  const std::string scenario = "network:3300";
  const fs::path dir = recorded(scenario).output;
  EXPECT_NE(zebscribe(dir, {"check"}).output.find(": warning: main's locals take about 8.5 MiB of stack: more than the 8 MiB"),
            std::string::npos);
  const CommandResult built = zebscribe(dir, {"build"});
  ASSERT_EQ(built.exitCode, 0) << built.output;
  EXPECT_NE(built.output.find(" files in "), std::string::npos) << built.output;  // units compiled apart, then linked
  const CommandResult replayed = runIn(dir, "sh -c 'ulimit -s 8192 && exec ./replay'");
  ASSERT_EQ(replayed.exitCode, 0) << replayed.output;
  EXPECT_EQ(firstDifference(recorded(scenario).calls, readLines(dir / kEchoLogName)), "");
}

// A binary the program cannot save ends it there, as main's return does, naming its line.
TEST(Build, AFailedSaveEndsTheProgram) {
  const ScratchDir scratch;
  const fs::path dir = goldenCopy(scratch, "binaries");
  ASSERT_EQ(zebscribe(dir, {"build"}).exitCode, 0);
  fs::create_directory(dir / "context_0.bin");
  const CommandResult replayed = runIn(dir, "./replay");
  EXPECT_EQ(replayed.exitCode, 255);
  EXPECT_NE(replayed.output.find("ERROR: File open of context_0.bin failed on line: 103\n"), std::string::npos) << replayed.output;
  const std::vector<std::string> calls = readLines(dir / kEchoLogName);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().rfind("contextGetBinary ", 0), 0u) << calls.back();
}

// Cut at seeded offsets and the edges of header and footer, a sound recording fails check;
// seal repairs a cut after the header, keeping the calls whose blocks survived.
TEST(CutRecordings, SealKeepsTheCallsBeforeTheCut) {
  const ScratchDir scratch;
  const std::string scenario = "data-and-binaries";
  const std::string model = readFile(recorded(scenario).output / "scribe_output.c");
  constexpr char kHeaderEnd[] = "interface.logCreate(NULL, logLevel, &loghandle));\n   }\n";
  const std::size_t headerSize = model.find(kHeaderEnd) + std::string(kHeaderEnd).size();
  std::vector<std::size_t> offsets = {0, headerSize / 2, headerSize, model.rfind(kFooterStart) + 20};
  std::mt19937 random(13);
  for (int i = 0; i < 5; ++i) offsets.push_back(random() % model.size());
  for (const std::size_t offset : offsets) {
    SCOPED_TRACE("cut at byte " + std::to_string(offset));
    const fs::path dir = scratch.path() / ("cut_" + std::to_string(offset));
    fs::remove_all(dir);
    fs::copy(recorded(scenario).output, dir);
    cutModel(dir, offset);
    EXPECT_NE(zebscribe(dir, {"check"}).exitCode, 0);
    const CommandResult seal = zebscribe(dir, {"seal"});
    ASSERT_EQ(seal.exitCode == 0, offset >= headerSize) << seal.output;
    if (seal.exitCode != 0) continue;
    EXPECT_EQ(zebscribe(dir, {"check"}).exitCode, 0);
    // Every call line wholly before the cut survives, but the one whose block it ends.
    const std::string kept = model.substr(0, offset);
    const std::regex callLine("\n   VALIDATE\\(error, interface\\.[^\n]*\n");
    const auto callLines = static_cast<std::size_t>(
        std::distance(std::sregex_iterator(kept.begin(), kept.end(), callLine), std::sregex_iterator()));
    const std::size_t calls = infoNumber(dir, "calls");
    EXPECT_TRUE(calls == callLines || calls + 1 == callLines) << calls << " of " << callLines;
    const CommandResult dump = zebscribe(dir, {"dump"});
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    const std::vector<std::string>& all = recorded(scenario).calls;
    const std::vector<std::string> replayed = readLines(std::istringstream(dump.output));
    ASSERT_EQ(replayed.size(), calls);
    EXPECT_EQ(firstDifference({all.begin(), all.begin() + calls}, replayed), "");
  }
}

// --help, or -h after the directory (record: an option), prints the command's usage and a
// line for every option its parser takes.
TEST(Help, NamesEveryOptionOfEachCommand) {
  const ScratchDir scratch;
  for (const tool::Subcommand& command : tool::kSubcommands) {
    const std::string name = command.name;
    const CommandResult help = runIn(scratch.path(), run(ZEB_TOOL, {name, "--help"}));
    ASSERT_EQ(help.exitCode, 0) << help.output;
    const std::string text = help.output.substr(help.output.find('\n') + 1);
    EXPECT_EQ(text.rfind("usage: zebscribe " + name + " ", 0), 0u) << text;
    for (const std::string& option : command.options) EXPECT_NE(text.find("\n  " + option + " "), std::string::npos) << option;
    std::vector<std::string> late = {name, "d", "-h"};
    if (name == "record") late.insert(late.begin() + 1, "-o");
    const CommandResult lateHelp = runIn(scratch.path(), run(ZEB_TOOL, late));
    EXPECT_EQ(lateHelp.exitCode, 0);
    EXPECT_EQ(lateHelp.output.substr(lateHelp.output.find('\n') + 1), text);
  }
}

// The sample client loads the backend it is told by name, as an application loads its own: it
// records unchanged through ZebScribe put in its backend's place, forwarding to the echo backend.
TEST(Record, AnApplicationThatLoadsItsBackendByNameRecordsUnchanged) {
  ScratchDir scratch;
  const fs::path direct = sub(scratch, "direct"), recorded = sub(scratch, "recorded"), output = recorded / "recording";
  ASSERT_EQ(runIn(direct, run(ZEB_SAMPLE_CLIENT, {tool("ECHO_LIB")})).exitCode, 0);
  const CommandResult ran = runIn(recorded, run(ZEB_TOOL, {"record", "--as", "libZebVendor.so", "--forward", tool("ECHO_LIB"),
                                                           "-o", "recording", "--", ZEB_SAMPLE_CLIENT, "libZebVendor.so"}));
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::vector<std::string> calls = readLines(direct / kEchoLogName);
  EXPECT_EQ(firstDifference(calls, readLines(recorded / kEchoLogName)), "");
  EXPECT_EQ(zebscribe(output, {"check"}).exitCode, 0);
  EXPECT_EQ(firstDifference(recordedCalls(calls), replayWithEcho(output / "scribe_output.c", output)), "");
  // Without the name in its place the application finds no backend.
  EXPECT_NE(runIn(recorded, run(ZEB_TOOL, {"record", "--", ZEB_SAMPLE_CLIENT, "libZebVendor.so"})).exitCode, 0);
}

}  // namespace
}  // namespace zeb::e2e
