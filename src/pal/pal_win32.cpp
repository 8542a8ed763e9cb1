// Windows side of the platform layer; the only file that sees windows.h.
#include "pal/pal.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstring>

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

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = ::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void* loadLibrary(const std::string& path, std::string& reason) {
  const HMODULE library = ::LoadLibraryA(path.c_str());
  if (library != nullptr) return reinterpret_cast<void*>(library);
  const DWORD error = ::GetLastError();
  char text[512] = "";
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
  reason.assign(text, length);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
    reason.pop_back();
  reason += " (error " + std::to_string(error) + ")";
  return nullptr;
}

// Copied, not cast: a function's address cast to void* draws a warning.
void* librarySymbol(void* library, const char* name) {
  const FARPROC address = ::GetProcAddress(static_cast<HMODULE>(library), name);
  void* symbol = nullptr;
  std::memcpy(&symbol, &address, sizeof symbol);
  return symbol;
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

namespace {

// As on POSIX: far past any end of file, the claim's byte and one byte per
// process id. Windows locks are mandatory, so no read or write may come there.
constexpr uint64_t kClaimByte = uint64_t{1} << 62;
constexpr uint64_t kProcessIds = uint64_t{1} << 32;

OVERLAPPED at(uint64_t offset) {
  OVERLAPPED overlapped{};
  overlapped.Offset = static_cast<DWORD>(offset);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

bool lockRange(HANDLE file, uint64_t start, uint64_t length) {
  OVERLAPPED where = at(start);
  return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                      static_cast<DWORD>(length), static_cast<DWORD>(length >> 32), &where) != 0;
}

void unlockRange(HANDLE file, uint64_t start, uint64_t length) {
  OVERLAPPED where = at(start);
  ::UnlockFileEx(file, 0, static_cast<DWORD>(length), static_cast<DWORD>(length >> 32), &where);
}

// A lock within the range, found by taking one over it.
bool lockedWithin(HANDLE file, uint64_t start, uint64_t length) {
  if (!lockRange(file, start, length)) return true;
  unlockRange(file, start, length);
  return false;
}

// Windows cannot say who holds a lock: the holder's byte is found by halving
// the range of process ids, keeping the half with a lock in it.
unsigned long holderOf(HANDLE file) {
  uint64_t start = kClaimByte + 1, length = kProcessIds;
  if (!lockedWithin(file, start, length)) return 0;
  while (length > 1) {
    const uint64_t half = length / 2;
    if (lockedWithin(file, start, half)) {
      length = half;
    } else {
      start += half;
      length -= half;
    }
  }
  return lockedWithin(file, start, 1) ? static_cast<unsigned long>(start - kClaimByte - 1) : 0;
}

HANDLE handleOf(std::FILE* file) {
  return reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
}

}  // namespace

// "N": not inherited by the processes this one creates.
std::FILE* openForAppending(const char* path) { return std::fopen(path, "abN"); }

// Windows lets go of a closed file's locks in its own time; a file switched
// back to at once must find them gone.
int closeStream(std::FILE* file) {
  const HANDLE handle = handleOf(file);
  unlockRange(handle, kClaimByte, 1);
  unlockRange(handle, kClaimByte + 1 + ::GetCurrentProcessId(), 1);
  return std::fclose(file);
}

Claim claimStream(std::FILE* file, unsigned long& holder) {
  const HANDLE handle = handleOf(file);
  if (::GetFileType(handle) != FILE_TYPE_DISK) return Claim::kTaken;
  if (lockRange(handle, kClaimByte, 1)) {
    lockRange(handle, kClaimByte + 1 + ::GetCurrentProcessId(), 1);
    return Claim::kTaken;
  }
  if (::GetLastError() != ERROR_LOCK_VIOLATION) return Claim::kUnavailable;
  holder = holderOf(handle);
  return Claim::kHeld;
}

unsigned long processId() { return ::GetCurrentProcessId(); }

void watchForks(void (*)(), void (*)(), void (*)()) {}

long writeDescriptor(std::FILE* file, const char* bytes, std::size_t count) {
  // _write takes an unsigned count; a larger buffer goes in several writes.
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  const auto chunk = static_cast<unsigned>(count < kLargestWrite ? count : kLargestWrite);
  return ::_write(::_fileno(file), bytes, chunk);
}

}  // namespace pal
