// Windows side of the platform layer; the only file that sees windows.h.
#include "pal/pal.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#include <stdio.h>

namespace pal {
namespace {

// FILETIME counts 100 ns steps from 1601; this many of them lie before 1970.
constexpr uint64_t kStepsFrom1601To1970 = 116444736000000000ull;
constexpr uint64_t kNanosecondsPerStep = 100;

// A trailing separator would hide a plain file, which must be reported as in
// the way rather than as missing.
DWORD attributesOf(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return ::GetFileAttributesA(path.c_str());
}

}  // namespace

bool exists(const std::string& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool isDirectory(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Windows has no permission bits to give; the directory inherits its ACL.
bool Directory::create(const std::string& path, unsigned /*permissions*/) {
  if (exists(path)) return isDirectory(path);
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

uint64_t systemClockNanoseconds() {
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  const uint64_t steps = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (steps - kStepsFrom1601To1970) * kNanosecondsPerStep;
}

bool localTime(std::time_t seconds, std::tm& out) { return ::localtime_s(&out, &seconds) == 0; }

uint64_t fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int truncateStream(std::FILE* file, uint64_t length) {
  const auto offset = static_cast<__int64>(length);
  if (std::fflush(file) != 0 || ::_chsize_s(::_fileno(file), offset) != 0) return -1;
  return ::_fseeki64(file, offset, SEEK_SET);
}

long writeDescriptor(std::FILE* file, const char* bytes, std::size_t count) {
  // _write takes an unsigned count; a larger buffer goes in several writes.
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  const auto chunk = static_cast<unsigned>(count < kLargestWrite ? count : kLargestWrite);
  return ::_write(::_fileno(file), bytes, chunk);
}

}  // namespace pal
