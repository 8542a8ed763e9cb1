// Replaces entries of the stream-operation table for one test and restores the
// previous table afterwards.
#pragma once

#include <cstdio>

#include "pal/pal.h"

namespace zeb::test {

class StreamOpsOverride {
 public:
  StreamOpsOverride() : saved_(pal::streamOps()) {}
  ~StreamOpsOverride() { pal::streamOps() = saved_; }
  StreamOpsOverride(const StreamOpsOverride&) = delete;
  StreamOpsOverride& operator=(const StreamOpsOverride&) = delete;

  pal::StreamOps& ops() { return pal::streamOps(); }

  // Ready-made failures.
  static std::FILE* failOpen(const char*, const char*) { return nullptr; }
  static std::size_t writeNothing(const void*, std::size_t, std::size_t, std::FILE*) { return 0; }
  static std::size_t writeOneLess(const void* buffer, std::size_t size, std::size_t count,
                                  std::FILE* file) {
    return count == 0 ? 0 : std::fwrite(buffer, size, count - 1, file);
  }
  static int failFlush(std::FILE*) { return EOF; }
  // Closes the stream, so nothing leaks, but reports failure.
  static int closeButFail(std::FILE* file) {
    std::fclose(file);
    return EOF;
  }

 private:
  pal::StreamOps saved_;
};

}  // namespace zeb::test
