#include "api/provider.h"

namespace zeb {
namespace {

// Without these slots a client cannot build or run a graph at all.
bool hasGraphAndTensorSlots(const ZEB_INTERFACE_VER_TYPE& table) {
  return table.graphCreate && table.graphAddNode && table.graphFinalize && table.graphRetrieve &&
         table.graphExecute && table.tensorCreateContextTensor && table.tensorCreateGraphTensor;
}

ZebInterface_t makeProvider() {
  ZebInterface_t provider{};
  provider.ZEB_INTERFACE_VER_NAME = functionTable();
  provider.backendId = kBackendId;
  provider.providerName = kProviderName;
  provider.apiVersion = kApiVersion;
  return provider;
}

// Built and registered while the library loads, before any client call.
const ZebInterface_t kProvider = makeProvider();
[[maybe_unused]] const bool kRegistered = ProviderRegistry::instance().add(kProvider);

}  // namespace

ProviderRegistry& ProviderRegistry::instance() {
  static ProviderRegistry registry;
  return registry;
}

bool ProviderRegistry::add(const ZebInterface_t& provider) {
  if (!hasGraphAndTensorSlots(provider.ZEB_INTERFACE_VER_NAME)) return false;
  records_.push_back(provider);
  pointers_.push_back(&records_.back());
  return true;
}

}  // namespace zeb

extern "C" ZEB_API Zeb_ErrorHandle_t ZebInterface_getProviders(const ZebInterface_t*** providerList,
                                                               uint32_t* numProviders) {
  if (providerList == nullptr || numProviders == nullptr) return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  zeb::ProviderRegistry& registry = zeb::ProviderRegistry::instance();
  *providerList = registry.providers();
  *numProviders = registry.count();
  return 0;
}
