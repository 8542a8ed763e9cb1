// The random client: a table of actions, each with the state it needs; every
// step runs one action that is possible now, and the end frees what is left in
// a valid order. A new family adds its live objects to World and its rows to
// kActions. Every random draw is a statement of its own, because the order in
// which a call's arguments are evaluated is unspecified.
#include <cstdint>
#include <vector>

#include "prng.h"
#include "random_values.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

// A context or profile, with the place of its backend in World::backends.
// Backends and devices are freed only at the end, so places never change, and
// the sequence never depends on what a backend answers.
template <class Handle>
struct OnBackend {
  Handle handle;
  std::size_t backend;
};

// What the client holds between calls.
struct World {
  World(const ZebApi& zebApi, uint64_t seed) : api(zebApi), rng(seed), withQueries(!rng.oneIn(2)) {}

  const ZebApi& api;
  Prng rng;
  const bool withQueries;
  Arena arena;  // arguments of the current call
  std::vector<Zeb_BackendHandle_t> backends;
  std::vector<Zeb_DeviceHandle_t> devices;
  std::vector<OnBackend<Zeb_ContextHandle_t>> contexts;
  std::vector<OnBackend<Zeb_ProfileHandle_t>> profiles;

  template <class T>
  std::size_t anyIndex(const std::vector<T>& items) {
    return rng.below(static_cast<uint32_t>(items.size()));
  }
  template <class T>
  T any(const std::vector<T>& items) {
    return items[anyIndex(items)];
  }
  template <class T>
  T takeAny(std::vector<T>& items) {
    const auto index = anyIndex(items);
    const T item = items[index];
    items.erase(items.begin() + index);
    return item;
  }
  // An output pointer for a query, or NULL now and then.
  template <class T>
  T* maybeOutput(T& output) {
    return rng.oneIn(4) ? nullptr : &output;
  }
};

// --- backends and properties ---

void createBackend(World& w) {
  const auto configs = backendConfigs(w.rng, w.arena);
  Zeb_BackendHandle_t backend = nullptr;
  w.api.backendCreate(nullptr, configs, &backend);
  w.backends.push_back(backend);
}

void setBackendConfig(World& w) {
  const auto backend = w.any(w.backends);
  w.api.backendSetConfig(backend, backendConfigs(w.rng, w.arena));
}

void registerOpPackage(World& w) {
  const auto backend = w.any(w.backends);
  const char* path = maybeText(w.rng, w.arena);
  const char* provider = maybeText(w.rng, w.arena);
  const char* target = maybeText(w.rng, w.arena);
  w.api.backendRegisterOpPackage(backend, path, provider, target);
}

void getSupportedOperations(World& w) {
  const auto backend = w.any(w.backends);
  uint32_t count = 0;
  const ZebBackend_OperationName_t* operations = nullptr;
  auto* countOut = w.maybeOutput(count);
  w.api.backendGetSupportedOperations(backend, countOut, w.maybeOutput(operations));
}

void hasCapability(World& w) { w.api.propertyHasCapability(w.rng.next32()); }

// --- devices ---

void createDevice(World& w) {
  const auto configs = deviceConfigs(w.rng, w.arena);
  Zeb_DeviceHandle_t device = nullptr;
  w.api.deviceCreate(nullptr, configs, &device);
  w.devices.push_back(device);
}

void setDeviceConfig(World& w) {
  const auto device = w.any(w.devices);
  w.api.deviceSetConfig(device, deviceConfigs(w.rng, w.arena));
}

void getDeviceInfo(World& w) {
  const auto device = w.any(w.devices);
  const ZebDevice_PlatformInfo_t* info = nullptr;
  w.api.deviceGetInfo(device, w.maybeOutput(info));
}

void getPlatformInfo(World& w) {
  const ZebDevice_PlatformInfo_t* info = nullptr;
  w.api.deviceGetPlatformInfo(nullptr, w.maybeOutput(info));
}

void getInfrastructure(World& w) {
  ZebDevice_Infrastructure_t infrastructure = nullptr;
  w.api.deviceGetInfrastructure(w.maybeOutput(infrastructure));
}

// --- contexts ---

void createContext(World& w) {
  const auto backend = w.anyIndex(w.backends);
  const bool withDevice = !w.devices.empty() && !w.rng.oneIn(3);
  const Zeb_DeviceHandle_t device = withDevice ? w.any(w.devices) : nullptr;
  const auto configs = contextConfigs(w.rng, w.arena);
  Zeb_ContextHandle_t context = nullptr;
  w.api.contextCreate(w.backends[backend], device, configs, &context);
  w.contexts.push_back({context, backend});
}

void setContextConfig(World& w) {
  const auto context = w.any(w.contexts).handle;
  w.api.contextSetConfig(context, contextConfigs(w.rng, w.arena));
}

// Names a profile of the context's backend now and then.
void freeContext(World& w) {
  const auto context = w.takeAny(w.contexts);
  std::vector<Zeb_ProfileHandle_t> mine;
  for (const auto& profile : w.profiles) {
    if (profile.backend == context.backend) mine.push_back(profile.handle);
  }
  const bool withProfile = !mine.empty() && !w.rng.oneIn(2);
  w.api.contextFree(context.handle, withProfile ? w.any(mine) : nullptr);
}

// --- profiles ---

void createProfile(World& w) {
  static const int32_t levels[] = {ZEB_PROFILE_LEVEL_BASIC, ZEB_PROFILE_LEVEL_DETAILED};
  const auto backend = w.anyIndex(w.backends);
  const int32_t level = w.rng.oneIn(4) ? anyInt32(w.rng) : w.rng.pick(levels);
  Zeb_ProfileHandle_t profile = nullptr;
  w.api.profileCreate(w.backends[backend], static_cast<ZebProfile_Level_t>(level), &profile);
  w.profiles.push_back({profile, backend});
}

void setProfileConfig(World& w) {
  const auto profile = w.any(w.profiles).handle;
  w.api.profileSetConfig(profile, profileConfigs(w.rng, w.arena));
}

void getEvents(World& w) {
  const auto profile = w.any(w.profiles).handle;
  const ZebProfile_EventId_t* events = nullptr;
  uint32_t count = 0;
  auto* eventsOut = w.maybeOutput(events);
  w.api.profileGetEvents(profile, eventsOut, w.maybeOutput(count));
}

void getSubEvents(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  const ZebProfile_EventId_t* events = nullptr;
  uint32_t count = 0;
  auto* eventsOut = w.maybeOutput(events);
  w.api.profileGetSubEvents(event, eventsOut, w.maybeOutput(count));
}

void getEventData(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  ZebProfile_EventData_t data{};
  w.api.profileGetEventData(event, w.maybeOutput(data));
}

void getExtendedEventData(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  ZebProfile_ExtendedEventData_t data{};
  w.api.profileGetExtendedEventData(event, w.maybeOutput(data));
}

void freeProfile(World& w) { w.api.profileFree(w.takeAny(w.profiles).handle); }

// --- the table ---

struct Action {
  bool isQuery;
  bool (*possible)(const World&);
  void (*perform)(World&);
};

bool always(const World&) { return true; }
bool hasBackend(const World& w) { return !w.backends.empty(); }
bool roomForBackend(const World& w) { return w.backends.size() < 3; }
bool hasDevice(const World& w) { return !w.devices.empty(); }
bool roomForDevice(const World& w) { return w.devices.size() < 3; }
bool hasContext(const World& w) { return !w.contexts.empty(); }
bool roomForContext(const World& w) { return hasBackend(w) && w.contexts.size() < 4; }
bool hasProfile(const World& w) { return !w.profiles.empty(); }
bool roomForProfile(const World& w) { return hasBackend(w) && w.profiles.size() < 3; }

constexpr Action kActions[] = {
    {false, roomForBackend, createBackend}, {false, hasBackend, setBackendConfig},
    {false, hasBackend, registerOpPackage}, {true, hasBackend, getSupportedOperations},
    {true, always, hasCapability},          {false, roomForDevice, createDevice},
    {false, hasDevice, setDeviceConfig},    {true, hasDevice, getDeviceInfo},
    {true, always, getPlatformInfo},        {true, always, getInfrastructure},
    {false, roomForContext, createContext}, {false, hasContext, setContextConfig},
    {false, hasContext, freeContext},       {false, roomForProfile, createProfile},
    {false, hasProfile, setProfileConfig},  {true, hasProfile, getEvents},
    {true, always, getSubEvents},           {true, always, getEventData},
    {true, always, getExtendedEventData},   {false, hasProfile, freeProfile},
};

void runOneStep(World& w) {
  std::vector<const Action*> possible;
  for (const Action& action : kActions) {
    if ((w.withQueries || !action.isQuery) && action.possible(w)) possible.push_back(&action);
  }
  w.any(possible)->perform(w);
  w.arena.clear();
}

// Contexts first (they may name a profile), then profiles, devices, backends.
void freeEverything(World& w) {
  while (hasContext(w)) freeContext(w);
  while (hasProfile(w)) freeProfile(w);
  while (hasDevice(w)) w.api.deviceFree(w.takeAny(w.devices));
  while (hasBackend(w)) w.api.backendFree(w.takeAny(w.backends));
}

}  // namespace

void runRandomScenario(const ZebApi& api, uint64_t seed) {
  World w(api, seed);
  for (uint32_t steps = 5 + w.rng.below(36); steps > 0; --steps) runOneStep(w);
  freeEverything(w);
}

bool randomScenarioRoundTrips(uint64_t seed) {
  // The same first draw as World's constructor.
  Prng rng(seed);
  return rng.oneIn(2);
}

}  // namespace zeb::e2e
