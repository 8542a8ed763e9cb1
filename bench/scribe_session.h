// The recording library driven as a client drives it: through the function
// table of its provider, recording into a directory of the bench's own.
#pragma once

#include <cstdint>
#include <string>

#include "ZebInterface.h"

namespace zeb::bench {

class ScribeSession {
 public:
  // The one session of the process: the recorder is process-wide.
  static ScribeSession& instance();

  const ZEB_INTERFACE_VER_TYPE& api() const { return *api_; }
  const std::string& directory() const { return directory_; }

  // Finishes the current pair of files (deleting them) and continues in a
  // fresh pair named after the tag. Returns the new model file's path.
  void startFiles(const std::string& tag);
  std::string modelPath() const { return directory_ + modelName_; }
  std::string dataPath() const { return directory_ + dataName_; }
  // Finishes the current pair and keeps it, continuing in a fresh pair:
  // returns the finished model file's path, a whole program.
  std::string finishFiles();

  // A backend that the workloads which need one pass along.
  Zeb_BackendHandle_t backend() const { return backend_; }

 private:
  ScribeSession();
  void switchTo(const std::string& model, const std::string& data);

  const ZEB_INTERFACE_VER_TYPE* api_ = nullptr;
  std::string directory_;
  std::string modelName_;
  std::string dataName_;
  Zeb_BackendHandle_t backend_ = nullptr;
  unsigned generation_ = 0;
};

uint64_t fileLength(const std::string& path);
std::string readBytes(const std::string& path, uint64_t from, uint64_t to);

}  // namespace zeb::bench
