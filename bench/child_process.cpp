#include "child_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace zeb::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kSamplePeriod = std::chrono::milliseconds(50);

// The resident bytes of a process when it is in `group`, else 0. The fields
// of /proc/PID/stat after the command's closing parenthesis: state, parent,
// group, ..., and the resident pages 22nd.
uint64_t residentInGroup(const char* pid, pid_t group) {
  char path[64], text[1024];
  std::snprintf(path, sizeof path, "/proc/%s/stat", pid);
  const int file = open(path, O_RDONLY);
  if (file < 0) return 0;
  const ssize_t length = read(file, text, sizeof text - 1);
  close(file);
  if (length <= 0) return 0;
  text[length] = '\0';
  const char* field = std::strrchr(text, ')');
  long long values[22] = {};
  for (int i = 0; field != nullptr && i < 22; ++i) {
    field = std::strchr(field + 1, ' ');
    if (field != nullptr && i > 0) values[i] = std::atoll(field + 1);
  }
  if (field == nullptr || values[2] != group) return 0;
  return static_cast<uint64_t>(values[21]) * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

uint64_t groupResidentBytes(pid_t group) {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return 0;
  uint64_t total = 0;
  while (const dirent* entry = readdir(processes)) {
    if (entry->d_name[0] >= '1' && entry->d_name[0] <= '9')
      total += residentInGroup(entry->d_name, group);
  }
  closedir(processes);
  return total;
}

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
  uint64_t sampledPeak = 0;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    const auto deadline = begin + std::chrono::duration<double>(limits.seconds);
    while (!reaped.wait_for(lock, kSamplePeriod, [&] { return done; })) {
      sampledPeak = std::max(sampledPeak, groupResidentBytes(child));
      if (Clock::now() >= deadline) {
        run.timedOut = true;
        kill(-child, SIGKILL);
        return;
      }
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
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  // Sampled: ru_maxrss would count the largest single process only, and a
  // forked child's starts from this process's own size.
  run.peakResidentBytes = sampledPeak;
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status) && !run.timedOut) run.signal = WTERMSIG(status);
  return run;
}

}  // namespace zeb::bench
