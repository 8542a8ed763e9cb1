// zeb_fault_runner <scenario|random:SEED> <fault> <outcomes-file>, with ZebScribe in process
// (POSIX: under wine the native runner records and the Windows programs replay).
// Faults: N (the N-th stream operation fails: no open, half a write, a failed flush, close or
// truncation; 0: none), fsize:N (that write meets a real RLIMIT_FSIZE half way), directory:N
// (output goes to the unwritable /proc/self/ until the N-th call returned), kill:N (the process
// dies before the N-th operation, as a kill leaves it), cut:N (it dies half way through that
// write). Writes each call's answer and whether its block was written; prints at exit the
// count of operations until the scenario ended, the kinds of all (o(pen), h(eader), m(odel
// block), e(nd: footer), d(ata), f(lush), c(lose), t(runcate)) and the switch's answer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <csignal>
#include <sys/resource.h>

#include "ZebInterface.h"
#include "ZebScribe.h"
#include "pal/pal.h"
#include "scenarios.h"

namespace {

enum class Fault { Simulated, FileSizeLimit, UnwritableDirectory, Kill, CutAndKill };

pal::StreamOps real;
Fault fault = Fault::Simulated;
unsigned long operations = 0, operationsInMain = 0, faultAt = 0, calls = 0;
std::string kinds;
Zeb_ErrorHandle_t switchAnswer = 0;
std::FILE* modelFile = nullptr;  // and whether a block went into it since the last call ended:
bool blockPending = false, blockWritten = false;

// Ends the process at once, as SIGKILL would: no destructor, no footer.
[[noreturn]] void die() { std::_Exit(137); }

bool strikes(char kind) {
  kinds += kind;
  if (++operations == faultAt && fault == Fault::Kill) die();
  return operations == faultAt && fault == Fault::Simulated;
}

std::size_t writeUnderLimit(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limit = saved;
  limit.rlim_cur = static_cast<rlim_t>(std::ftell(file)) + size * count / 2;
  setrlimit(RLIMIT_FSIZE, &limit);
  const std::size_t written = real.write(buffer, size, count, file);
  setrlimit(RLIMIT_FSIZE, &saved);
  return written;
}

std::FILE* open(const char* path) {
  std::FILE* file = strikes('o') ? nullptr : real.open(path);
  if (std::strlen(path) > 2 && std::strcmp(path + std::strlen(path) - 2, ".c") == 0) modelFile = file;
  return file;
}

char kindOf(const void* buffer, std::FILE* file) {
  const auto* text = static_cast<const char*>(buffer);
  if (file != modelFile) return 'd';
  return std::strncmp(text, "//=", 3) == 0 ? 'h' : std::strncmp(text, "   if (logging)", 15) == 0 ? 'e' : 'm';
}

std::size_t write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  const char kind = kindOf(buffer, file);
  const std::size_t wanted = strikes(kind) ? count / 2 : count;
  const bool struck = operations == faultAt;
  if (struck && fault == Fault::CutAndKill) real.write(buffer, size, count / 2, file), die();
  const std::size_t written = struck && fault == Fault::FileSizeLimit ? writeUnderLimit(buffer, size, count, file)
                                                                      : real.write(buffer, size, wanted, file);
  blockPending = kind == 'm' && written == count;
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
  const bool struck = strikes('c');
  const int result = real.close(file);
  return struck ? EOF : result;
}

int truncate(std::FILE* file, uint64_t length) { return strikes('t') ? -1 : real.truncate(file, length); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return std::fprintf(stderr, "usage: zeb_fault_runner <scenario> <fault> <outcomes-file>\n"), 2;
  const std::string faultText = argv[2];
  faultAt = std::strtoul(faultText.c_str() + faultText.find(':') + 1, nullptr, 10);
  const std::pair<const char*, Fault> byPrefix[] = {
      {"fsize:", Fault::FileSizeLimit}, {"directory:", Fault::UnwritableDirectory}, {"kill:", Fault::Kill},
      {"cut:", Fault::CutAndKill}};
  for (const auto& [prefix, kind] : byPrefix) if (faultText.rfind(prefix, 0) == 0) fault = kind;
  std::signal(SIGXFSZ, SIG_IGN);
  if (fault == Fault::UnwritableDirectory) zeb::e2e::configureScribe(ZebScribe_initialize, "/proc/self/", nullptr);
  zeb::e2e::setFileSwitch([] {
    switchAnswer = zeb::e2e::configureScribe(ZebScribe_initialize, "second.c", "second.bin");
  });
  // After the recorder, made at the first call, has finished its files at exit.
  std::atexit([] { std::printf("%lu %s %u\n", operationsInMain, kinds.c_str(), static_cast<unsigned>(switchAnswer)); });
  real = pal::streamOps();
  pal::streamOps() = {open, write, flush, close, truncate};

  const ZebInterface_t** providers = nullptr; uint32_t count = 0;
  if (ZebInterface_getProviders(&providers, &count) != 0 || count == 0) return 1;
  zeb::e2e::CallOutcomes outcomes;
  outcomes.recordedSince = recordedSince;
  if (!zeb::e2e::runScenario(argv[1], zeb::e2e::observe(providers[0]->ZEB_INTERFACE_VER_NAME, outcomes))) return 2;
  operationsInMain = operations;
  return zeb::e2e::writeCallCodes(argv[3], outcomes.results) ? 0 : 1;
}
