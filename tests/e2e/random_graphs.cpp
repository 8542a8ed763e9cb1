// The tensor and graph rows of the random client: tensors of contexts and
// graphs, graphs with their configurations, subgraphs, nodes, validation,
// finalize, executions and graphs retrieved by name.
//
// What keeps a direct run and the replay of its recording comparable:
// - graph names are a number of their own, a separator and letters, so that
//   no two names of a scenario give the same C identifier, and a name that a
//   retrieve made is never created again;
// - node names are words and separators without digits, so that the names
//   derived from them cannot meet the names of tensors, configurations or
//   other nodes;
// - the ids a node or an execution names are those of tensors registered in
//   the graph's own context, or ids no backend hands out; validation, which
//   has no context, gets fresh descriptions only;
// - only graphs created or retrieved by name are retrieved by name, never a
//   subgraph, which has a name in its context but is not found under it;
// - configuration lists are empty arrays rather than NULL.
#include <string>
#include <vector>

#include "random_tensors.h"
#include "random_world.h"
#include "tensor_builders.h"

namespace zeb::e2e {
namespace {

constexpr std::size_t kMostGraphs = 6;
constexpr std::size_t kMostTensors = 24;
constexpr uint32_t kNoContext = 0;  // numbers start at 1

constexpr char kSeparators[] = " /|-:;.,+";
constexpr char kDropped[] = "()[]<>!#$%&'*=@^`{}~";
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

char anyCharOf(Prng& rng, const char* chars, std::size_t count) { return chars[rng.below(count)]; }

// "net 7/abc", "7-Qx" or "sub 12:k!": a number no other graph name of the
// scenario has, then a separator and letters, now and then a character the
// identifier drops.
std::string graphName(World& w, const char* word) {
  std::string name = w.rng.oneIn(4) ? "" : std::string(word) + " ";
  name += std::to_string(++w.lastGraphName);
  name += anyCharOf(w.rng, kSeparators, sizeof kSeparators - 1);
  for (uint32_t letters = 1 + w.rng.below(5); letters > 0; --letters) {
    name += anyCharOf(w.rng, kLetters, sizeof kLetters - 1);
  }
  if (w.rng.oneIn(4)) name += anyCharOf(w.rng, kDropped, sizeof kDropped - 1);
  return name;
}

// "conv", "add/relu", "pool (": words, separators and dropped characters; NULL now and then.
const char* nodeName(Prng& rng, Arena& arena) {
  static const char* const words[] = {"conv",    "relu",   "pool",   "add",    "matmul",
                                      "softmax", "reshape", "concat", "gather", "norm"};
  if (rng.oneIn(6)) return nullptr;
  std::string name = rng.pick(words);
  if (rng.oneIn(2)) {
    name += anyCharOf(rng, kSeparators, sizeof kSeparators - 1);
    name += rng.pick(words);
  }
  if (rng.oneIn(4)) name += anyCharOf(rng, kDropped, sizeof kDropped - 1);
  return arena.keep(name);
}

ZebGraph_Config_t graphConfig(Prng& rng) {
  static const int32_t priorities[] = {ZEB_PRIORITY_LOW, ZEB_PRIORITY_NORMAL,
                                       ZEB_PRIORITY_NORMAL_HIGH, ZEB_PRIORITY_HIGH, -1};
  if (rng.oneIn(3)) return graphCustomNull();
  return graphPriority(rng.oneIn(2) ? rng.pick(priorities) : anyInt32(rng));
}

const ZebGraph_Config_t** graphConfigs(Prng& rng, Arena& arena) {
  std::vector<ZebGraph_Config_t> configs;
  for (uint32_t count = rng.below(4); count > 0; --count) configs.push_back(graphConfig(rng));
  const std::size_t count = configs.size();
  const ZebGraph_Config_t* stored = arena.keep(std::move(configs));
  std::vector<const ZebGraph_Config_t*> pointers;
  for (std::size_t i = 0; i < count; ++i) pointers.push_back(stored + i);
  pointers.push_back(nullptr);
  return arena.keep(std::move(pointers));
}

Zeb_ProfileHandle_t profileOrNull(World& w) {
  if (w.profiles.empty() || w.rng.oneIn(2)) return nullptr;
  return anyOf(w.rng, w.profiles).handle;
}

std::vector<LiveTensor> tensorsOf(const World& w, uint32_t context, bool graphTensorsOnly) {
  return where(w.tensors, [&](const LiveTensor& t) {
    return t.context == context && (t.ofGraph || !graphTensorsOnly);
  });
}

// A copy of a tensor registered in the context, with its id, or a fresh one.
Zeb_Tensor_t nodeTensor(World& w, uint32_t context) {
  auto registered = tensorsOf(w, context, false);
  if (!registered.empty() && !w.rng.oneIn(3)) return anyOf(w.rng, registered).description;
  return freshTensor(w.rng, w.arena);
}

// count descriptions, or NULL now and then (also with a nonzero count).
Zeb_Tensor_t* nodeTensors(World& w, uint32_t context, uint32_t count) {
  if (w.rng.oneIn(8)) return nullptr;
  std::vector<Zeb_Tensor_t> tensors;
  for (uint32_t i = 0; i < count; ++i) tensors.push_back(nodeTensor(w, context));
  return w.arena.keepAddressed(std::move(tensors));
}

Zeb_Param_t nodeParameter(World& w, uint32_t context) {
  if (!w.rng.oneIn(4)) return scalarParameter(w.rng, w.arena);
  const char* name = maybeText(w.rng, w.arena);
  return tensorParam(name, nodeTensor(w, context));
}

// An operation whose tensors come from the context (kNoContext: fresh ones only).
Zeb_OpConfig_t operation(World& w, uint32_t context) {
  const char* name = nodeName(w.rng, w.arena);
  const char* package = maybeText(w.rng, w.arena);
  const char* type = maybeText(w.rng, w.arena);
  const uint32_t numParams = w.rng.below(5);
  Zeb_Param_t* params = nullptr;
  if (!w.rng.oneIn(8)) {
    std::vector<Zeb_Param_t> list;
    for (uint32_t i = 0; i < numParams; ++i) list.push_back(nodeParameter(w, context));
    params = w.arena.keepAddressed(std::move(list));
  }
  const uint32_t numInputs = w.rng.below(4);
  Zeb_Tensor_t* inputs = nodeTensors(w, context, numInputs);
  const uint32_t numOutputs = w.rng.below(4);
  Zeb_Tensor_t* outputs = nodeTensors(w, context, numOutputs);
  return opConfig(name, package, type, numParams, params, numInputs, inputs, numOutputs, outputs);
}

// Copies of the context's graph tensors with fresh data; none now and then,
// as an empty array or as NULL.
Zeb_Tensor_t* executionTensors(World& w, uint32_t context, uint32_t& count) {
  auto registered = tensorsOf(w, context, true);
  count = registered.empty() ? 0 : w.rng.below(4);
  if (count == 0 && w.rng.oneIn(2)) return nullptr;
  std::vector<Zeb_Tensor_t> tensors;
  for (uint32_t i = 0; i < count; ++i) {
    const Zeb_Tensor_t& tensor = anyOf(w.rng, registered).description;
    tensors.push_back(withFreshData(w.rng, w.arena, tensor));
  }
  return w.arena.keepAddressed(std::move(tensors));
}

// --- tensors ---

void createContextTensor(World& w) {
  const LiveContext context = anyOf(w.rng, w.contexts);
  Zeb_Tensor_t tensor = freshTensor(w.rng, w.kept);
  w.api.tensorCreateContextTensor(context.handle, &tensor);
  w.tensors.push_back({context.id, false, tensor});
}

void createGraphTensor(World& w) {
  const LiveGraph graph = anyOf(w.rng, w.graphs);
  Zeb_Tensor_t tensor = freshTensor(w.rng, w.kept);
  w.api.tensorCreateGraphTensor(graph.handle, &tensor);
  w.tensors.push_back({graph.context, true, tensor});
}

// --- graphs ---

void createGraph(World& w) {
  const LiveContext context = anyOf(w.rng, w.contexts);
  const std::string name = graphName(w, "net");
  const auto configs = graphConfigs(w.rng, w.arena);
  Zeb_GraphHandle_t graph = nullptr;
  w.api.graphCreate(context.handle, name.c_str(), configs, &graph);
  w.graphs.push_back({graph, context.id, name, true});
}

void createSubgraph(World& w) {
  const LiveGraph parent = anyOf(w.rng, w.graphs);
  const std::string name = graphName(w, "sub");
  Zeb_GraphHandle_t subgraph = nullptr;
  w.api.graphCreateSubgraph(parent.handle, name.c_str(), &subgraph);
  w.graphs.push_back({subgraph, parent.context, name, false});
}

void setGraphConfig(World& w) {
  const auto graph = anyOf(w.rng, w.graphs).handle;
  const auto configs = graphConfigs(w.rng, w.arena);
  w.api.graphSetConfig(graph, configs);
}

// By the name of a graph of the context, by one that only another context
// has, or by a new name; the handle is then used like any other graph's.
void retrieveGraph(World& w) {
  const LiveContext context = anyOf(w.rng, w.contexts);
  auto here = where(w.graphs, [&](const LiveGraph& g) { return g.byName && g.context == context.id; });
  auto elsewhere =
      where(w.graphs, [&](const LiveGraph& g) { return g.byName && g.context != context.id; });
  const uint32_t choice = w.rng.below(3);
  std::string name;
  if (choice == 0 && !here.empty()) {
    name = anyOf(w.rng, here).name;
  } else if (choice == 1 && !elsewhere.empty()) {
    name = anyOf(w.rng, elsewhere).name;
  } else {
    name = graphName(w, "net");
  }
  Zeb_GraphHandle_t graph = nullptr;
  w.api.graphRetrieve(context.handle, name.c_str(), &graph);
  w.graphs.push_back({graph, context.id, name, true});
}

void addNode(World& w) {
  const LiveGraph graph = anyOf(w.rng, w.graphs);
  w.api.graphAddNode(graph.handle, operation(w, graph.context));
}

void validateOpConfig(World& w) {
  const auto backend = anyOf(w.rng, w.backends).handle;
  w.api.backendValidateOpConfig(backend, operation(w, kNoContext));
}

void finalizeGraph(World& w) {
  const auto graph = anyOf(w.rng, w.graphs).handle;
  const auto profile = profileOrNull(w);
  w.api.graphFinalize(graph, profile, nullptr);
}

void executeGraph(World& w) {
  const LiveGraph graph = anyOf(w.rng, w.graphs);
  uint32_t numInputs = 0;
  const Zeb_Tensor_t* inputs = executionTensors(w, graph.context, numInputs);
  uint32_t numOutputs = 0;
  Zeb_Tensor_t* outputs = executionTensors(w, graph.context, numOutputs);
  const auto profile = profileOrNull(w);
  w.api.graphExecute(graph.handle, inputs, numInputs, outputs, numOutputs, profile, nullptr);
}

// --- the rows ---

bool hasBackend(const World& w) { return !w.backends.empty(); }
bool hasGraph(const World& w) { return !w.graphs.empty(); }
bool roomForContextTensor(const World& w) {
  return !w.contexts.empty() && w.tensors.size() < kMostTensors;
}
bool roomForGraphTensor(const World& w) { return hasGraph(w) && w.tensors.size() < kMostTensors; }
bool roomForGraph(const World& w) { return !w.contexts.empty() && w.graphs.size() < kMostGraphs; }
bool roomForSubgraph(const World& w) { return hasGraph(w) && w.graphs.size() < kMostGraphs; }

}  // namespace

const std::vector<Action>& graphActions() {
  static const std::vector<Action> actions = {
      {false, roomForContextTensor, createContextTensor},
      {false, roomForGraph, createGraph},
      {false, roomForSubgraph, createSubgraph},
      {false, hasGraph, setGraphConfig},
      {false, roomForGraph, retrieveGraph},
      {false, roomForGraphTensor, createGraphTensor},
      {false, hasGraph, addNode},
      {false, hasBackend, validateOpConfig},
      {false, hasGraph, finalizeGraph},
      {false, hasGraph, executeGraph},
  };
  return actions;
}

void forgetContents(World& w, uint32_t context) {
  w.graphs = where(w.graphs, [&](const LiveGraph& g) { return g.context != context; });
  w.tensors = where(w.tensors, [&](const LiveTensor& t) { return t.context != context; });
}

}  // namespace zeb::e2e
