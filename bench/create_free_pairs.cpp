#include "create_free_pairs.h"

#include "check.h"
#include "scribe_session.h"

namespace zeb::bench {

std::vector<Step> CreateFreePairs::context() {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const Zeb_BackendHandle_t backend = ScribeSession::instance().backend();
  return {[this, &api, backend] {
            check(api.contextCreate(backend, nullptr, contextConfigs_.list, &context_));
          },
          [this, &api] { check(api.contextFree(context_, nullptr)); }};
}

std::vector<Step> CreateFreePairs::backend() {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  return {[this, &api] { check(api.backendCreate(nullptr, backendConfigs_.list, &backend_)); },
          [this, &api] { check(api.backendFree(backend_)); }};
}

std::vector<Step> CreateFreePairs::device() {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  return {[this, &api] { check(api.deviceCreate(nullptr, deviceConfigs_.list, &device_)); },
          [this, &api] { check(api.deviceFree(device_)); }};
}

std::vector<Step> CreateFreePairs::profile() {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const Zeb_BackendHandle_t backend = ScribeSession::instance().backend();
  return {[this, &api, backend] {
            check(api.profileCreate(backend, ZEB_PROFILE_LEVEL_BASIC, &profile_));
          },
          [this, &api] { check(api.profileFree(profile_)); }};
}

}  // namespace zeb::bench
