#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zeb::bench {
namespace {

using Clock = std::chrono::steady_clock;

void limit(int resource, uint64_t bytes) {
  if (bytes == 0) return;
  const rlimit value{bytes, bytes};
  setrlimit(resource, &value);
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void execute(char* const* argv, const char* directory, char* const* environment,
                          const char* outputPath, const ChildLimits& limits) {
  setpgid(0, 0);
  limit(RLIMIT_STACK, limits.stackBytes);
  limit(RLIMIT_AS, limits.addressBytes);
  const int output = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (output < 0 || chdir(directory) != 0) _exit(127);
  dup2(output, STDOUT_FILENO);
  dup2(output, STDERR_FILENO);
  for (char* const* entry = environment; *entry != nullptr; ++entry) putenv(*entry);
  execv(argv[0], argv);
  _exit(127);
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::string ChildRun::outcome(const ChildLimits& limits) const {
  if (timedOut) return "timed out after " + std::to_string(static_cast<int>(limits.seconds)) + " s";
  if (signal != 0) {
    const char* name = sigabbrev_np(signal);
    return name ? std::string("killed by SIG") + name : "killed by signal " + std::to_string(signal);
  }
  if (exitCode != 0) return "exit " + std::to_string(exitCode);
  return "ok";
}

ChildRun runChild(const std::vector<std::string>& argv, const std::string& directory,
                  const std::vector<std::string>& environment, const std::string& outputPath,
                  const ChildLimits& limits) {
  std::vector<std::string> args = argv, env = environment;
  const std::vector<char*> argPointers = pointersTo(args), envPointers = pointersTo(env);
  const auto begin = Clock::now();
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    execute(argPointers.data(), directory.c_str(), envPointers.data(), outputPath.c_str(), limits);
  }
  setpgid(child, child);  // either side may get there first
  ChildRun run;
  std::mutex mutex;
  std::condition_variable reaped;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    const auto deadline = begin + std::chrono::duration<double>(limits.seconds);
    if (!reaped.wait_until(lock, deadline, [&] { return done; })) {
      run.timedOut = true;
      kill(-child, SIGKILL);
    }
  });
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  reaped.notify_one();
  watchdog.join();
  run.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
  // Linux counts the largest of the child and the descendants it waited for.
  run.peakResidentBytes = static_cast<uint64_t>(usage.ru_maxrss) * 1024;
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status) && !run.timedOut) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace zeb::bench
