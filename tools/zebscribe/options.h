// The command line of zebscribe.
#pragma once

#include <string>
#include <vector>

#include "commands.h"

namespace zeb::tool {

// A command, the options it takes and what its --help prints.
struct Subcommand {
  const char* name;
  const char* operands;              // in the overall usage: DIR, or the application
  const char* summary;               // its line in the overall usage
  std::vector<std::string> options;  // every option its parser takes
  const char* help;
};

extern const std::vector<Subcommand> kSubcommands;

// Throws ToolError (wrong use) for an unknown command.
const Subcommand& subcommand(const std::string& name);

// The overall usage: each command in a line, the exit status.
std::string usage();

// Throws ToolError (wrong use) for an unknown command or option, or a
// missing directory argument. With --help or -h among the options, returns
// at once with `help` set, whatever else is missing.
Options parseOptions(int argc, char** argv);

}  // namespace zeb::tool
