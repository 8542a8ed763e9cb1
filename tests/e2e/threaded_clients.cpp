#include "scenarios.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <thread>

#include "builders.h"

namespace zeb::e2e {
namespace {

// A configuration and the NULL-terminated list that holds it (never copied).
template <class Config> struct OneConfig { Config config; const Config* list[2] = {&config, nullptr}; };

// One thread's rounds through every recording entry point and the configuration (so
// that a lock missing from any of them lets two threads meet). Calls that did not answer
// 0, a query's 4950 or not supported are added to failures.
void runClient(const ZebApi& api, const ThreadedRun& run, unsigned thread, std::atomic<unsigned long>& failures) {
  const auto check = [&](Zeb_ErrorHandle_t code) {
    failures += code != 0 && code != ZEB_SCRIBE_QUERY_RECORDED && code != ZEB_COMMON_ERROR_NOT_SUPPORTED;
  };
  static uint32_t shape[] = {4};
  static uint8_t binary[16] = {0xB1, 1, 2, 3};
  const std::string mark = "thread_" + std::to_string(thread);
  ZebDevice_HardwareDeviceInfo_t hardware = hardwareDevice(thread, 0, 0, nullptr);
  const ZebDevice_PlatformInfo_t info = platformInfo(1, &hardware);
  OneConfig<BackendConfig> backendConfigs{backendPlatform(mark.c_str())};
  OneConfig<ZebDevice_Config_t> deviceConfigs{devicePlatformInfo(&info)};
  OneConfig<ContextConfig> contextConfigs{contextPriority(ZEB_PRIORITY_HIGH)};
  OneConfig<ZebGraph_Config_t> graphConfigs{graphPriority(ZEB_PRIORITY_LOW)};
  OneConfig<ZebProfile_Config_t> profileConfigs{profileMaxEvents(thread + 1)};
  const ZebGraph_ExecutionEnvironment_t* noEnvironment[] = {nullptr};
  // The first call meets the other threads' first ones, one of which starts the recorder:
  // a call that does no more than start it, whose answer does not matter.
  const char* message = nullptr;
  switch (thread % 5) {
    case 0: api.errorGetMessage(0, &message); break;
    case 1: api.errorGetVerboseMessage(0, &message); break;
    case 2: api.errorFreeVerboseMessage(nullptr); break;
    case 3: api.graphPrepareExecutionEnvironment(nullptr, noEnvironment); break;
    default: if (run.initialize) run.initialize(nullptr);
  }
  for (unsigned number = 0; number < run.rounds; ++number) {
    Zeb_BackendHandle_t b = nullptr; check(api.backendCreate(nullptr, backendConfigs.list, &b));
    check(api.backendSetConfig(b, backendConfigs.list));
    check(api.backendRegisterOpPackage(b, mark.c_str(), "provider", nullptr));
    uint32_t count = 0; const ZebBackend_OperationName_t* operations = nullptr;
    check(api.backendGetSupportedOperations(b, &count, &operations));
    check(api.propertyHasCapability(thread));
    const ZebDevice_PlatformInfo_t* platformInfo = nullptr; check(api.deviceGetPlatformInfo(nullptr, &platformInfo));
    ZebDevice_Infrastructure_t infrastructure = nullptr; check(api.deviceGetInfrastructure(&infrastructure));
    Zeb_DeviceHandle_t d = nullptr; check(api.deviceCreate(nullptr, deviceConfigs.list, &d));
    check(api.deviceSetConfig(d, deviceConfigs.list));
    check(api.deviceGetInfo(d, &platformInfo));
    Zeb_ProfileHandle_t p = nullptr; check(api.profileCreate(b, ZEB_PROFILE_LEVEL_BASIC, &p));
    check(api.profileSetConfig(p, profileConfigs.list));
    const ZebProfile_EventId_t* events = nullptr; check(api.profileGetEvents(p, &events, &count));
    check(api.profileGetSubEvents(thread, &events, &count));
    ZebProfile_EventData_t data{}; check(api.profileGetEventData(thread, &data));
    ZebProfile_ExtendedEventData_t extended{}; check(api.profileGetExtendedEventData(thread, &extended));
    Zeb_ContextHandle_t c = nullptr; check(api.contextCreate(b, d, kNoContextConfigs, &c));
    check(api.contextSetConfig(c, contextConfigs.list));
    Zeb_GraphHandle_t g = nullptr; check(api.graphCreate(c, "g", kNoGraphConfigs, &g));
    check(api.graphSetConfig(g, graphConfigs.list));
    Zeb_GraphHandle_t sub = nullptr; check(api.graphCreateSubgraph(g, "sub", &sub));
    // Data of its own in every block, so that a blob read for another fails the comparison.
    float values[4] = {static_cast<float>(thread), static_cast<float>(number), -1.0f, 0.5f};
    Zeb_Tensor_t table = tensorV1("table", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 1, shape, values, sizeof values);
    check(api.tensorCreateContextTensor(c, &table));
    // Validated before the tensor exists: backends give different ids.
    Zeb_Tensor_t input = tensorV1("in", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0);
    check(api.backendValidateOpConfig(b, opConfig("node", "pkg", "Op", 0, nullptr, 1, &input, 0, nullptr)));
    check(api.tensorCreateGraphTensor(g, &input));
    check(api.graphAddNode(g, opConfig("node", "pkg", "Op", 0, nullptr, 1, &input, 0, nullptr)));
    check(api.graphFinalize(g, p, nullptr));
    Zeb_GraphHandle_t again = nullptr; check(api.graphRetrieve(c, "g", &again));
    input.v1.clientBuf = {values, sizeof values};
    check(api.graphExecute(g, &input, 1, nullptr, 0, p, nullptr));
    check(api.graphPrepareExecutionEnvironment(g, noEnvironment));
    Zeb_ContextBinarySize_t size = 0, written = 0; check(api.contextGetBinarySize(c, &size));
    std::vector<uint8_t> buffer(size); check(api.contextGetBinary(c, buffer.data(), size, &written));
    check(api.contextValidateBinary(b, d, kNoContextConfigs, binary, sizeof binary));
    Zeb_ContextHandle_t c2 = nullptr, c3 = nullptr;
    check(api.contextCreateFromBinary(b, d, kNoContextConfigs, binary, sizeof binary, &c2, p));
    check(api.contextCreateFromBinaryWithSignal(b, d, kNoContextConfigs, binary, sizeof binary, &c3, p, nullptr));
    check(api.errorGetVerboseMessage(0, &message)), check(api.errorFreeVerboseMessage(message));
    if (run.initialize) check(run.initialize(nullptr));  // the default names again: changes nothing
    check(api.contextFree(c3, nullptr)), check(api.contextFree(c2, nullptr)), check(api.contextFree(c, p));
    check(api.profileFree(p)), check(api.deviceFree(d)), check(api.backendFree(b));
  }
}

// The handles and tensors of a log line ("context#3": a lowercase kind, "#", a number, as a
// word of its own), as the offsets of kind, "#" and end; scanned by hand, as logs are long.
template <class Visit>
void forEachToken(const std::string& line, Visit visit) {
  const auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  for (std::size_t hash = line.find('#'); hash != std::string::npos; hash = line.find('#', hash + 1)) {
    std::size_t begin = hash, end = hash + 1;
    while (begin > 0 && std::islower(static_cast<unsigned char>(line[begin - 1]))) --begin;
    while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
    if (begin < hash && end > hash + 1 && (begin == 0 || !word(line[begin - 1])) && (end == line.size() || !word(line[end])))
      visit(begin, hash, end);
  }
}

// The number after a mark ("\"thread_3\"", "deviceId=3") in a line, if any.
std::optional<std::size_t> markedThread(const std::string& line) {
  for (const char* mark : {"\"thread_", "deviceId="}) {
    const std::size_t at = line.find(mark);
    if (at != std::string::npos) return std::strtoul(line.c_str() + at + std::strlen(mark), nullptr, 10);
  }
  return std::nullopt;
}

// A log line's handles and tensors numbered from 1 per kind as met.
struct Renumbering {
  std::map<std::string, std::string> numbers;
  std::map<std::string, unsigned> counts;
  std::string operator()(const std::string& line) {
    std::string out;
    std::size_t last = 0;
    forEachToken(line, [&](std::size_t begin, std::size_t hash, std::size_t end) {
      const auto [found, added] = numbers.try_emplace(line.substr(begin, end - begin));
      if (added) found->second = line.substr(begin, hash - begin + 1) + std::to_string(++counts[line.substr(begin, hash - begin)]);
      out.append(line, last, begin - last) += found->second;
      last = end;
    });
    return out.append(line, last);
  }
};

}  // namespace

std::optional<ThreadedRun> threadedRun(const std::string& name) {
  static const std::regex form(R"((threads|serial|killable):(\d+):(\d+))");
  std::smatch parts;
  if (!std::regex_match(name, parts, form)) return std::nullopt;
  return ThreadedRun{static_cast<unsigned>(std::stoul(parts[2])), static_cast<unsigned>(std::stoul(parts[3])),
                     parts[1] != "serial", parts[1] == "killable"};
}

unsigned long runThreadedClients(const ZebApi& api, const ThreadedRun& run) {
  std::atomic<unsigned long> failures{0};
  std::vector<std::thread> threads;
  for (unsigned thread = 0; thread < run.threads; ++thread) {
    if (run.atOnce) threads.emplace_back(runClient, std::cref(api), std::cref(run), thread, std::ref(failures));
    else runClient(api, run, thread, failures);
  }
  for (std::thread& thread : threads) thread.join();
  while (run.untilKilled) std::this_thread::sleep_for(std::chrono::hours(1));
  return failures.load();
}

// The thread its marks name, else the one that holds its first handle.
std::vector<std::vector<std::string>> splitByThread(const std::vector<std::string>& log, unsigned threads) {
  std::map<std::string, std::size_t> owners;
  std::vector<Renumbering> numbering(threads + 1);
  std::vector<std::vector<std::string>> lines(threads + 1);
  for (const std::string& line : log) {
    std::optional<std::size_t> owner = markedThread(line);
    forEachToken(line, [&](std::size_t begin, std::size_t, std::size_t end) {
      const auto found = owners.find(line.substr(begin, end - begin));
      if (!owner && found != owners.end()) owner = found->second;
    });
    const std::size_t thread = std::min<std::size_t>(owner.value_or(threads), threads);
    forEachToken(line, [&](std::size_t begin, std::size_t, std::size_t end) { owners[line.substr(begin, end - begin)] = thread; });
    lines[thread].push_back(numbering[thread](line));
  }
  std::sort(lines[threads].begin(), lines[threads].end());  // come in any order
  return lines;
}

std::vector<std::string> numberedAfresh(const std::vector<std::string>& lines) {
  Renumbering numbering;
  std::vector<std::string> numbered;
  for (const std::string& line : lines) numbered.push_back(numbering(line));
  return numbered;
}

}  // namespace zeb::e2e
