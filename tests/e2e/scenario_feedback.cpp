// The feedback scenario: a client that acts on what its backend answers.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

std::ofstream* notes = nullptr;
const ZebApi* client = nullptr;
// Answers from other threads, kept until the end: one held up may be waiting for this one.
std::vector<std::future<Zeb_ErrorHandle_t>> answers;

// Details are taken by reference: an output is read after the call that fills it.
template <class... Details>
Zeb_ErrorHandle_t note(const char* call, Zeb_ErrorHandle_t code, const Details&... details) {
  *notes << call << ' ' << code;
  ((*notes << ' ' << details), ...);
  *notes << '\n';
  return code;
}

// Messages carry no time: the same run gives the same notes. Each is answered from another
// thread, which a backend busy with the call that sent it must not hold up.
void noteMessage(const char* format, ZebLog_Level_t level, uint64_t, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  note("message", Zeb_ErrorHandle_t(level), text);
  std::future<Zeb_ErrorHandle_t>& answer =
      answers.emplace_back(std::async(std::launch::async, [] { return client->propertyHasCapability(5); }));
  const bool answered = answer.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  note("answered from another thread", answered ? answer.get() : Zeb_ErrorHandle_t(0), answered ? "" : "held up");
}

std::string hashOf(const void* data, std::size_t size) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 0x100000001b3ull;
  return std::to_string(hash);
}

// The first operation of the backend's list that the client knows, else its own fallback.
const char* chooseOperation(Zeb_ErrorHandle_t code, uint32_t count, const ZebBackend_OperationName_t* operations) {
  for (uint32_t i = 0; code == 0 && operations != nullptr && i < count; ++i) {
    note("operation", 0, operations[i].opPackageName, operations[i].name);
    if (std::strcmp(operations[i].name, "Conv2d") == 0) return "Conv2d";
  }
  return "Add";
}

struct Client {
  const ZebApi& api;
  Zeb_LogHandle_t log = nullptr;
  Zeb_BackendHandle_t backend = nullptr;
  Zeb_DeviceHandle_t device = nullptr;
  Zeb_ContextHandle_t context = nullptr, restored = nullptr;
  Zeb_ProfileHandle_t profile = nullptr;
  Zeb_GraphHandle_t graph = nullptr;

  void askTheBackend() {
    Zeb_ApiVersion_t version{};
    note("backendGetApiVersion", api.backendGetApiVersion(&version), version.coreApiVersion.major,
         version.coreApiVersion.minor, version.backendApiVersion.major);
    const char* build = nullptr;
    const Zeb_ErrorHandle_t code = api.backendGetBuildId(&build);
    note("backendGetBuildId", code, code == 0 && build ? build : "-");
  }

  // A device for the hardware that the platform information describes.
  void makeDevice() {
    const ZebDevice_PlatformInfo_t* info = nullptr;
    const Zeb_ErrorHandle_t code = api.deviceGetPlatformInfo(log, &info);
    note("deviceGetPlatformInfo", code, code == 0 && info ? info->v1.numHwDevices : 0);
    const ZebDevice_Config_t platform = devicePlatformInfo(code == 0 ? info : nullptr);
    const ZebDevice_Config_t* configs[] = {code == 0 && info ? &platform : nullptr, nullptr};
    note("deviceCreate", api.deviceCreate(log, configs, &device));
    if (code == 0 && info) note("deviceFreePlatformInfo", api.deviceFreePlatformInfo(log, info));
  }

  // A graph named "loop": tried twice, then taken by its name from the context.
  bool makeGraph(bool prioritised) {
    const ZebGraph_Config_t priority = graphPriority(ZEB_PRIORITY_HIGH);
    const ZebGraph_Config_t* configs[] = {prioritised ? &priority : nullptr, nullptr};
    for (int attempt = 0; attempt < 2; ++attempt)
      if (note("graphCreate", api.graphCreate(context, "loop", configs, &graph)) == 0) return true;
    return note("graphRetrieve", api.graphRetrieve(context, "loop", &graph)) == 0;
  }

  // Each execution's output is the next one's input.
  void runLoop(const char* operation) {
    static uint32_t shape[] = {8};
    float state[8] = {1, 2, 3, 4, 5, 6, 7, 8}, weights[8] = {0.5f, -1, 2, 0, 1, 1, -0.25f, 3}, result[8] = {};
    Zeb_Tensor_t input = tensorV1("state", ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0);
    Zeb_Tensor_t weight = tensorV1("weights", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_FLOAT_32, 1, shape, weights, sizeof weights);
    Zeb_Tensor_t output = tensorV1("result", ZEB_TENSOR_TYPE_APP_READ, ZEB_DATATYPE_FLOAT_32, 1, shape, nullptr, 0);
    for (Zeb_Tensor_t* tensor : {&input, &weight, &output})
      note("tensorCreateGraphTensor", api.tensorCreateGraphTensor(graph, tensor), tensor->v1.id);
    Zeb_Tensor_t inputs[] = {input, weight};
    const Zeb_OpConfig_t op = opConfig("step", "echo.ops", operation, 0, nullptr, 2, inputs, 1, &output);
    note("backendValidateOpConfig", api.backendValidateOpConfig(backend, op));
    note("graphAddNode", api.graphAddNode(graph, op));
    note("profileCreate", api.profileCreate(backend, ZEB_PROFILE_LEVEL_BASIC, &profile));
    note("graphFinalize", api.graphFinalize(graph, profile, nullptr));
    input.v1.clientBuf = {state, sizeof state};
    output.v1.clientBuf = {result, sizeof result};
    for (int round = 0; round < 4; ++round) {
      note("graphExecute", api.graphExecute(graph, &input, 1, &output, 1, profile, nullptr), hashOf(result, sizeof result));
      std::memcpy(state, result, sizeof state);
    }
    runAsynchronously(input, output, result);
  }

  // The calls a recording never holds: signals, memory, tensor updates, asynchronous execution.
  void runAsynchronously(const Zeb_Tensor_t& input, Zeb_Tensor_t& output, const float* result) {
    Zeb_SignalHandle_t signal = nullptr;
    note("signalCreate", api.signalCreate(context, &signal));
    const Zeb_Tensor_t* updated[] = {&input};
    note("graphUpdateInputTensors", api.graphUpdateInputTensors(graph, updated, 1));
    Zeb_ErrorHandle_t status = 77;
    const Zeb_NotifyFn_t done = [](void* param, Zeb_ErrorHandle_t code) { *static_cast<Zeb_ErrorHandle_t*>(param) = code; };
    note("graphExecuteAsync", api.graphExecuteAsync(graph, &input, 1, &output, 1, profile, signal, done, &status), status,
         hashOf(result, 8 * sizeof(float)));
    int descriptor = 0;
    Zeb_MemHandle_t memory = nullptr;
    note("memRegister", api.memRegister(context, &descriptor, 1, &memory));
    note("memDeRegister", api.memDeRegister(&memory, 1));
    note("signalFree", api.signalFree(signal));
  }

  void readProfile() {
    const ZebProfile_EventId_t* events = nullptr;
    uint32_t count = 0;
    const Zeb_ErrorHandle_t code = api.profileGetEvents(profile, &events, &count);
    note("profileGetEvents", code, code == 0 ? count : 0);
    for (uint32_t i = 0; code == 0 && i < count; ++i) {
      ZebProfile_EventData_t data{};
      const Zeb_ErrorHandle_t read = api.profileGetEventData(events[i], &data);
      note("profileGetEventData", read, data.value, data.identifier ? data.identifier : "-");
    }
  }

  // The binary the backend hands out makes a context again, which holds the graph by its name.
  void restoreFromBinary() {
    Zeb_ContextBinarySize_t size = 0, written = 0;
    note("contextGetBinarySize", api.contextGetBinarySize(context, &size), size);
    std::vector<uint8_t> binary(size);
    const Zeb_ErrorHandle_t code = api.contextGetBinary(context, binary.data(), size, &written);
    note("contextGetBinary", code, written, hashOf(binary.data(), binary.size()));
    if (code != 0 || written == 0) return;
    const uint8_t* data = binary.data();
    note("contextCreateFromBinary",
         api.contextCreateFromBinary(backend, device, kNoContextConfigs, data, written, &restored, profile));
    Zeb_GraphHandle_t again = nullptr;
    note("graphRetrieve", api.graphRetrieve(restored, "loop", &again));
    note("contextFree", api.contextFree(restored, nullptr));
  }

  void run() {
    note("logCreate", api.logCreate(noteMessage, ZEB_LOG_LEVEL_WARN, &log));
    askTheBackend();
    const BackendConfig platform[] = {backendPlatform("feedback")};
    note("backendCreate", api.backendCreate(log, listOf(platform).data(), &backend));
    uint32_t count = 0;
    const ZebBackend_OperationName_t* operations = nullptr;
    const Zeb_ErrorHandle_t listed = api.backendGetSupportedOperations(backend, &count, &operations);
    note("backendGetSupportedOperations", listed, listed == 0 ? count : 0);
    const char* operation = chooseOperation(listed, count, operations);
    // Capabilities the client uses when offered: a priority for the graph, a device of the platform's.
    const bool prioritised = note("propertyHasCapability", api.propertyHasCapability(40)) == 0;
    if (note("propertyHasCapability", api.propertyHasCapability(2)) == 0) makeDevice();
    note("contextCreate", api.contextCreate(backend, device, kNoContextConfigs, &context));
    if (makeGraph(prioritised)) {
      runLoop(operation);
      readProfile();
    }
    restoreFromBinary();
    const char* message = nullptr;
    const Zeb_ErrorHandle_t explained = api.errorGetMessage(6999, &message);
    note("errorGetMessage", explained, explained == 0 && message ? message : "-");
    note("contextFree", api.contextFree(context, profile));
    if (profile) note("profileFree", api.profileFree(profile));
    if (device) note("deviceFree", api.deviceFree(device));
    note("backendFree", api.backendFree(backend));
    note("logFree", api.logFree(log));
  }
};

}  // namespace

void feedback(const ZebApi& api) {
  std::ofstream out(kFeedbackNotes);
  notes = &out, client = &api;
  Client{api}.run();
  answers.clear();
  notes = nullptr, client = nullptr;
}

}  // namespace zeb::e2e
