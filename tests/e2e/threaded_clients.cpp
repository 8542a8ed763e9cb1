#include "scenarios.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <regex>
#include <thread>

#include "builders.h"

namespace zeb::e2e {
namespace {

// One thread's rounds; the number of calls that did not answer 0 is added to failures.
void runClient(const ZebApi& api, unsigned thread, unsigned rounds, std::atomic<unsigned long>& failures) {
  const auto check = [&](Zeb_ErrorHandle_t code) { failures += code != 0; };
  static uint32_t shape[] = {4};
  const std::string mark = "thread_" + std::to_string(thread);
  const BackendConfig platform = backendPlatform(mark.c_str());
  const BackendConfig* backendConfigs[] = {&platform, nullptr};
  ZebDevice_HardwareDeviceInfo_t hardware = hardwareDevice(thread, 0, 0, nullptr);
  const ZebDevice_PlatformInfo_t info = platformInfo(1, &hardware);
  const ZebDevice_Config_t device = devicePlatformInfo(&info);
  const ZebDevice_Config_t* deviceConfigs[] = {&device, nullptr};
  const ZebContext_Config_t* noContextConfigs[] = {nullptr};
  const ZebGraph_Config_t* noGraphConfigs[] = {nullptr};
  for (unsigned number = 0; number < rounds; ++number) {
    Zeb_BackendHandle_t b = nullptr; check(api.backendCreate(nullptr, backendConfigs, &b));
    Zeb_DeviceHandle_t d = nullptr; check(api.deviceCreate(nullptr, deviceConfigs, &d));
    Zeb_ContextHandle_t c = nullptr; check(api.contextCreate(b, d, noContextConfigs, &c));
    Zeb_GraphHandle_t g = nullptr; check(api.graphCreate(c, "g", noGraphConfigs, &g));
    Zeb_Tensor_t input = tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0);
    check(api.tensorCreateGraphTensor(g, &input));
    // Data of its own in every execution, so that a blob read for another fails the comparison.
    float data[4] = {static_cast<float>(thread), static_cast<float>(number), -1.0f, 0.5f};
    input.v1.clientBuf = {data, sizeof data};
    check(api.graphExecute(g, &input, 1, nullptr, 0, nullptr, nullptr));
    check(api.contextFree(c, nullptr)), check(api.deviceFree(d)), check(api.backendFree(b));
  }
}

// A log line's handles and tensors ("context#3"), numbered from 1 per kind as met.
struct Renumbering {
  std::map<std::string, std::string> numbers;
  std::map<std::string, unsigned> counts;
  std::string operator()(const std::string& line) {
    static const std::regex token(R"(\b([a-z]+)#\d+\b)");
    std::string out;
    auto last = line.cbegin();
    for (std::sregex_iterator it(line.begin(), line.end(), token), end; it != end; ++it) {
      const auto [found, added] = numbers.try_emplace(it->str());
      if (added) found->second = (*it)[1].str() + "#" + std::to_string(++counts[(*it)[1]]);
      out.append(last, (*it)[0].first) += found->second;
      last = (*it)[0].second;
    }
    return out.append(last, line.cend());
  }
};

}  // namespace

std::optional<ThreadedRun> threadedRun(const std::string& name) {
  static const std::regex form(R"((threads|serial):(\d+):(\d+))");
  std::smatch parts;
  if (!std::regex_match(name, parts, form)) return std::nullopt;
  return ThreadedRun{static_cast<unsigned>(std::stoul(parts[2])),
                     static_cast<unsigned>(std::stoul(parts[3])), parts[1] == "threads"};
}

unsigned long runThreadedClients(const ZebApi& api, const ThreadedRun& run) {
  std::atomic<unsigned long> failures{0};
  std::vector<std::thread> threads;
  for (unsigned thread = 0; thread < run.threads; ++thread) {
    if (run.atOnce) threads.emplace_back(runClient, std::cref(api), thread, run.rounds, std::ref(failures));
    else runClient(api, thread, run.rounds, failures);
  }
  for (std::thread& thread : threads) thread.join();
  return failures.load();
}

// The thread its marks name, else the one that holds its first handle.
std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log, unsigned threads) {
  static const std::regex mark(R"x("thread_(\d+)"|deviceId=(\d+))x"), handle(R"(\b[a-z]+#\d+\b)");
  std::map<std::string, std::size_t> owners;
  std::vector<Renumbering> numbering(threads + 1);
  std::vector<std::vector<std::string>> lines(threads + 1);
  for (const std::string& line : log) {
    std::optional<std::size_t> owner;
    std::smatch found;
    if (std::regex_search(line, found, mark)) owner = std::stoul(found[1].matched ? found[1].str() : found[2].str());
    for (std::sregex_iterator it(line.begin(), line.end(), handle), end; it != end && !owner; ++it)
      if (owners.count(it->str())) owner = owners[it->str()];
    const std::size_t thread = std::min<std::size_t>(owner.value_or(threads), threads);
    for (std::sregex_iterator it(line.begin(), line.end(), handle), end; it != end; ++it) owners[it->str()] = thread;
    lines[thread].push_back(numbering[thread](line));
  }
  return lines;
}

std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines) {
  Renumbering numbering;
  std::vector<std::string> numbered;
  for (const std::string& line : lines) numbered.push_back(numbering(line));
  return numbered;
}

}  // namespace zeb::e2e
