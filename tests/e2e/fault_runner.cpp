// zeb_fault_runner <scenario-name|random:SEED> <fault> <outcomes-file>
//
// Runs a scenario against ZebScribe linked into this process, with the
// fault-th stream operation of its output files failing (0: none): an open
// finds nothing, a write stops half way, a flush or close reports failure.
// Writes what every call answered, and whether its block reached the model
// file, to the outcomes file, and prints how many stream operations the
// scenario made before the library is unloaded.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "observed_api.h"
#include "pal/pal.h"

namespace {

pal::StreamOps real;
unsigned long operations = 0;
unsigned long faultAt = 0;

// The model file, and whether a block (not the header) went into it since the
// last call ended.
std::FILE* modelFile = nullptr;
bool blockPending = false;
bool blockWritten = false;

bool strikes() { return ++operations == faultAt; }

std::FILE* open(const char* path, const char* mode) {
  std::FILE* file = strikes() ? nullptr : real.open(path, mode);
  if (std::string(path).rfind(".c") == std::strlen(path) - 2) modelFile = file;
  return file;
}

std::size_t write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  const std::size_t wanted = strikes() ? count / 2 : count;
  const std::size_t written = real.write(buffer, size, wanted, file);
  const bool header = std::strncmp(static_cast<const char*>(buffer), "//=", 3) == 0;
  blockPending = file == modelFile && written == count && !header;
  return written;
}

int flush(std::FILE* file) {
  const int result = strikes() ? EOF : real.flush(file);
  if (file == modelFile && blockPending && result == 0) blockWritten = true;
  blockPending = false;
  return result;
}

bool recordedSince() {
  const bool recorded = blockWritten;
  blockWritten = false;
  return recorded;
}

int close(std::FILE* file) {
  const int result = real.close(file);
  return strikes() ? EOF : result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return std::fprintf(stderr, "usage: zeb_fault_runner <scenario> <fault> <outcomes-file>\n"), 2;
  faultAt = std::strtoul(argv[2], nullptr, 10);
  real = pal::streamOps();
  pal::streamOps() = {open, write, flush, close, real.truncate};

  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  if (ZebInterface_getProviders(&providers, &count) != 0 || count == 0) return 1;
  zeb::e2e::CallOutcomes outcomes;
  outcomes.recordedSince = recordedSince;
  if (!zeb::e2e::runScenario(argv[1], zeb::e2e::observe(providers[0]->ZEB_INTERFACE_VER_NAME, outcomes))) return 2;
  if (!zeb::e2e::writeCallCodes(argv[3], outcomes.results)) return 1;
  std::printf("%lu\n", operations);
  return 0;
}
