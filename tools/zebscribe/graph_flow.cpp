#include "graph_flow.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace zeb::tool {
namespace {

constexpr uint32_t kAppReadTensor = 1, kAppReadWriteTensor = 2;

struct Uses {
  std::vector<std::size_t> producers, consumers;
};

bool readByApplication(const GraphTensor& tensor) {
  return tensor.type == kAppReadTensor || tensor.type == kAppReadWriteTensor;
}

std::vector<std::size_t> familyOf(const GraphModel& model, std::size_t root) {
  std::vector<std::size_t> family = {root};
  for (std::size_t i = 0; i < family.size(); ++i) {
    for (std::size_t graph = 0; graph < model.graphs.size(); ++graph) {
      if (model.graphs[graph].parent == family[i] && graph != root) family.push_back(graph);
    }
  }
  return family;
}

void addEdges(const GraphModel& model, std::size_t tensor, const Uses& uses, GraphFlow& flow) {
  const GraphTensor& described = model.tensors[tensor];
  if (described.type == kStaticTensorType) {
    flow.weights.push_back(tensor);
    return;
  }
  if (uses.producers.empty()) {
    flow.inputs.push_back(tensor);
    for (const std::size_t consumer : uses.consumers) flow.edges.push_back({{}, consumer, tensor});
  }
  for (const std::size_t producer : uses.producers) {
    for (const std::size_t consumer : uses.consumers)
      flow.edges.push_back({producer, consumer, tensor});
  }
  if (!uses.producers.empty() && (uses.consumers.empty() || readByApplication(described))) {
    flow.outputs.push_back(tensor);
    for (const std::size_t producer : uses.producers) flow.edges.push_back({producer, {}, tensor});
  }
}

}  // namespace

GraphFlow flowOf(const GraphModel& model, std::size_t root) {
  GraphFlow flow;
  flow.graphs = familyOf(model, root);
  for (const std::size_t graph : flow.graphs) {
    const auto& nodes = model.graphs[graph].nodes;
    flow.nodes.insert(flow.nodes.end(), nodes.begin(), nodes.end());
  }
  std::sort(flow.nodes.begin(), flow.nodes.end());
  std::vector<std::size_t> order;  // tensors as the nodes first use them
  std::unordered_map<std::size_t, Uses> uses;
  auto use = [&](std::size_t tensor) -> Uses& {
    const auto [found, added] = uses.try_emplace(tensor);
    if (added) order.push_back(tensor);
    return found->second;
  };
  for (const std::size_t node : flow.nodes) {
    for (const std::size_t tensor : model.nodes[node].inputs) use(tensor).consumers.push_back(node);
    for (const std::size_t tensor : model.nodes[node].outputs)
      use(tensor).producers.push_back(node);
  }
  for (const std::size_t tensor : order) addEdges(model, tensor, uses[tensor], flow);
  return flow;
}

GraphCounts countsOf(const GraphModel& model, std::size_t graph) {
  const Graph& counted = model.graphs[graph];
  std::set<std::size_t> tensors(counted.tensors.begin(), counted.tensors.end());
  for (const std::size_t node : counted.nodes) {
    tensors.insert(model.nodes[node].inputs.begin(), model.nodes[node].inputs.end());
    tensors.insert(model.nodes[node].outputs.begin(), model.nodes[node].outputs.end());
  }
  GraphCounts counts{counted.nodes.size(), tensors.size(), 0};
  for (const std::size_t tensor : tensors) {
    const GraphTensor& described = model.tensors[tensor];
    if (described.type == kStaticTensorType)
      counts.weightBytes = saturatingAdd(counts.weightBytes, described.bytes.value_or(0));
  }
  return counts;
}

std::vector<std::size_t> chooseGraphs(const GraphModel& model, const std::string& name) {
  std::vector<std::size_t> chosen;
  for (std::size_t graph = 0; graph < model.graphs.size(); ++graph) {
    const Graph& candidate = model.graphs[graph];
    const bool wanted =
        name.empty() ? !candidate.parent : candidate.name == name || candidate.variable == name;
    if (wanted) chosen.push_back(graph);
  }
  return chosen;
}

std::string byteText(uint64_t bytes) {
  static const char* const kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
  if (bytes < 1024) return std::to_string(bytes) + " B";
  double scaled = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  for (; scaled >= 1024 && unit + 1 < std::size(kUnits); ++unit) scaled /= 1024;
  const auto tenths = static_cast<uint64_t>(scaled * 10 + 0.5);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[unit];
}

}  // namespace zeb::tool
