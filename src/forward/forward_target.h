// The real backend that a pass-through recording forwards every call to.
#pragma once

#include <string>

#include "ZebInterface.h"

namespace zeb {

class ForwardTarget {
 public:
  // Loads the library and takes the function table of its first provider;
  // false, with the reason, when it cannot.
  bool load(const std::string& path, std::string& reason);
  bool loaded() const { return loaded_; }
  const ZEB_INTERFACE_VER_TYPE& api() const { return api_; }

 private:
  bool loaded_ = false;
  ZEB_INTERFACE_VER_TYPE api_{};
};

}  // namespace zeb
