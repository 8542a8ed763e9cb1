#include "replay_build.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "process.h"
#include "split_program.h"
#include "tool_error.h"
#include "toolchain.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zeb::tool {
namespace {

// The recording's many small blocks stay in the process once freed unless
// the heap is handed back.
void returnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

using Command = std::vector<std::string>;

void printFile(const fs::path& file, std::ostream& out) {
  std::ifstream in(file, std::ios::binary);
  if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
  out.flush();
}

void requireSuccess(int status) {
  if (status != 0)
    throw ToolError(kExitProblems, "the compiler failed with status " + std::to_string(status));
}

// Shows what the compiler said, and fails at the first command that failed.
void review(const std::vector<int>& statuses, const std::vector<fs::path>& outputs, bool quiet) {
  for (std::size_t i = 0; i < statuses.size(); ++i) {
    if (!quiet || statuses[i] != 0) printFile(outputs[i], std::cerr);
    std::error_code ignored;
    if (fs::file_size(outputs[i], ignored) == 0) fs::remove(outputs[i], ignored);
  }
  for (const int status : statuses) requireSuccess(status);
}

void run(const std::vector<Command>& commands, const fs::path& directory,
         const std::vector<fs::path>& outputs, unsigned jobs, bool quiet) {
  review(runCommands(commands, directory, outputs, jobs), outputs, quiet);
}

void buildPlain(const Recording& recording, const ReplayTarget& target, bool quiet,
                std::ostream& commands) {
  const fs::path model = fs::absolute(recording.model).lexically_normal();
  const Command command = compileCommand(
      {target.compiler, target.includeDir, model, target.executable, target.backend});
  commands << "$ " << commandText(command) << std::endl;
  if (!quiet) return requireSuccess(runCommand(command, model.parent_path()));
  fs::create_directories(target.sources);
  run({command}, model.parent_path(), {target.sources / "compiler_output.txt"}, 1, true);
}

// Empty, but for what an earlier build left there.
void prepareSources(const fs::path& sources) {
  std::error_code error;
  fs::create_directories(sources, error);
  if (!fs::is_directory(sources, error))
    throw ToolError(kExitUnusable, "cannot make the directory " + sources.string());
  for (const auto& entry : fs::directory_iterator(sources, error)) {
    if (entry.path().filename().string().rfind("unit_", 0) == 0) fs::remove(entry.path(), error);
  }
}

fs::path withExtension(const fs::path& file, const char* extension) {
  return fs::path(file.filename()).replace_extension(extension);
}

// One unit compiles and links in one command, as the plain build does;
// several compile at once, then link.
void buildSplit(Recording recording, const ReplayTarget& target, bool quiet,
                std::ostream& commands) {
  prepareSources(target.sources);
  const std::vector<fs::path> units = writeSplitProgram(recording, target.sources);
  recording = Recording{};
  returnFreedMemory();
  std::vector<Command> compiles;
  std::vector<fs::path> outputs, objects;
  for (const fs::path& unit : units) {
    outputs.push_back(target.sources / withExtension(unit, ".log"));
    if (units.size() == 1) {
      compiles.push_back(compileCommand({target.compiler, target.includeDir, unit.filename(),
                                         target.executable, target.backend}));
    } else {
      objects.push_back(withExtension(unit, ".o"));
      compiles.push_back(
          objectCommand(target.compiler, target.includeDir, unit.filename(), objects.back()));
    }
  }
  const unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
  commands << "the program split into " << units.size() << (units.size() == 1 ? " file" : " files")
           << " in " << target.sources.string() << ", compiled there"
           << (units.size() == 1 ? ":" : ", " + std::to_string(jobs) + " at a time:") << "\n";
  for (const Command& compile : compiles) commands << "$ " << commandText(compile) << "\n";
  commands.flush();
  run(compiles, target.sources, outputs, jobs, quiet);
  if (units.size() == 1) return;
  const Command link = linkCommand(target.compiler, objects, target.executable, target.backend);
  commands << "$ " << commandText(link) << std::endl;
  run({link}, target.sources, {target.sources / "unit_link.log"}, 1, quiet);
  std::error_code ignored;
  for (const fs::path& object : objects) fs::remove(target.sources / object, ignored);
}

}  // namespace

void buildReplay(Recording recording, const ReplayTarget& target, bool plain, bool quiet,
                 std::ostream& commands) {
  if (plain) return buildPlain(recording, target, quiet, commands);
  buildSplit(std::move(recording), target, quiet, commands);
}

fs::path sourcesBeside(const fs::path& executable) { return fs::path(executable) += ".build"; }

}  // namespace zeb::tool
