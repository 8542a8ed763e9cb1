// What one drawing shows: a graph with its subgraphs, the edges its tensors
// make between the nodes, and which tensors enter, leave or are weights.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "graph_model.h"

namespace zeb::tool {

struct FlowEdge {
  std::optional<std::size_t> from, to;  // nodes; none: the graph's input or output
  std::size_t tensor = 0;
};

struct GraphFlow {
  std::vector<std::size_t> graphs;  // the root first, each subgraph after its parent
  std::vector<std::size_t> nodes;   // in the order they were added
  // Tensors: consumed but made by no node; made and read by the application
  // (or by no node); static (weights, drawn with their node, not as edges).
  std::vector<std::size_t> inputs, outputs, weights;
  std::vector<FlowEdge> edges;
};

GraphFlow flowOf(const GraphModel& model, std::size_t root);

// One graph alone, without its subgraphs: the tensors its nodes use or that
// were created in it, and the bytes of the static ones.
struct GraphCounts {
  std::size_t nodes = 0, tensors = 0;
  uint64_t weightBytes = 0;
};
GraphCounts countsOf(const GraphModel& model, std::size_t graph);

// The graphs without a parent, or those whose client name or variable is
// `name`; empty when none is.
std::vector<std::size_t> chooseGraphs(const GraphModel& model, const std::string& name);

// "448 B", "2.5 KiB", "3.4 MiB".
std::string byteText(uint64_t bytes);

}  // namespace zeb::tool
