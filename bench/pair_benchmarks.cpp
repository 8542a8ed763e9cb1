// The create/free pairs of the four families that hold records, each beside
// its baseline.
#include "check.h"
#include "client_objects.h"
#include "scribe_session.h"
#include "side_by_side.h"

namespace zeb::bench {
namespace {

void ContextPair(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const Zeb_BackendHandle_t backend = ScribeSession::instance().backend();
  ContextConfigs configs;
  Zeb_ContextHandle_t context = nullptr;
  runSideBySide(state, "ContextPair",
                {[&] { check(api.contextCreate(backend, nullptr, configs.list, &context)); },
                 [&] { check(api.contextFree(context, nullptr)); }},
                Ratio::Time);
}

void BackendPair(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  BackendConfigs configs;
  Zeb_BackendHandle_t backend = nullptr;
  runSideBySide(state, "BackendPair",
                {[&] { check(api.backendCreate(nullptr, configs.list, &backend)); },
                 [&] { check(api.backendFree(backend)); }},
                Ratio::Time);
}

void DevicePair(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  DeviceConfigs configs;
  Zeb_DeviceHandle_t device = nullptr;
  runSideBySide(state, "DevicePair",
                {[&] { check(api.deviceCreate(nullptr, configs.list, &device)); },
                 [&] { check(api.deviceFree(device)); }},
                Ratio::Time);
}

void ProfilePair(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const Zeb_BackendHandle_t backend = ScribeSession::instance().backend();
  Zeb_ProfileHandle_t profile = nullptr;
  runSideBySide(state, "ProfilePair",
                {[&] { check(api.profileCreate(backend, ZEB_PROFILE_LEVEL_BASIC, &profile)); },
                 [&] { check(api.profileFree(profile)); }},
                Ratio::Time);
}

}  // namespace

BENCHMARK(ContextPair)->Apply(withSpread);
BENCHMARK(BackendPair)->Apply(withSpread);
BENCHMARK(DevicePair)->Apply(withSpread);
BENCHMARK(ProfilePair)->Apply(withSpread);

}  // namespace zeb::bench
