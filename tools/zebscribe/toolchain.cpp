#include "toolchain.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "tool_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeb::tool {
namespace {

constexpr char kHeader[] = "ZebInterface.h";
constexpr char kPathsFile[] = "zebscribe.paths";

fs::path ownExecutable(const std::string& argv0) {
  std::error_code error;
#ifdef _WIN32
  std::wstring buffer(MAX_PATH * 8, L'\0');
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length > 0 && length < buffer.size()) return fs::path(buffer.substr(0, length));
#else
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) return self;
#endif
  return fs::absolute(argv0, error);
}

bool present(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::exists(path, error);
}

// `include=...`, `echo=...` and `scribe=...` lines, written by the build for its own tree.
InstalledFiles readPathsFile(const fs::path& file) {
  InstalledFiles files;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    if (key == "include") files.includeDir = line.substr(equals + 1);
    if (key == "echo") files.echoLibrary = line.substr(equals + 1);
    if (key == "scribe") files.scribeLibrary = line.substr(equals + 1);
  }
  return files;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> found;
  for (std::string word; in >> word;) found.push_back(word);
  return found;
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// GNU C leaves trigraphs off, so "??=" in a client string replays as written.
std::vector<std::string> compileWords(const std::string& compiler, const fs::path& includeDir) {
  std::vector<std::string> command = words(compiler);
  command.insert(command.end(), {"-std=gnu11", "-I", includeDir.string()});
  return command;
}

// An ELF program finds its backend where it was linked, wherever it runs.
void addBackend(std::vector<std::string>& command, const fs::path& backend) {
  command.push_back(backend.string());
  if (!targetsWindows(backend)) command.push_back("-Wl,-rpath," + backend.parent_path().string());
}

}  // namespace

InstalledFiles findInstalledFiles(const std::string& argv0) {
  const fs::path bin = ownExecutable(argv0).parent_path();
  InstalledFiles files{(bin / ZEB_TOOL_INCLUDE_FROM_BIN).lexically_normal(),
                       (bin / ZEB_TOOL_ECHO_FROM_BIN).lexically_normal(),
                       (bin / ZEB_TOOL_SCRIBE_FROM_BIN).lexically_normal()};
  if (!present(files.includeDir / kHeader)) files = readPathsFile(bin / kPathsFile);
  if (!present(files.includeDir / kHeader)) {
    throw ToolError(kExitUnusable, std::string("the Zeb API headers are not installed beside "
                                               "zebscribe (looked for ") +
                                       (bin / ZEB_TOOL_INCLUDE_FROM_BIN / kHeader).string() + ")");
  }
  return files;
}

std::vector<std::string> compileCommand(const CompileRequest& request) {
  std::vector<std::string> command = compileWords(request.compiler, request.includeDir);
  command.insert(command.end(), {request.model.string(), "-o", request.executable.string()});
  addBackend(command, request.backend);
  return command;
}

std::vector<std::string> objectCommand(const std::string& compiler, const fs::path& includeDir,
                                       const fs::path& source, const fs::path& object) {
  std::vector<std::string> command = compileWords(compiler, includeDir);
  command.insert(command.end(), {"-c", source.string(), "-o", object.string()});
  return command;
}

std::vector<std::string> linkCommand(const std::string& compiler,
                                     const std::vector<fs::path>& objects,
                                     const fs::path& executable, const fs::path& backend) {
  std::vector<std::string> command = words(compiler);
  for (const fs::path& object : objects) command.push_back(object.string());
  command.insert(command.end(), {"-o", executable.string()});
  addBackend(command, backend);
  return command;
}

std::string chooseCompiler(const std::string& asked) {
  if (!asked.empty()) return asked;
  const char* environment = std::getenv("CC");
  if (environment != nullptr && *environment != '\0') return environment;
#ifdef _WIN32
  return "gcc";
#else
  return "cc";
#endif
}

bool targetsWindows(const fs::path& backend) {
#ifdef _WIN32
  constexpr bool kOnWindows = true;
#else
  constexpr bool kOnWindows = false;
#endif
  const std::string name = backend.filename().string();
  return kOnWindows || endsWith(name, ".dll") || endsWith(name, ".dll.a") || endsWith(name, ".lib");
}

std::string executableName(const fs::path& backend) {
  return targetsWindows(backend) ? "replay.exe" : "replay";
}

}  // namespace zeb::tool
