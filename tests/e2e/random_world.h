// What the random client holds between calls, and the table rows that act on
// it. random_scenario.cpp owns the table and the families without graphs;
// random_graphs.cpp adds tensors, graphs, nodes and executions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "prng.h"
#include "random_values.h"
#include "scenarios.h"

namespace zeb::e2e {

// A created object: the handle the backend answered and the client's own
// number for it. Relations between objects go by number, never by handle, so
// that the sequence cannot depend on what a backend answers.
template <class Handle>
struct Live {
  uint32_t id;
  Handle handle;
};
using LiveBackend = Live<Zeb_BackendHandle_t>;
using LiveDevice = Live<Zeb_DeviceHandle_t>;

constexpr uint32_t kNoDevice = 0;  // numbers start at 1

struct LiveContext {
  uint32_t id;
  Zeb_ContextHandle_t handle;
  uint32_t backend;
  uint32_t device;
  // The binary size the client passes: what the backend answered when asked,
  // else its own guess.
  Zeb_ContextBinarySize_t binarySize = 512;
};

struct LiveProfile {
  Zeb_ProfileHandle_t handle;
  uint32_t backend;
};

struct LiveGraph {
  Zeb_GraphHandle_t handle;
  uint32_t context;
  std::string name;  // the client's name
  bool byName;       // made by graphCreate or graphRetrieve, so retrievable by name
};

// A registered tensor: the description as the backend left it, with the id it
// gave; what it points to lives in World::kept.
struct LiveTensor {
  uint32_t context;
  bool ofGraph;  // a graph tensor rather than a context tensor
  Zeb_Tensor_t description;
};

// What the client holds between calls.
struct World {
  World(const ZebApi& zebApi, uint64_t seed)
      : api(zebApi), rng(seed), withQueries(!rng.oneIn(2)) {}

  const ZebApi& api;
  Prng rng;
  const bool withQueries;
  Arena arena;  // arguments of the current call
  Arena kept;   // what registered tensors point to, for the whole scenario
  bool logging = false;  // not the handle's value: scenarios never branch on results
  Zeb_LogHandle_t logger = nullptr;
  uint32_t lastId = 0;
  uint32_t lastGraphName = 0;  // graph names carry a number of their own
  std::vector<LiveBackend> backends;
  std::vector<LiveDevice> devices;
  std::vector<LiveContext> contexts;
  std::vector<LiveProfile> profiles;
  std::vector<LiveGraph> graphs;
  std::vector<LiveTensor> tensors;
};

struct Action {
  bool isQuery;
  bool (*possible)(const World&);
  void (*perform)(World&);
};

template <class T>
T& anyOf(Prng& rng, std::vector<T>& items) {
  return items[rng.below(static_cast<uint32_t>(items.size()))];
}

template <class T>
T takeAnyOf(Prng& rng, std::vector<T>& items) {
  const auto index = rng.below(static_cast<uint32_t>(items.size()));
  T item = items[index];
  items.erase(items.begin() + index);
  return item;
}

template <class T, class Pred>
std::vector<T> where(const std::vector<T>& items, Pred pred) {
  std::vector<T> chosen;
  std::copy_if(items.begin(), items.end(), std::back_inserter(chosen), pred);
  return chosen;
}

// The rows of the tensor and graph families.
const std::vector<Action>& graphActions();

// Forgets the graphs and tensors of a context that is being freed.
void forgetContents(World& w, uint32_t context);

}  // namespace zeb::e2e
