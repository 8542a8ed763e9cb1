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

  static std::FILE* failOpen(const char*, const char*) { return nullptr; }
  static std::size_t writeNothing(const void*, std::size_t, std::size_t, std::FILE*) { return 0; }
  // Closes the stream, so nothing leaks, but reports failure.
  static int closeButFail(std::FILE* file) {
    std::fclose(file);
    return EOF;
  }

 private:
  pal::StreamOps saved_;
};

}  // namespace zeb::test
