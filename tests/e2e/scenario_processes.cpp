// The forking and other-recorder scenarios (see scenarios.h).
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

// A program run lists its descriptors: none may lead into the recording.
constexpr char kCheckDescriptors[] =
    R"(for f in /proc/$$/fd/*; do readlink "$f"; done | grep -q scribe_output/ && echo "a program run holds a file )"
    R"(of the recording" || echo "a program run holds no file of the recording")";

// Runs what in a child process, which ends with _exit should it return, and waits for it.
template <class What>
void inChild(What what) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) what(), std::fflush(nullptr), _exit(0);
  waitpid(child, nullptr, 0);
}

// A logger that prints, then calls that carry the mark (one on the context when given),
// and their answers.
void markedCalls(const ZebApi& api, const char* mark, Zeb_ContextHandle_t context) {
  Zeb_LogHandle_t log = nullptr;
  api.logCreate(nullptr, ZEB_LOG_LEVEL_ERROR, &log);
  const BackendConfig platform[] = {backendPlatform(mark)};
  Zeb_BackendHandle_t backend = nullptr;
  std::string answers = std::to_string(api.backendCreate(nullptr, listOf(platform).data(), &backend));
  answers += " " + std::to_string(api.backendRegisterOpPackage(backend, mark, "provider", nullptr));
  Zeb_Tensor_t tensor = tensorV1(mark, ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  if (context) answers += " " + std::to_string(api.tensorCreateContextTensor(context, &tensor));
  std::printf("%s answers: %s\n", mark, answers.c_str());
}

}  // namespace

void forking(const ZebApi& api) {
  std::printf("recording process %d\n", static_cast<int>(getpid()));
  const PlainContext plain(api);
  const Zeb_ContextHandle_t context = plain.context;
  Zeb_Tensor_t before = tensorV1("before", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  api.tensorCreateContextTensor(context, &before);
  inChild([] { std::exit(0); });  // its static destructors run
  inChild([&] { markedCalls(api, "forked_child", context); });
  inChild([] { execl("/bin/sh", "sh", "-c", kCheckDescriptors, static_cast<char*>(nullptr)); });
  std::fflush(nullptr), std::system(kCheckDescriptors);  // a child made without fork handlers
  // The runner again, with the library it was given, in the same directory.
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string line(std::istreambuf_iterator<char>(in), {}), library = line.c_str() + line.find('\0') + 1;
  inChild([&] { execl("/proc/self/exe", "runner", library.c_str(), "other-recorder", static_cast<char*>(nullptr)); });
  Zeb_Tensor_t after = tensorV1("after", ZEB_TENSOR_TYPE_STATIC, ZEB_DATATYPE_UINT_8, 1, kShape, kData, 8);
  api.tensorCreateContextTensor(context, &after);
}

void otherRecorder(const ZebApi& api) { markedCalls(api, "other_recorder", nullptr); }

}  // namespace zeb::e2e
#endif
