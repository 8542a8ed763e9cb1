// The command line of zebscribe.
#pragma once

#include "commands.h"

namespace zeb::tool {

extern const char kUsage[];

// Throws ToolError (wrong use) for an unknown command or option, or a
// missing directory argument.
Options parseOptions(int argc, char** argv);

}  // namespace zeb::tool
