// POSIX side of the platform layer.
#include "pal/pal.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

// Locks of an open file description: unlike a process's record locks, closing
// another descriptor of the same file (the recorder reads a continued program
// back) leaves them held, and two recorders of one process see each other.
#ifndef F_OFD_SETLK
#error "open file description locks (F_OFD_SETLK) are needed"
#endif

namespace pal {
namespace {

// A trailing "/" would make stat fail on a plain file, which then looks
// missing instead of being reported as in the way.
bool statOf(std::string path, struct stat& status) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return ::stat(path.c_str(), &status) == 0;
}

// Far past the end of any file, where no read or write ever comes: the claim's
// byte, then one byte per process id, which the holder locks too so that the
// others can name it.
constexpr off_t kClaimByte = off_t{1} << 62;
constexpr off_t kProcessIds = off_t{1} << 32;

struct flock byteRange(off_t start, off_t length) {
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = start;
  range.l_len = length;
  return range;
}

bool lockRange(int descriptor, off_t start, off_t length) {
  struct flock range = byteRange(start, length);
  return ::fcntl(descriptor, F_OFD_SETLK, &range) == 0;
}

unsigned long holderOf(int descriptor) {
  struct flock range = byteRange(kClaimByte + 1, kProcessIds);
  if (::fcntl(descriptor, F_OFD_GETLK, &range) != 0 || range.l_type == F_UNLCK) return 0;
  return static_cast<unsigned long>(range.l_start - kClaimByte - 1);
}

}  // namespace

bool exists(const std::string& path) {
  struct stat status;
  return statOf(path, status);
}

bool isDirectory(const std::string& path) {
  struct stat status;
  return statOf(path, status) && S_ISDIR(status.st_mode);
}

bool Directory::create(const std::string& path, unsigned permissions) {
  if (exists(path)) return isDirectory(path);
  return ::mkdir(path.c_str(), static_cast<mode_t>(permissions)) == 0;
}

std::FILE* openForAppending(const char* path) { return std::fopen(path, "abe"); }

int closeStream(std::FILE* file) { return std::fclose(file); }

Claim claimStream(std::FILE* file, unsigned long& holder) {
  const int descriptor = ::fileno(file);
  struct stat status;
  if (::fstat(descriptor, &status) != 0) return Claim::kUnavailable;
  if (!S_ISREG(status.st_mode)) return Claim::kTaken;
  if (lockRange(descriptor, kClaimByte, 1)) {
    lockRange(descriptor, kClaimByte + 1 + ::getpid(), 1);
    return Claim::kTaken;
  }
  if (errno != EAGAIN && errno != EACCES) return Claim::kUnavailable;
  holder = holderOf(descriptor);
  return Claim::kHeld;
}

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

void watchForks(void (*prepare)(), void (*parent)(), void (*child)()) {
  ::pthread_atfork(prepare, parent, child);
}

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = ::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// Local: the library's symbols never stand in for the client's or ours.
void* loadLibrary(const std::string& path, std::string& reason) {
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = ::dlerror();
    reason = error != nullptr ? error : "unknown error";
  }
  return library;
}

void* librarySymbol(void* library, const char* name) { return ::dlsym(library, name); }

uint64_t systemClockNanoseconds() {
  // The same 100 ns resolution as the Windows clock, so timestamps agree.
  constexpr uint64_t kStep = 100;
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  const uint64_t nanoseconds =
      static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
  return nanoseconds / kStep * kStep;
}

bool localTime(std::time_t seconds, std::tm& out) { return ::localtime_r(&seconds, &out) != nullptr; }

uint64_t fileSize(const std::string& path) {
  struct stat status;
  return statOf(path, status) ? static_cast<uint64_t>(status.st_size) : 0;
}

int truncateStream(std::FILE* file, uint64_t length) {
  const auto offset = static_cast<off_t>(length);
  if (std::fflush(file) != 0 || ::ftruncate(::fileno(file), offset) != 0) return -1;
  return ::fseeko(file, offset, SEEK_SET);
}

long writeDescriptor(std::FILE* file, const char* bytes, std::size_t count) {
  ssize_t written;
  do {
    written = ::write(::fileno(file), bytes, count);
  } while (written < 0 && errno == EINTR);
  return static_cast<long>(written);
}

}  // namespace pal
