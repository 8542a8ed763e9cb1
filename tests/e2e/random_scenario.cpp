// The random client: a table of actions, each with the state it needs; every
// step runs one action that is possible now, and the end frees what is left in
// a valid order. A new family adds its live objects to World (random_world.h)
// and its rows to kActions, or to a table of its own such as graphActions().
// Every random draw is a statement of its own, because the order in which a
// call's arguments are evaluated is unspecified.
#include "scenarios.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "random_world.h"

namespace zeb::e2e {
namespace {

template <class Handle>
void forget(std::vector<Live<Handle>>& items, uint32_t id) {
  items.erase(std::find_if(items.begin(), items.end(),
                           [&](const Live<Handle>& item) { return item.id == id; }));
}

// An output pointer for a query, or NULL now and then.
template <class T>
T* maybeOutput(Prng& rng, T& output) {
  return rng.oneIn(4) ? nullptr : &output;
}

bool deviceInUse(const World& w, uint32_t device) {
  return std::any_of(w.contexts.begin(), w.contexts.end(),
                     [&](const LiveContext& c) { return c.device == device; });
}

bool backendInUse(const World& w, uint32_t backend) {
  return std::any_of(w.contexts.begin(), w.contexts.end(),
                     [&](const LiveContext& c) { return c.backend == backend; }) ||
         std::any_of(w.profiles.begin(), w.profiles.end(),
                     [&](const LiveProfile& p) { return p.backend == backend; });
}

std::vector<LiveDevice> freeableDevices(const World& w) {
  return where(w.devices, [&](const LiveDevice& d) { return !deviceInUse(w, d.id); });
}

std::vector<LiveBackend> freeableBackends(const World& w) {
  return where(w.backends, [&](const LiveBackend& b) { return !backendInUse(w, b.id); });
}

// A profile of the context's backend to name when the context is freed, or NULL.
Zeb_ProfileHandle_t profileFor(World& w, uint32_t backend) {
  auto mine = where(w.profiles, [&](const LiveProfile& p) { return p.backend == backend; });
  if (mine.empty() || w.rng.oneIn(2)) return nullptr;
  return anyOf(w.rng, mine).handle;
}

// --- logging (never recorded; the comparison leaves it out) ---

void setLogLevel(World& w) {
  const auto level = static_cast<ZebLog_Level_t>(1 + w.rng.below(5));
  w.api.logSetLogLevel(w.logger, level);
}

// --- backends and properties ---

void createBackend(World& w) {
  const auto configs = backendConfigs(w.rng, w.arena);
  Zeb_BackendHandle_t backend = nullptr;
  w.api.backendCreate(w.logger, configs, &backend);
  w.backends.push_back({++w.lastId, backend});
}

void setBackendConfig(World& w) {
  const auto backend = anyOf(w.rng, w.backends).handle;
  const auto configs = backendConfigs(w.rng, w.arena);
  w.api.backendSetConfig(backend, configs);
}

void registerOpPackage(World& w) {
  const auto backend = anyOf(w.rng, w.backends).handle;
  const char* path = maybeText(w.rng, w.arena);
  const char* provider = maybeText(w.rng, w.arena);
  const char* target = maybeText(w.rng, w.arena);
  w.api.backendRegisterOpPackage(backend, path, provider, target);
}

void getSupportedOperations(World& w) {
  const auto backend = anyOf(w.rng, w.backends).handle;
  uint32_t count = 0;
  const ZebBackend_OperationName_t* operations = nullptr;
  auto* countOut = maybeOutput(w.rng, count);
  auto* operationsOut = maybeOutput(w.rng, operations);
  w.api.backendGetSupportedOperations(backend, countOut, operationsOut);
}

void hasCapability(World& w) { w.api.propertyHasCapability(w.rng.next32()); }

void freeBackend(World& w) {
  auto candidates = freeableBackends(w);
  const LiveBackend backend = anyOf(w.rng, candidates);
  forget(w.backends, backend.id);
  w.api.backendFree(backend.handle);
}

// --- devices ---

void createDevice(World& w) {
  const auto configs = deviceConfigs(w.rng, w.arena);
  Zeb_DeviceHandle_t device = nullptr;
  w.api.deviceCreate(w.logger, configs, &device);
  w.devices.push_back({++w.lastId, device});
}

void setDeviceConfig(World& w) {
  const auto device = anyOf(w.rng, w.devices).handle;
  const auto configs = deviceConfigs(w.rng, w.arena);
  w.api.deviceSetConfig(device, configs);
}

void getDeviceInfo(World& w) {
  const auto device = anyOf(w.rng, w.devices).handle;
  const ZebDevice_PlatformInfo_t* info = nullptr;
  w.api.deviceGetInfo(device, maybeOutput(w.rng, info));
}

void getPlatformInfo(World& w) {
  const ZebDevice_PlatformInfo_t* info = nullptr;
  w.api.deviceGetPlatformInfo(w.logger, maybeOutput(w.rng, info));
}

void getInfrastructure(World& w) {
  ZebDevice_Infrastructure_t infrastructure = nullptr;
  w.api.deviceGetInfrastructure(maybeOutput(w.rng, infrastructure));
}

void freeDevice(World& w) {
  auto candidates = freeableDevices(w);
  const LiveDevice device = anyOf(w.rng, candidates);
  forget(w.devices, device.id);
  w.api.deviceFree(device.handle);
}

// --- contexts ---

void createContext(World& w) {
  const LiveBackend backend = anyOf(w.rng, w.backends);
  const bool withDevice = !w.devices.empty() && !w.rng.oneIn(3);
  const LiveDevice device = withDevice ? anyOf(w.rng, w.devices) : LiveDevice{kNoDevice, nullptr};
  const auto configs = contextConfigs(w.rng, w.arena);
  Zeb_ContextHandle_t context = nullptr;
  w.api.contextCreate(backend.handle, device.handle, configs, &context);
  w.contexts.push_back({++w.lastId, context, backend.id, device.id});
}

void setContextConfig(World& w) {
  const auto context = anyOf(w.rng, w.contexts).handle;
  const auto configs = contextConfigs(w.rng, w.arena);
  w.api.contextSetConfig(context, configs);
}

// A binary the client hands in: random bytes, sometimes none at all.
const uint8_t* anyBinary(World& w, Zeb_ContextBinarySize_t& size) {
  size = w.rng.below(48);
  if (w.rng.oneIn(5)) return nullptr;
  std::vector<uint8_t> bytes(size + 1);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(w.rng.next32());
  return w.arena.keep(std::move(bytes));
}

void createContextFromBinary(World& w) {
  const LiveBackend backend = anyOf(w.rng, w.backends);
  const bool withDevice = !w.devices.empty() && w.rng.oneIn(2);
  const LiveDevice device = withDevice ? anyOf(w.rng, w.devices) : LiveDevice{kNoDevice, nullptr};
  const auto configs = contextConfigs(w.rng, w.arena);
  Zeb_ContextBinarySize_t size = 0;
  const uint8_t* binary = anyBinary(w, size);
  const Zeb_ProfileHandle_t profile = profileFor(w, backend.id);
  Zeb_ContextHandle_t context = nullptr;
  if (w.rng.oneIn(2)) {
    w.api.contextCreateFromBinary(backend.handle, device.handle, configs, binary, size, &context,
                                  profile);
  } else {
    w.api.contextCreateFromBinaryWithSignal(backend.handle, device.handle, configs, binary, size,
                                            &context, profile, nullptr);
  }
  w.contexts.push_back({++w.lastId, context, backend.id, device.id});
}

void validateBinary(World& w) {
  const bool withBackend = w.rng.oneIn(2);
  const auto backend = withBackend ? anyOf(w.rng, w.backends).handle : nullptr;
  const bool withDevice = !w.devices.empty() && w.rng.oneIn(2);
  const auto device = withDevice ? anyOf(w.rng, w.devices).handle : nullptr;
  const auto configs = contextConfigs(w.rng, w.arena);
  Zeb_ContextBinarySize_t size = 0;
  const uint8_t* binary = anyBinary(w, size);
  w.api.contextValidateBinary(backend, device, configs, binary, size);
}

void getBinarySize(World& w) {
  LiveContext& context = anyOf(w.rng, w.contexts);
  w.api.contextGetBinarySize(context.handle, maybeOutput(w.rng, context.binarySize));
}

void getBinary(World& w) {
  const LiveContext& context = anyOf(w.rng, w.contexts);
  static uint8_t buffer[1024];
  Zeb_ContextBinarySize_t written = 0;
  w.api.contextGetBinary(context.handle, buffer, context.binarySize, maybeOutput(w.rng, written));
}

void freeContext(World& w) {
  const LiveContext context = takeAnyOf(w.rng, w.contexts);
  const auto profile = profileFor(w, context.backend);
  forgetContents(w, context.id);
  w.api.contextFree(context.handle, profile);
}

// --- profiles ---

void createProfile(World& w) {
  static const int32_t levels[] = {ZEB_PROFILE_LEVEL_BASIC, ZEB_PROFILE_LEVEL_DETAILED};
  const LiveBackend backend = anyOf(w.rng, w.backends);
  const int32_t level = w.rng.oneIn(4) ? anyInt32(w.rng) : w.rng.pick(levels);
  Zeb_ProfileHandle_t profile = nullptr;
  w.api.profileCreate(backend.handle, static_cast<ZebProfile_Level_t>(level), &profile);
  w.profiles.push_back({profile, backend.id});
}

void setProfileConfig(World& w) {
  const auto profile = anyOf(w.rng, w.profiles).handle;
  const auto configs = profileConfigs(w.rng, w.arena);
  w.api.profileSetConfig(profile, configs);
}

void getEvents(World& w) {
  const auto profile = anyOf(w.rng, w.profiles).handle;
  const ZebProfile_EventId_t* events = nullptr;
  uint32_t count = 0;
  auto* eventsOut = maybeOutput(w.rng, events);
  auto* countOut = maybeOutput(w.rng, count);
  w.api.profileGetEvents(profile, eventsOut, countOut);
}

void getSubEvents(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  const ZebProfile_EventId_t* events = nullptr;
  uint32_t count = 0;
  auto* eventsOut = maybeOutput(w.rng, events);
  auto* countOut = maybeOutput(w.rng, count);
  w.api.profileGetSubEvents(event, eventsOut, countOut);
}

void getEventData(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  ZebProfile_EventData_t data{};
  w.api.profileGetEventData(event, maybeOutput(w.rng, data));
}

void getExtendedEventData(World& w) {
  const ZebProfile_EventId_t event = anyUint64(w.rng);
  ZebProfile_ExtendedEventData_t data{};
  w.api.profileGetExtendedEventData(event, maybeOutput(w.rng, data));
}

void freeProfile(World& w) {
  const LiveProfile profile = takeAnyOf(w.rng, w.profiles);
  w.api.profileFree(profile.handle);
}

// --- the table ---

bool always(const World&) { return true; }
bool hasLogger(const World& w) { return w.logging; }
bool hasBackend(const World& w) { return !w.backends.empty(); }
bool roomForBackend(const World& w) { return w.backends.size() < 3; }
bool hasDevice(const World& w) { return !w.devices.empty(); }
bool roomForDevice(const World& w) { return w.devices.size() < 3; }
bool hasContext(const World& w) { return !w.contexts.empty(); }
bool roomForContext(const World& w) { return hasBackend(w) && w.contexts.size() < 4; }
bool hasProfile(const World& w) { return !w.profiles.empty(); }
bool roomForProfile(const World& w) { return hasBackend(w) && w.profiles.size() < 3; }
bool canFreeDevice(const World& w) { return !freeableDevices(w).empty(); }
bool canFreeBackend(const World& w) { return !freeableBackends(w).empty(); }

constexpr Action kActions[] = {
    {false, hasLogger, setLogLevel},
    {false, roomForBackend, createBackend},
    {false, hasBackend, setBackendConfig},
    {false, hasBackend, registerOpPackage},
    {true, hasBackend, getSupportedOperations},
    {true, always, hasCapability},
    {false, canFreeBackend, freeBackend},
    {false, roomForDevice, createDevice},
    {false, hasDevice, setDeviceConfig},
    {true, hasDevice, getDeviceInfo},
    {true, always, getPlatformInfo},
    {true, always, getInfrastructure},
    {false, canFreeDevice, freeDevice},
    {false, roomForContext, createContext},
    {false, hasContext, setContextConfig},
    {false, hasContext, freeContext},
    {false, roomForContext, createContextFromBinary},
    {false, hasBackend, validateBinary},
    {true, hasContext, getBinarySize},
    {true, hasContext, getBinary},
    {false, roomForProfile, createProfile},
    {false, hasProfile, setProfileConfig},
    {true, hasProfile, getEvents},
    {true, always, getSubEvents},
    {true, always, getEventData},
    {true, always, getExtendedEventData},
    {false, hasProfile, freeProfile},
};

void runOneStep(World& w) {
  std::vector<const Action*> possible;
  const auto consider = [&](const Action& action) {
    if ((w.withQueries || !action.isQuery) && action.possible(w)) possible.push_back(&action);
  };
  for (const Action& action : kActions) consider(action);
  for (const Action& action : graphActions()) consider(action);
  anyOf(w.rng, possible)->perform(w);
  w.arena.clear();
}

// Contexts first (they may name a profile, and take their graphs and tensors
// with them), then profiles, devices, backends.
void freeEverything(World& w) {
  while (hasContext(w)) freeContext(w);
  while (hasProfile(w)) freeProfile(w);
  while (hasDevice(w)) freeDevice(w);
  while (hasBackend(w)) freeBackend(w);
  if (hasLogger(w)) w.api.logFree(w.logger);
}

}  // namespace

void runRandomScenario(const ZebApi& api, uint64_t seed) {
  World w(api, seed);
  if (w.rng.oneIn(4)) {
    const auto level = static_cast<ZebLog_Level_t>(1 + w.rng.below(5));
    w.api.logCreate(nullptr, level, &w.logger);
    w.logging = true;
  }
  for (uint32_t steps = 10 + w.rng.below(61); steps > 0; --steps) runOneStep(w);
  freeEverything(w);
}

bool randomScenarioRoundTrips(uint64_t seed) {
  // The same first draw as World's constructor.
  Prng rng(seed);
  return rng.oneIn(2);
}

}  // namespace zeb::e2e
