#include "process.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <system_error>
#include <thread>

#include "tool_error.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zeb::tool {
namespace {

bool plainWord(const std::string& word) {
  if (word.empty()) return false;
  for (const char c : word) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string("_-./=,:+").find(c) != std::string::npos;
    if (!plain) return false;
  }
  return true;
}

std::string quoted(const std::string& word) {
  if (plainWord(word)) return word;
#ifdef _WIN32
  return "\"" + word + "\"";
#else
  std::string out = "'";
  for (const char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
#endif
}

int exitStatus(int status) {
#ifdef _WIN32
  return status;
#else
  if (status == -1) return 127;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
#endif
}

}  // namespace

std::string commandText(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + quoted(word);
  return text;
}

int runCommand(const std::vector<std::string>& words, const fs::path& directory,
               const fs::path& output) {
#ifdef _WIN32
  std::string line = "cd /d " + quoted(directory.string()) + " && " + commandText(words);
#else
  std::string line = "cd " + quoted(directory.string()) + " && " + commandText(words);
#endif
  if (!output.empty()) line += " > " + quoted(output.string()) + " 2>&1";
#ifdef _WIN32
  // cmd.exe drops the first and the last quote of its command line.
  line = "\"" + line + "\"";
#endif
  return exitStatus(std::system(line.c_str()));
}

std::vector<int> runCommands(const std::vector<std::vector<std::string>>& commands,
                             const fs::path& directory, const std::vector<fs::path>& outputs,
                             unsigned jobs) {
  std::vector<int> statuses(commands.size(), 0);
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i; (i = next++) < commands.size();)
      statuses[i] = runCommand(commands[i], directory, outputs[i]);
  };
  std::vector<std::thread> workers;
  for (unsigned worker = 1; worker < jobs && worker < commands.size(); ++worker)
    workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  return statuses;
}

void setEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

ScratchDirectory::ScratchDirectory() {
  std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
    const fs::path candidate = base / ("zebscribe-" + std::to_string(random()));
    if (fs::create_directory(candidate, error)) path_ = candidate;
  }
  if (path_.empty()) throw ToolError(kExitUnusable, "cannot make a temporary directory");
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

}  // namespace zeb::tool
