// The stream operations of the output files, shared by every platform.
#include "pal/pal.h"

namespace pal {
namespace {

// As fwrite: the number of whole elements written.
std::size_t writeElements(const void* buffer, std::size_t size, std::size_t count,
                          std::FILE* file) {
  if (size == 0 || count == 0) return 0;
  const auto* bytes = static_cast<const char*>(buffer);
  const std::size_t total = size * count;
  std::size_t done = 0;
  while (done < total) {
    const long written = writeDescriptor(file, bytes + done, total - done);
    if (written <= 0) break;
    done += static_cast<std::size_t>(written);
  }
  return done / size;
}

constexpr StreamOps kDefaultStreamOps{
    [](const char* path) {
      std::FILE* file = openForAppending(path);
      if (file) std::setvbuf(file, nullptr, _IONBF, 0);
      return file;
    },
    writeElements,
    // Every write has reached the descriptor when it returns, so the flush
    // that follows it has nothing left to move; fflush would only cost time.
    [](std::FILE*) { return 0; },
    closeStream,
    truncateStream,
};

// Constant-initialised, so it is usable from any static constructor or destructor.
StreamOps currentStreamOps = kDefaultStreamOps;

}  // namespace

StreamOps& streamOps() { return currentStreamOps; }

const StreamOps& defaultStreamOps() { return kDefaultStreamOps; }

}  // namespace pal
