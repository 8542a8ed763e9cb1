// The create/free pair of each family that holds records, as rounds of two
// steps: contexts with three configurations, backends with two, devices
// with a platform configuration, profiles.
#pragma once

#include <vector>

#include "client_objects.h"
#include "side_by_side.h"

namespace zeb::bench {

class CreateFreePairs {
 public:
  std::vector<Step> context();
  std::vector<Step> backend();
  std::vector<Step> device();
  std::vector<Step> profile();

 private:
  ContextConfigs contextConfigs_;
  BackendConfigs backendConfigs_;
  DeviceConfigs deviceConfigs_;
  Zeb_ContextHandle_t context_ = nullptr;
  Zeb_BackendHandle_t backend_ = nullptr;
  Zeb_DeviceHandle_t device_ = nullptr;
  Zeb_ProfileHandle_t profile_ = nullptr;
};

}  // namespace zeb::bench
