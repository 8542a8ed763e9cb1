#include "forward/forward_target.h"

#include <cstring>

#include "pal/pal.h"

namespace zeb {

bool ForwardTarget::load(const std::string& path, std::string& reason) {
  void* library = pal::loadLibrary(path, reason);
  if (library == nullptr) return false;
  void* symbol = pal::librarySymbol(library, "ZebInterface_getProviders");
  ZebInterface_GetProvidersFn_t getProviders = nullptr;
  std::memcpy(&getProviders, &symbol, sizeof getProviders);
  if (getProviders == nullptr) {
    reason = "it exports no ZebInterface_getProviders";
    return false;
  }
  // Every call would come back here, for ever.
  if (getProviders == &ZebInterface_getProviders) {
    reason = "it is ZebScribe itself";
    return false;
  }
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  if (getProviders(&providers, &count) != ZEB_SUCCESS || count == 0 || providers == nullptr ||
      providers[0] == nullptr) {
    reason = "it offers no interface provider";
    return false;
  }
  api_ = providers[0]->ZEB_INTERFACE_VER_NAME;
  loaded_ = true;
  return true;
}

}  // namespace zeb
