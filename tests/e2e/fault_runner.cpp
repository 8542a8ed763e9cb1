// zeb_fault_runner <scenario|random:SEED> <fault> <outcomes-file>, with ZebScribe in process.
// Faults: N (the N-th stream operation fails: no open, half a write, a failed flush or close;
// 0: none), fsize:N (that write meets a real RLIMIT_FSIZE half way), directory:N (output goes
// to the unwritable /proc/self/ until the N-th call returned). Writes each call's answer and
// whether its block was written; prints the operation count, their kinds (o, h(eader),
// m(odel), d(ata), f(lush), c(lose)) and the switch's answer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "ZebInterface.h"
#include "ZebScribe.h"
#include "pal/pal.h"
#include "scenarios.h"

namespace {

enum class Fault { Simulated, FileSizeLimit, UnwritableDirectory };

pal::StreamOps real;
Fault fault = Fault::Simulated;
unsigned long operations = 0, faultAt = 0, calls = 0;
std::string kinds;
Zeb_ErrorHandle_t switchAnswer = 0;
std::FILE* modelFile = nullptr;  // and whether a block went into it since the last call ended:
bool blockPending = false, blockWritten = false;

bool strikes(char kind) {
  kinds += kind;
  return ++operations == faultAt && fault == Fault::Simulated;
}

std::size_t writeUnderLimit(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
#ifndef _WIN32
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limit = saved;
  limit.rlim_cur = static_cast<rlim_t>(std::ftell(file)) + size * count / 2;
  setrlimit(RLIMIT_FSIZE, &limit);
  const std::size_t written = real.write(buffer, size, count, file);
  setrlimit(RLIMIT_FSIZE, &saved);
  return written;
#else
  return real.write(buffer, size, count, file);
#endif
}

std::FILE* open(const char* path, const char* mode) {
  std::FILE* file = strikes('o') ? nullptr : real.open(path, mode);
  if (std::strlen(path) > 2 && std::strcmp(path + std::strlen(path) - 2, ".c") == 0) modelFile = file;
  return file;
}

std::size_t write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  const bool header = std::strncmp(static_cast<const char*>(buffer), "//=", 3) == 0;
  const char kind = file != modelFile ? 'd' : header ? 'h' : 'm';
  const std::size_t wanted = strikes(kind) ? count / 2 : count;
  const std::size_t written = fault == Fault::FileSizeLimit && operations == faultAt
                                  ? writeUnderLimit(buffer, size, count, file) : real.write(buffer, size, wanted, file);
  blockPending = file == modelFile && written == count && !header;
  return written;
}

int flush(std::FILE* file) {
  const int result = strikes('f') ? EOF : real.flush(file);
  if (file == modelFile && blockPending && result == 0) blockWritten = true;
  blockPending = false;
  return result;
}

bool recordedSince() {
  if (fault == Fault::UnwritableDirectory && ++calls == faultAt)
    zeb::e2e::configureScribe(ZebScribe_initialize, "./scribe_output/", nullptr);
  const bool recorded = blockWritten;
  blockWritten = false;
  return recorded;
}

int close(std::FILE* file) {
  const int result = real.close(file);
  return strikes('c') ? EOF : result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return std::fprintf(stderr, "usage: zeb_fault_runner <scenario> <fault> <outcomes-file>\n"), 2;
  const std::string faultText = argv[2];
  faultAt = std::strtoul(faultText.c_str() + faultText.find(':') + 1, nullptr, 10);
  if (faultText.rfind("fsize:", 0) == 0) fault = Fault::FileSizeLimit;
  if (faultText.rfind("directory:", 0) == 0) fault = Fault::UnwritableDirectory;
#ifndef _WIN32
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  if (fault == Fault::UnwritableDirectory) zeb::e2e::configureScribe(ZebScribe_initialize, "/proc/self/", nullptr);
  zeb::e2e::setFileSwitch([] {
    switchAnswer = zeb::e2e::configureScribe(ZebScribe_initialize, "second.c", "second.bin");
    blockWritten = false;  // the old file's footer is no call's block
  });
  real = pal::streamOps();
  pal::streamOps() = {open, write, flush, close, real.truncate};

  const ZebInterface_t** providers = nullptr; uint32_t count = 0;
  if (ZebInterface_getProviders(&providers, &count) != 0 || count == 0) return 1;
  zeb::e2e::CallOutcomes outcomes;
  outcomes.recordedSince = recordedSince;
  if (!zeb::e2e::runScenario(argv[1], zeb::e2e::observe(providers[0]->ZEB_INTERFACE_VER_NAME, outcomes))) return 2;
  if (!zeb::e2e::writeCallCodes(argv[3], outcomes.results)) return 1;
  std::printf("%lu %s %u\n", operations, kinds.c_str(), static_cast<unsigned>(switchAnswer));
  return 0;
}
