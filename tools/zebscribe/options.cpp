#include "options.h"

#include <map>
#include <set>

#include "tool_error.h"

namespace zeb::tool {

const char kUsage[] =
    "usage: zebscribe COMMAND DIR [OPTION...]\n"
    "  info DIR [--json]     the calls, objects and data of the recording in DIR\n"
    "  check DIR             whether it is whole and in step with its data; status 0 only\n"
    "                        when it is sound\n"
    "  seal DIR              finish the program of an application that died before it\n"
    "                        unloaded the library: drop a partial block, append the footer\n"
    "  dump DIR [--cc CC] [--trust]\n"
    "                        replay it against the echo backend and print each call it makes\n"
    "  build DIR --backend LIBRARY [--cc CC] [-o FILE] [--plain] [--trust]\n"
    "                        compile the program and link it with LIBRARY (default output:\n"
    "                        DIR/replay, or replay.exe for a Windows backend): split into\n"
    "                        files of FILE.build that compile in parallel, with main's\n"
    "                        locals in static storage; --plain compiles the model file as\n"
    "                        it stands, in one command\n"
    "  graph DIR [--graph NAME] [--format dot|svg|html] [-o FILE]\n"
    "                        draw the graphs it builds (or the one named): DOT on standard\n"
    "                        output; SVG (through Graphviz) or a self-contained HTML page\n"
    "                        to FILE, default DIR/graph.svg or DIR/graph.html\n"
    "  record [--forward LIBRARY] [--as NAME] [-o DIR] -- APPLICATION [ARGUMENT...]\n"
    "                        run an application with ZebScribe recording into DIR (Linux):\n"
    "                        forwarding every call to LIBRARY, and put where the application\n"
    "                        loads a backend named NAME\n"
    "dump and build refuse a recording that holds code no recorder writes (check lists it),\n"
    "unless --trust is given; they then compile the model file as it stands.\n"
    "DIR holds the recording (or is its model file). --model FILE and --data FILE name the\n"
    "files when they are not DIR/scribe_output.c and the data file its header names.\n"
    "CC is a compiler command (default: $CC, else cc).\n"
    "Exit status: 0 done, 1 the recording has problems or the command refused, 2 wrong use\n"
    "or unreadable input.\n";

namespace {

const std::set<std::string> kCommands = {"info", "check", "seal", "dump", "build", "graph", "record"};

[[noreturn]] void wrongUse(const std::string& message) {
  throw ToolError(kExitUnusable, message + "\n" + kUsage);
}

// Options that take a value, and where they put it.
using Setter = void (*)(Options&, const std::string&);
const std::map<std::string, Setter> kValueOptions = {
    {"--model", [](Options& options, const std::string& value) { options.location.model = value; }},
    {"--data", [](Options& options, const std::string& value) { options.location.data = value; }},
    {"--backend", [](Options& options, const std::string& value) { options.backend = value; }},
    {"--cc", [](Options& options, const std::string& value) { options.compiler = value; }},
    {"-o", [](Options& options, const std::string& value) { options.output = value; }},
    {"--graph", [](Options& options, const std::string& value) { options.graphName = value; }},
    {"--format", [](Options& options, const std::string& value) { options.format = value; }},
};

bool takeValue(Options& options, const std::string& name, const std::string& value) {
  const auto option = kValueOptions.find(name);
  if (option == kValueOptions.end()) return false;
  option->second(options, value);
  return true;
}

// record's options, then "--" and the application's command line.
Options parseRecord(Options options, int argc, char** argv) {
  int i = 2;
  for (; i + 1 < argc && std::string(argv[i]) != "--"; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--forward") options.forward = value;
    else if (name == "--as") options.as = value;
    else if (name == "-o") options.output = value;
    else wrongUse("unknown option of record: " + name);
  }
  if (i >= argc || std::string(argv[i]) != "--") wrongUse("record needs -- APPLICATION [ARGUMENT...]");
  for (++i; i < argc; ++i) options.application.push_back(argv[i]);
  if (options.application.empty()) wrongUse("record needs -- APPLICATION [ARGUMENT...]");
  return options;
}

}  // namespace

Options parseOptions(int argc, char** argv) {
  Options options;
  options.argv0 = argc > 0 ? argv[0] : "zebscribe";
  if (argc < 2) wrongUse("no command");
  options.command = argv[1];
  if (kCommands.count(options.command) == 0) wrongUse("unknown command: " + options.command);
  if (options.command == "record") return parseRecord(std::move(options), argc, argv);
  bool haveDirectory = false;
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--json") {
      options.json = true;
    } else if (word == "--trust") {
      options.trust = true;
    } else if (word == "--plain") {
      options.plain = true;
    } else if (i + 1 < argc && takeValue(options, word, argv[i + 1])) {
      ++i;
    } else if (!word.empty() && word[0] == '-') {
      wrongUse("unknown option, or one without its value: " + word);
    } else if (haveDirectory) {
      wrongUse("one recording directory only: " + word);
    } else {
      options.location.directory = word;
      haveDirectory = true;
    }
  }
  if (!haveDirectory) wrongUse(options.command + " needs a recording directory");
  return options;
}

}  // namespace zeb::tool
