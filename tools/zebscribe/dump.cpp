// `zebscribe dump`: the recording replayed against the echo backend, in a
// scratch directory, and the calls it made, one canonical line each.
#include <fstream>
#include <iostream>
#include <system_error>
#include <utility>

#include "commands.h"
#include "process.h"
#include "replay_build.h"
#include "tool_error.h"
#include "toolchain.h"

namespace zeb::tool {
namespace {

void copyInto(const fs::path& file, const fs::path& target) {
  std::error_code error;
  fs::copy_file(file, target, fs::copy_options::overwrite_existing, error);
  if (error)
    throw ToolError(kExitUnusable, "cannot copy " + file.string() + " to " + target.string());
}

void printFile(const fs::path& file, std::ostream& out) {
  std::ifstream in(file, std::ios::binary);
  out << in.rdbuf();
  out.flush();
}

// The program reads its data file, and writes the binaries it asks for,
// where it runs: a copy of the data keeps the recording as it is.
fs::path compileInScratch(const Options& options, Recording recording,
                          const InstalledFiles& files, const fs::path& scratch) {
  copyInto(recording.data, scratch / recording.frame.dataFileName);
  const fs::path executable = scratch / executableName(files.echoLibrary);
  std::ostream silent(nullptr);
  buildReplay(std::move(recording),
              {chooseCompiler(options.compiler), fs::absolute(files.includeDir),
               fs::absolute(files.echoLibrary), executable, scratch / "sources"},
              options.trust, true, silent);
  // A Windows program finds the DLL beside itself.
  if (targetsWindows(files.echoLibrary))
    copyInto(files.echoLibrary, scratch / files.echoLibrary.filename());
  return executable;
}

}  // namespace

int runDump(const Options& options) {
  Recording recording = loadRecording(options.location);
  requireReplayable(recording, options.trust);
  const InstalledFiles files = findInstalledFiles(options.argv0);
  std::error_code error;
  if (files.echoLibrary.empty() || !fs::exists(files.echoLibrary, error)) {
    const std::string where = files.echoLibrary.empty()
                                  ? " (this build has none)"
                                  : " (looked for " + files.echoLibrary.string() + ")";
    throw ToolError(kExitUnusable, "the echo backend is not installed beside zebscribe" + where);
  }
  const ScratchDirectory scratch;
  const fs::path executable = compileInScratch(options, std::move(recording), files, scratch.path());
  const fs::path log = scratch.path() / "echo_calls.log";
  setEnvironment("ZEB_ECHO_LOG", log.string());
  const fs::path output = scratch.path() / "replay_output.txt";
  const int status = runCommand({executable.string()}, scratch.path(), output);
  printFile(log, std::cout);
  if (status == 0) return 0;
  printFile(output, std::cerr);
  throw ToolError(kExitProblems, "the replay ended with status " + std::to_string(status));
}

}  // namespace zeb::tool
