// `zebscribe build`: the written program compiled against the installed
// headers and linked with the backend the user names.
#include <iostream>
#include <system_error>
#include <utility>

#include "commands.h"
#include "replay_build.h"
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
  Recording recording = loadRecording(options.location);
  requireReplayable(recording, options.trust);
  const InstalledFiles files = findInstalledFiles(options.argv0);
  const fs::path model = fs::absolute(recording.model).lexically_normal();
  const fs::path output =
      options.output.empty() ? model.parent_path() / executableName(backend) : options.output;
  const fs::path executable = fs::absolute(output).lexically_normal();
  // A rewrite of code no recorder writes could not be trusted to mean the same.
  const bool plain = options.plain || options.trust;
  const ReplayTarget target{chooseCompiler(options.compiler), fs::absolute(files.includeDir),
                            backend, executable, sourcesBeside(executable)};
  const std::string dataFileName = recording.frame.dataFileName;
  buildReplay(std::move(recording), target, plain, false, std::cout);
  std::cout << "built " << executable.string() << "; run it in the directory that holds "
            << dataFileName << "\n";
  return 0;
}

}  // namespace zeb::tool
