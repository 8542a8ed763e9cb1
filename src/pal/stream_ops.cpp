// The stream operations of the output files, shared by every platform.
#include "pal/pal.h"

namespace pal {
namespace {

constexpr StreamOps kDefaultStreamOps{
    [](const char* path, const char* mode) {
      std::FILE* file = std::fopen(path, mode);
      if (file) std::setvbuf(file, nullptr, _IONBF, 0);
      return file;
    },
    [](const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
      return std::fwrite(buffer, size, count, file);
    },
    [](std::FILE* file) { return std::fflush(file); },
    [](std::FILE* file) { return std::fclose(file); },
    truncateStream,
};

// Constant-initialised, so it is usable from any static constructor or destructor.
StreamOps currentStreamOps = kDefaultStreamOps;

}  // namespace

StreamOps& streamOps() { return currentStreamOps; }

const StreamOps& defaultStreamOps() { return kDefaultStreamOps; }

}  // namespace pal
