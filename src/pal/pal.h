// Platform layer: every operating-system call of the library goes through here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

namespace pal {

// True when the file-system status of the path can be read.
bool exists(const std::string& path);

// True when the path's attributes can be read and mark a directory.
bool isDirectory(const std::string& path);

struct Directory {
  // Creates one directory level when the path does not exist; when it exists,
  // reports whether it is a directory.
  static bool create(const std::string& path, unsigned permissions = 0777);
};

// Nanoseconds since 1970 on the system clock, in steps of 100 ns.
uint64_t systemClockNanoseconds();

// Converts seconds since 1970 to local calendar time; false on failure.
bool localTime(std::time_t seconds, std::tm& out);

// Size in bytes of the file at path; 0 when it cannot be read.
uint64_t fileSize(const std::string& path);

// Cuts an open stream's file to length bytes and places the stream there; 0 on success.
int truncateStream(std::FILE* file, uint64_t length);

// One write of up to count bytes to the stream's file descriptor, past stdio;
// the bytes written, or 0 or less when nothing could be.
long writeDescriptor(std::FILE* file, const char* bytes, std::size_t count);

// Opens the file at path for writing at its end, creating it when missing and
// changing nothing in it; null on failure. Programs the process runs do not
// inherit it.
std::FILE* openForAppending(const char* path);

// Closes a stream of openForAppending, and with it its claim.
int closeStream(std::FILE* file);

// The claim that makes a regular file one recorder's output: an exclusive lock
// of the operating system, which lets go of it when the stream is closed or its
// process ends, so a holder that died never blocks. Any other kind of file
// needs no claim and counts as taken.
enum class Claim { kTaken, kHeld, kUnavailable };
// On kHeld, holder is the id of the process that holds it, or 0 when that
// cannot be told.
Claim claimStream(std::FILE* file, unsigned long& holder);

unsigned long processId();

// In a process about to fork, calls prepare; after the fork, parent in it and
// child in the new process. Windows has no fork and calls none of them.
void watchForks(void (*prepare)(), void (*parent)(), void (*child)());

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> environmentVariable(const char* name);

// Loads a dynamic library for the rest of the process: nothing unloads it, as
// Windows forbids a library to unload another while it is itself unloaded.
// Null on failure, with the system's reason in `reason`.
void* loadLibrary(const std::string& path, std::string& reason);
// The address of an exported function of a loaded library; null when it has none.
void* librarySymbol(void* library, const char* name);

// The C-stream operations that the output files use. Tests replace entries to
// make any open, write, flush, close or truncation fail.
struct StreamOps {
  std::FILE* (*open)(const char* path);  // for writing at the end, as openForAppending
  std::size_t (*write)(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
  int (*flush)(std::FILE* file);
  int (*close)(std::FILE* file);
  int (*truncate)(std::FILE* file, uint64_t length);
};

// The operations in force; assigning to the returned table swaps them.
StreamOps& streamOps();

// The platform's own stream operations: openForAppending unbuffered, a write
// straight to the descriptor (as many writeDescriptor calls as it takes), a
// flush that has nothing to do, closeStream, truncateStream. Unbuffered, every
// write reaches the file at once and a failed one leaves nothing behind in a
// buffer to reappear later. As stdio never holds any of their bytes, writes
// skip it (fwrite's own path would add 0.1 to 0.2 us to every block) and so
// does the flush.
const StreamOps& defaultStreamOps();

}  // namespace pal
