// Loads a backend library at run time, as a client of the API does.
#pragma once

#include <string>

namespace zeb::e2e {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The address of an exported symbol, or NULL.
  void* symbol(const char* name) const;
  // Why loading failed, as the platform tells it.
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace zeb::e2e
