#include "random_values.h"

#include <limits>
#include <utility>

#include "config_builders.h"

namespace zeb::e2e {
namespace {

constexpr char kAlphabet[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    " !#$%&'()*+,-./:;<=>?@[]^_`{|}~";

// Every draw is its own statement: the order in which a call's arguments are
// evaluated is unspecified, and a seed must mean the same scenario everywhere.
template <class Config>
Config errorReporting(Prng& rng, Config (*make)(int32_t, uint32_t)) {
  const int32_t level = anyInt32(rng);
  const uint32_t storageLimit = rng.next32();
  return make(level, storageLimit);
}

template <class Config>
const Config** nullTerminated(Arena& arena, std::vector<Config> configs) {
  const std::size_t count = configs.size();
  const Config* stored = arena.keep(std::move(configs));
  std::vector<const Config*> pointers;
  for (std::size_t i = 0; i < count; ++i) pointers.push_back(stored + i);
  pointers.push_back(nullptr);
  return arena.keep(std::move(pointers));
}

template <class Config>
std::vector<Config> several(Prng& rng, Arena& arena, uint32_t atLeast, uint32_t atMost,
                            Config (*make)(Prng&, Arena&)) {
  std::vector<Config> configs;
  const uint32_t count = atLeast + rng.below(atMost - atLeast + 1);
  for (uint32_t i = 0; i < count; ++i) configs.push_back(make(rng, arena));
  return configs;
}

ZebBackend_Config_t backendConfig(Prng& rng, Arena& arena) {
  switch (rng.below(3)) {
    case 0: return backendCustomNull();
    case 1: return errorReporting(rng, backendErrorReporting);
    default: return backendPlatform(maybeText(rng, arena));
  }
}

const char* const* graphNames(Prng& rng, Arena& arena) {
  if (rng.oneIn(4)) return nullptr;
  std::vector<const char*> names;
  for (uint32_t i = rng.below(4); i > 0; --i) names.push_back(arena.keep(awkwardText(rng)));
  names.push_back(nullptr);
  return arena.keep(std::move(names));
}

ZebContext_Config_t contextConfig(Prng& rng, Arena& arena) {
  static const int32_t priorities[] = {ZEB_PRIORITY_LOW, ZEB_PRIORITY_NORMAL,
                                       ZEB_PRIORITY_NORMAL_HIGH, ZEB_PRIORITY_HIGH, -1};
  switch (rng.below(8)) {
    case 0: return contextCustomNull();
    case 1: return contextPriority(rng.oneIn(2) ? rng.pick(priorities) : anyInt32(rng));
    case 2: return errorReporting(rng, contextErrorReporting);
    case 3: return contextOemString(arena.keep(awkwardText(rng)));
    case 4: return contextAsyncDepth(rng.next32());
    case 5: return contextEnableGraphs(graphNames(rng, arena));
    case 6: return contextMemoryLimitHint(anyUint64(rng));
    default: return contextPersistentBinary(static_cast<uint8_t>(rng.below(256)));
  }
}

ZebDevice_CoreInfo_t core(Prng& rng, Arena&) {
  const uint32_t coreId = rng.next32();
  const uint32_t coreType = rng.next32();
  return deviceCore(coreId, coreType);
}

// One level of a platform-information tree: 0 to 3 nodes. An empty level is
// NULL or, now and then, an array without elements.
template <class Node>
std::pair<uint32_t, Node*> treeLevel(Prng& rng, Arena& arena, Node (*make)(Prng&, Arena&)) {
  std::vector<Node> nodes = several(rng, arena, 0, 3, make);
  const auto count = static_cast<uint32_t>(nodes.size());
  if (count == 0 && rng.oneIn(3)) return {0, arena.keep(std::vector<Node>(1))};
  return {count, arena.keep(std::move(nodes))};
}

ZebDevice_HardwareDeviceInfo_t hwDevice(Prng& rng, Arena& arena) {
  const uint32_t deviceId = rng.next32();
  const uint32_t deviceType = rng.next32();
  const auto [numCores, cores] = treeLevel(rng, arena, core);
  return hardwareDevice(deviceId, deviceType, numCores, cores);
}

const ZebDevice_PlatformInfo_t* platformTree(Prng& rng, Arena& arena) {
  if (rng.oneIn(4)) return nullptr;
  const auto [numDevices, devices] = treeLevel(rng, arena, hwDevice);
  return arena.keep(std::vector{platformInfo(numDevices, devices)});
}

ZebDevice_Config_t deviceConfig(Prng& rng, Arena& arena) {
  if (rng.oneIn(4)) return deviceCustomNull();
  return devicePlatformInfo(platformTree(rng, arena));
}

ZebProfile_Config_t profileConfig(Prng& rng, Arena&) {
  if (rng.oneIn(3)) return profileCustomNull();
  return profileMaxEvents(anyUint64(rng));
}

}  // namespace

const char* Arena::keep(std::string text) {
  auto owned = std::make_shared<std::string>(std::move(text));
  items_.push_back(owned);
  return owned->c_str();
}

std::string awkwardText(Prng& rng) {
  std::string text;
  for (uint32_t length = rng.below(17); text.size() < length;) {
    const char c = kAlphabet[rng.below(sizeof kAlphabet - 1)];
    if (c == '?' && !text.empty() && text.back() == '?') continue;
    text += c;
  }
  return text;
}

const char* maybeText(Prng& rng, Arena& arena) {
  return rng.oneIn(5) ? nullptr : arena.keep(awkwardText(rng));
}

int32_t anyInt32(Prng& rng) {
  static const int32_t special[] = {0, 1, 2, 100, -1, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max()};
  return rng.oneIn(2) ? rng.pick(special) : static_cast<int32_t>(rng.next32());
}

uint64_t anyUint64(Prng& rng) {
  static const uint64_t special[] = {0, 1, 0xFFFFFFFFu, UINT64_C(0x100000000),
                                     UINT64_C(0x8000000000000000),
                                     std::numeric_limits<uint64_t>::max()};
  return rng.oneIn(2) ? rng.pick(special) : rng.next();
}

const ZebBackend_Config_t** backendConfigs(Prng& rng, Arena& arena) {
  return nullTerminated(arena, several(rng, arena, 0, 4, backendConfig));
}

const ZebContext_Config_t** contextConfigs(Prng& rng, Arena& arena) {
  return nullTerminated(arena, several(rng, arena, 0, 6, contextConfig));
}

const ZebDevice_Config_t** deviceConfigs(Prng& rng, Arena& arena) {
  return nullTerminated(arena, several(rng, arena, 0, 3, deviceConfig));
}

const ZebProfile_Config_t** profileConfigs(Prng& rng, Arena& arena) {
  if (rng.oneIn(4)) return nullptr;
  return nullTerminated(arena, several(rng, arena, 1, 3, profileConfig));
}

}  // namespace zeb::e2e
