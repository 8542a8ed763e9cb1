#include "options.h"

#include <algorithm>
#include <map>

#include "tool_error.h"

namespace zeb::tool {

namespace {

[[noreturn]] void wrongUse(const std::string& message) { throw ToolError(kExitUnusable, message + "\n" + usage()); }

// Every option, whether it takes a value, and where it puts it.
struct Option {
  bool takesValue;
  void (*set)(Options&, const std::string& value);
};
const std::map<std::string, Option> kOptions = {
    {"--json", {false, [](Options& options, const std::string&) { options.json = true; }}},
    {"--trust", {false, [](Options& options, const std::string&) { options.trust = true; }}},
    {"--plain", {false, [](Options& options, const std::string&) { options.plain = true; }}},
    {"--model", {true, [](Options& options, const std::string& value) { options.location.model = value; }}},
    {"--data", {true, [](Options& options, const std::string& value) { options.location.data = value; }}},
    {"--backend", {true, [](Options& options, const std::string& value) { options.backend = value; }}},
    {"--cc", {true, [](Options& options, const std::string& value) { options.compiler = value; }}},
    {"-o", {true, [](Options& options, const std::string& value) { options.output = value; }}},
    {"--graph", {true, [](Options& options, const std::string& value) { options.graphName = value; }}},
    {"--format", {true, [](Options& options, const std::string& value) { options.format = value; }}},
    {"--forward", {true, [](Options& options, const std::string& value) { options.forward = value; }}},
    {"--as", {true, [](Options& options, const std::string& value) { options.as = value; }}},
};

const Option& option(const Subcommand& command, const std::string& name) {
  if (std::find(command.options.begin(), command.options.end(), name) == command.options.end())
    wrongUse("unknown option of " + std::string(command.name) + ": " + name);
  return kOptions.at(name);
}

}  // namespace

const Subcommand& subcommand(const std::string& name) {
  for (const Subcommand& command : kSubcommands)
    if (name == command.name) return command;
  wrongUse("unknown command: " + name);
}

// Options, then the directory; or, for record, "--" and the application's
// command line.
Options parseOptions(int argc, char** argv) {
  Options options;
  options.argv0 = argc > 0 ? argv[0] : "zebscribe";
  if (argc < 2) wrongUse("no command");
  options.command = argv[1];
  const Subcommand& command = subcommand(options.command);
  const bool record = options.command == "record";
  bool haveDirectory = false;
  int i = 2;
  for (; i < argc && !(record && std::string(argv[i]) == "--"); ++i) {
    const std::string word = argv[i];
    if (word == "--help" || word == "-h") {
      options.help = true;
      return options;
    }
    if (!word.empty() && word[0] == '-') {
      const Option& given = option(command, word);
      if (given.takesValue && i + 1 == argc) wrongUse(word + " needs a value");
      given.set(options, given.takesValue ? argv[++i] : "");
    } else if (record) {
      wrongUse("record runs the application given after --: " + word);
    } else if (haveDirectory) {
      wrongUse("one recording directory only: " + word);
    } else {
      options.location.directory = word;
      haveDirectory = true;
    }
  }
  if (record) {
    options.application.assign(argv + std::min(i + 1, argc), argv + argc);
    if (options.application.empty()) wrongUse("record needs -- APPLICATION [ARGUMENT...]");
  } else if (!haveDirectory) {
    wrongUse(options.command + " needs a recording directory");
  }
  return options;
}

}  // namespace zeb::tool
