// `zebscribe record`: runs an application that cannot be changed with ZebScribe
// configured through the environment, and, with --as, put where the
// application loads its backend by name.
#include <system_error>

#include "commands.h"
#include "process.h"
#include "tool_error.h"
#include "toolchain.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#endif

namespace zeb::tool {

#ifdef _WIN32

// Windows looks for a DLL in the application's own directory before any other.
int runRecord(const Options&) {
  throw ToolError(kExitUnusable,
                  "record runs on Linux. On Windows, set ZEBSCRIBE_OUTPUT_DIR and ZEBSCRIBE_FORWARD "
                  "and copy ZebScribe.dll into the application's directory under the name it "
                  "loads its backend by");
}

#else

namespace {

fs::path existingFile(const std::string& path, const char* what) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (!fs::is_regular_file(absolute, error)) throw ToolError(kExitUnusable, std::string("no such ") + what + ": " + path);
  return absolute;
}

// A directory holding ZebScribe under the name, ahead of the others on the
// library search path.
void putScribeFirstAs(const std::string& name, const fs::path& library, const fs::path& directory) {
  if (name.empty() || name.find('/') != std::string::npos)
    throw ToolError(kExitUnusable, "--as takes a library's file name, without a directory: " + name);
  std::error_code error;
  fs::create_symlink(library, directory / name, error);
  if (error) throw ToolError(kExitUnusable, "cannot link " + name + " to " + library.string() + ": " + error.message());
  const char* searched = std::getenv("LD_LIBRARY_PATH");
  const std::string rest = searched != nullptr && *searched != '\0' ? std::string(":") + searched : "";
  setEnvironment("LD_LIBRARY_PATH", directory.string() + rest);
}

// The application's exit status, or 128 and the signal that ended it.
int runApplication(const std::vector<std::string>& application) {
  std::vector<char*> arguments;
  for (const std::string& word : application) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) throw ToolError(kExitUnusable, std::string("cannot start a process: ") + std::strerror(errno));
  if (child == 0) {
    ::execvp(arguments[0], arguments.data());
    std::fprintf(stderr, "zebscribe: cannot run %s: %s\n", arguments[0], std::strerror(errno));
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

int runRecord(const Options& options) {
  if (options.application.empty()) throw ToolError(kExitUnusable, "record needs -- APPLICATION [ARGUMENTS...]");
  std::error_code error;
  if (!options.output.empty()) setEnvironment("ZEBSCRIBE_OUTPUT_DIR", fs::absolute(options.output, error).string());
  // A path, not a name: under --as the name could find ZebScribe itself.
  if (!options.forward.empty())
    setEnvironment("ZEBSCRIBE_FORWARD", existingFile(options.forward, "backend library").string());
  const ScratchDirectory linkDirectory;
  if (!options.as.empty()) {
    const fs::path library = findInstalledFiles(options.argv0).scribeLibrary;
    putScribeFirstAs(options.as, existingFile(library.string(), "ZebScribe library"), linkDirectory.path());
  }
  return runApplication(options.application);
}

#endif

}  // namespace zeb::tool
