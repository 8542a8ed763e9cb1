// POSIX side of the platform layer.
#include "pal/pal.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace pal {
namespace {

// A trailing "/" would make stat fail on a plain file, which then looks
// missing instead of being reported as in the way.
bool statOf(std::string path, struct stat& status) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return ::stat(path.c_str(), &status) == 0;
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
