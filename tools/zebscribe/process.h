// Running the compiler and the replayed program through the system's shell.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zeb::tool {

namespace fs = std::filesystem;

// The command as the shell reads it, each word quoted where it needs to be.
std::string commandText(const std::vector<std::string>& words);

// Runs the command in `directory`; its output goes to `output` when one is
// given, else to ours. Returns its exit status.
int runCommand(const std::vector<std::string>& words, const fs::path& directory,
               const fs::path& output = {});

// Runs each command in `directory`, up to `jobs` at once, the output of
// commands[i] going to outputs[i]. Returns their exit statuses.
std::vector<int> runCommands(const std::vector<std::vector<std::string>>& commands,
                             const fs::path& directory, const std::vector<fs::path>& outputs,
                             unsigned jobs);

void setEnvironment(const std::string& name, const std::string& value);

// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace zeb::tool
