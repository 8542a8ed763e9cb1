// The forking and other-recorder scenarios (see scenarios.h): processes other than the
// recording one call the API while it records.
#include "scenarios.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "builders.h"

namespace zeb::e2e {
namespace {

uint8_t kData[8] = {1, 2, 3, 4, 5, 6, 7, 8};
uint32_t kShape[] = {8};

// A program the process runs lists its descriptors: none may lead into the recording.
constexpr char kCheckDescriptors[] =
    R"(for f in /proc/$$/fd/*; do readlink "$f"; done | grep -q scribe_output/ )"
    R"(&& echo "a program run holds a file of the recording" || echo "a program run holds no file of the recording")";

// Runs what in a child process and waits for it; the child ends with _exit when what returns.
template <class What>
void inChild(What what) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) what(), std::fflush(nullptr), _exit(0);
  waitpid(child, nullptr, 0);
}

// The library the runner was given, from its command line.
std::string runnersLibrary() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string line(std::istreambuf_iterator<char>(in), {});
  const std::size_t first = line.find('\0') + 1;
  return line.substr(first, line.find('\0', first) - first);
}

// A logger that prints to standard output, then calls that carry the mark (on context
// when given); prints their answers.
void markedCalls(const ZebApi& api, const char* mark, Zeb_ContextHandle_t context) {
  Zeb_LogHandle_t log = nullptr;
  api.logCreate(nullptr, ZEB_LOG_LEVEL_ERROR, &log);
  const BackendConfig platform = backendPlatform(mark);
  const BackendConfig* configs[] = {&platform, nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  std::string answers = std::to_string(api.backendCreate(nullptr, configs, &backend));
  answers += " " + std::to_string(api.backendRegisterOpPackage(backend, mark, "provider", nullptr));
  Zeb_Tensor_t tensor = tensorV1(mark, ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  if (context) answers += " " + std::to_string(api.tensorCreateContextTensor(context, &tensor));
  std::printf("%s answers: %s\n", mark, answers.c_str());
}

}  // namespace

void forking(const ZebApi& api) {
  std::printf("recording process %d\n", static_cast<int>(getpid()));
  const ZebBackend_Config_t* noBackendConfigs[] = {nullptr};
  const ZebContext_Config_t* noContextConfigs[] = {nullptr};
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, noBackendConfigs, &backend);
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, noContextConfigs, &context);
  Zeb_Tensor_t tensor = tensorV1("before", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  api.tensorCreateContextTensor(context, &tensor);
  inChild([] { std::exit(0); });  // its static destructors run
  inChild([&] { markedCalls(api, "forked_child", context); });
  inChild([] { execl("/bin/sh", "sh", "-c", kCheckDescriptors, static_cast<char*>(nullptr)); });
  std::fflush(nullptr);
  std::system(kCheckDescriptors);  // a child made without fork handlers
  const std::string library = runnersLibrary();
  inChild([&] { execl("/proc/self/exe", "zeb_scenario_runner", library.c_str(), "other-recorder", static_cast<char*>(nullptr)); });
  Zeb_Tensor_t after = tensorV1("after", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  api.tensorCreateContextTensor(context, &after);
  api.contextFree(context, nullptr); api.backendFree(backend);
}

void otherRecorder(const ZebApi& api) { markedCalls(api, "other_recorder", nullptr); }

}  // namespace zeb::e2e
#endif
