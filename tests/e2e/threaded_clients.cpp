#include "threaded_clients.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <regex>
#include <thread>

#include "builders.h"

namespace zeb::e2e {
namespace {

class Client {
 public:
  Client(const ZebApi& api, unsigned thread, std::atomic<unsigned long>& failures)
      : api_(api), thread_(thread), failures_(failures) {}

  void round(unsigned number);

 private:
  void check(Zeb_ErrorHandle_t code) {
    if (code != 0) failures_.fetch_add(1);
  }
  Zeb_BackendHandle_t createBackend();
  Zeb_DeviceHandle_t createDevice();
  void runGraph(Zeb_ContextHandle_t context, unsigned number);

  const ZebApi& api_;
  const unsigned thread_;
  std::atomic<unsigned long>& failures_;
};

Zeb_BackendHandle_t Client::createBackend() {
  const std::string mark = "thread_" + std::to_string(thread_);
  const BackendConfig platform = backendPlatform(mark.c_str());
  const BackendConfig* configs[] = {&platform, nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  check(api_.backendCreate(nullptr, configs, &backend));
  return backend;
}

Zeb_DeviceHandle_t Client::createDevice() {
  ZebDevice_HardwareDeviceInfo_t hardware = hardwareDevice(thread_, 0, 0, nullptr);
  const ZebDevice_PlatformInfo_t info = platformInfo(1, &hardware);
  const ZebDevice_Config_t config = devicePlatformInfo(&info);
  const ZebDevice_Config_t* configs[] = {&config, nullptr};
  Zeb_DeviceHandle_t device = nullptr;
  check(api_.deviceCreate(nullptr, configs, &device));
  return device;
}

void Client::runGraph(Zeb_ContextHandle_t context, unsigned number) {
  static uint32_t shape[] = {4};
  const ZebGraph_Config_t* noConfigs[] = {nullptr};
  Zeb_GraphHandle_t graph = nullptr;
  check(api_.graphCreate(context, "g", noConfigs, &graph));
  Zeb_Tensor_t input =
      tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0);
  check(api_.tensorCreateGraphTensor(graph, &input));
  // Data of its own in every execution, so that a blob read for another fails the comparison.
  float data[4] = {static_cast<float>(thread_), static_cast<float>(number), -1.0f, 0.5f};
  input.v1.clientBuf = {data, sizeof data};
  check(api_.graphExecute(graph, &input, 1, nullptr, 0, nullptr, nullptr));
}

void Client::round(unsigned number) {
  Zeb_BackendHandle_t backend = createBackend();
  Zeb_DeviceHandle_t device = createDevice();
  const ZebContext_Config_t* noConfigs[] = {nullptr};
  Zeb_ContextHandle_t context = nullptr;
  check(api_.contextCreate(backend, device, noConfigs, &context));
  runGraph(context, number);
  check(api_.contextFree(context, nullptr));
  check(api_.deviceFree(device));
  check(api_.backendFree(backend));
}

// A log line's handles and tensors ("context#3") in a thread, numbered from 1
// per kind in the order the thread met them.
class Renumbering {
 public:
  std::string apply(const std::string& line) {
    static const std::regex token(R"(\b([a-z]+)#(\d+)\b)");
    std::string out;
    auto last = line.cbegin();
    for (std::sregex_iterator it(line.begin(), line.end(), token), end; it != end; ++it) {
      out.append(last, (*it)[0].first);
      out += numberOf((*it)[1], (*it)[0]);
      last = (*it)[0].second;
    }
    return out.append(last, line.cend());
  }

 private:
  std::string numberOf(const std::string& kind, const std::string& token) {
    const auto [found, added] = numbers_.try_emplace(token, "");
    if (added) found->second = kind + "#" + std::to_string(++counts_[kind]);
    return found->second;
  }
  std::map<std::string, std::string> numbers_;
  std::map<std::string, unsigned> counts_;
};

// The thread a line belongs to: named by its marks, else by its first handle
// that a thread already holds.
std::optional<std::size_t> threadOf(const std::string& line,
                                    const std::map<std::string, std::size_t>& owners) {
  static const std::regex mark(R"x("thread_(\d+)"|deviceId=(\d+))x");
  static const std::regex handle(R"(\b[a-z]+#\d+\b)");
  std::smatch found;
  if (std::regex_search(line, found, mark))
    return std::stoul(found[1].matched ? found[1].str() : found[2].str());
  for (std::sregex_iterator it(line.begin(), line.end(), handle), end; it != end; ++it) {
    const auto owner = owners.find(it->str());
    if (owner != owners.end()) return owner->second;
  }
  return std::nullopt;
}

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
  const auto client = [&](unsigned thread) {
    Client self(api, thread, failures);
    for (unsigned number = 0; number < run.rounds; ++number) self.round(number);
  };
  std::vector<std::thread> threads;
  for (unsigned thread = 0; thread < run.threads; ++thread) {
    if (run.atOnce)
      threads.emplace_back(client, thread);
    else
      client(thread);
  }
  for (std::thread& thread : threads) thread.join();
  return failures.load();
}

std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log,
                                                    unsigned threads) {
  std::map<std::string, std::size_t> owners;
  std::vector<Renumbering> numbering(threads + 1);
  std::vector<std::vector<std::string>> lines(threads + 1);
  static const std::regex handle(R"(\b[a-z]+#\d+\b)");
  for (const std::string& line : log) {
    const std::size_t thread =
        std::min<std::size_t>(threadOf(line, owners).value_or(threads), threads);
    for (std::sregex_iterator it(line.begin(), line.end(), handle), end; it != end; ++it)
      owners[it->str()] = thread;
    lines[thread].push_back(numbering[thread].apply(line));
  }
  return lines;
}

std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines) {
  Renumbering numbering;
  std::vector<std::string> numbered;
  for (const std::string& line : lines) numbered.push_back(numbering.apply(line));
  return numbered;
}

}  // namespace zeb::e2e
