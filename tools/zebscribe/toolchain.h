// What compiling a recording takes: the installed headers and echo backend,
// found from where zebscribe itself lies, and the compiler's command line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zeb::tool {

namespace fs = std::filesystem;

struct InstalledFiles {
  fs::path includeDir;     // the Zeb API headers
  fs::path echoLibrary;    // the echo backend
  fs::path scribeLibrary;  // ZebScribe
};

// From the installed layout around the executable, else (in a build tree)
// from the zebscribe.paths file beside it. Throws ToolError when the headers
// are nowhere.
InstalledFiles findInstalledFiles(const std::string& argv0);

struct CompileRequest {
  std::string compiler;  // a command, possibly with options: "gcc -m64"
  fs::path includeDir;
  fs::path model;
  fs::path executable;
  fs::path backend;  // the library the program is linked with
};

// The model file compiled and linked in one command.
std::vector<std::string> compileCommand(const CompileRequest& request);

// A source compiled to an object file, and object files linked.
std::vector<std::string> objectCommand(const std::string& compiler, const fs::path& includeDir,
                                       const fs::path& source, const fs::path& object);
std::vector<std::string> linkCommand(const std::string& compiler,
                                     const std::vector<fs::path>& objects,
                                     const fs::path& executable, const fs::path& backend);

// The compiler to use: the one asked for, else $CC, else the system's.
std::string chooseCompiler(const std::string& asked);

// A backend given as a DLL or its import library makes a Windows program.
bool targetsWindows(const fs::path& backend);
std::string executableName(const fs::path& backend);

}  // namespace zeb::tool
