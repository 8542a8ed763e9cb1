// The interface provider that this library presents, and the registry of
// provider records that ZebInterface_getProviders hands out.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "ZebInterface.h"

namespace zeb {

inline constexpr uint32_t kBackendId = 2;
inline constexpr const char* kProviderName = "SCRIBE_VORA_KITE";
inline constexpr Zeb_ApiVersion_t kApiVersion{{2, 15, 0}, {1, 1, 0}};

// The 56 slots, each leading to its entry point.
ZEB_INTERFACE_VER_TYPE functionTable();

class ProviderRegistry {
 public:
  // The process-wide registry, created on first use.
  static ProviderRegistry& instance();

  // Copies the record in; refuses (false) a record without graph or tensor slots.
  bool add(const ZebInterface_t& provider);

  // Valid as long as the registry lives; stable once registration is over.
  const ZebInterface_t** providers() { return pointers_.data(); }
  uint32_t count() const { return static_cast<uint32_t>(pointers_.size()); }

 private:
  std::list<ZebInterface_t> records_;  // nodes never move, so pointers_ stays valid
  std::vector<const ZebInterface_t*> pointers_;
};

}  // namespace zeb
