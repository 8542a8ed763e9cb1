// `zebscribe build`: the written program compiled against the installed
// headers and linked with the backend the user names.
#include <iostream>
#include <system_error>

#include "commands.h"
#include "process.h"
#include "tool_error.h"
#include "toolchain.h"

namespace zeb::tool {

int runBuild(const Options& options) {
  if (options.backend.empty()) throw ToolError(kExitUnusable, "build needs --backend LIBRARY");
  std::error_code error;
  const fs::path backend = fs::absolute(options.backend, error);
  if (!fs::is_regular_file(backend, error)) {
    throw ToolError(kExitUnusable, "no such backend library: " + options.backend);
  }
  const Recording recording = loadRecording(options.location);
  requireReplayable(recording, options.trust);
  const InstalledFiles files = findInstalledFiles(options.argv0);
  const fs::path model = fs::absolute(recording.model);
  const fs::path executable = fs::absolute(
      options.output.empty() ? model.parent_path() / executableName(backend) : options.output);
  const std::vector<std::string> command =
      compileCommand({chooseCompiler(options.compiler), fs::absolute(files.includeDir), model,
                      executable, backend});
  std::cout << "$ " << commandText(command) << std::endl;
  const int status = runCommand(command, model.parent_path());
  if (status != 0)
    throw ToolError(kExitProblems, "the compiler failed with status " + std::to_string(status));
  std::cout << "built " << executable.string() << "; run it in the directory that holds "
            << recording.frame.dataFileName << "\n";
  return 0;
}

}  // namespace zeb::tool
