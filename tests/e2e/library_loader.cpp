#include "library_loader.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#else
#include <dlfcn.h>
#endif

namespace zeb::e2e {

#ifdef _WIN32

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(reinterpret_cast<void*>(LoadLibraryA(path.c_str()))) {
  if (!handle_) error_ = "LoadLibraryA failed with error " + std::to_string(GetLastError());
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::symbol(const char* name) const {
  // Copied, not cast: a function pointer cast to void* draws a warning.
  const FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name);
  void* result = nullptr;
  std::memcpy(&result, &address, sizeof result);
  return result;
}

#else

LoadedLibrary::LoadedLibrary(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW)) {
  if (!handle_) error_ = dlerror();
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_) dlclose(handle_);
}

void* LoadedLibrary::symbol(const char* name) const { return dlsym(handle_, name); }

#endif

}  // namespace zeb::e2e
