// The graphs in `zebscribe info`: each with its nodes, tensors and weights.
#include "graph_info.h"

#include <iomanip>
#include <iostream>

#include "graph_flow.h"

namespace zeb::tool {

void printGraphCounts(const GraphModel& model) {
  std::cout << "graph contents\n";
  for (std::size_t graph = 0; graph < model.graphs.size(); ++graph) {
    const Graph& counted = model.graphs[graph];
    const GraphCounts counts = countsOf(model, graph);
    std::cout << "    " << std::left << std::setw(28) << counted.variable << " \"" << counted.name
              << "\"  " << counts.nodes << " nodes, " << counts.tensors << " tensors, "
              << counts.weightBytes << " weight bytes";
    if (counted.parent) std::cout << ", subgraph of " << model.graphs[*counted.parent].variable;
    std::cout << "\n";
  }
}

void writeGraphCounts(const GraphModel& model, JsonWriter& json) {
  json.key("graphs");
  json.beginArray();
  for (std::size_t graph = 0; graph < model.graphs.size(); ++graph) {
    const Graph& counted = model.graphs[graph];
    const GraphCounts counts = countsOf(model, graph);
    json.beginObject();
    json.field("variable", counted.variable);
    json.field("name", counted.name);
    json.key("parent");
    counted.parent ? json.value(model.graphs[*counted.parent].variable) : json.null();
    json.field("nodes", uint64_t{counts.nodes});
    json.field("tensors", uint64_t{counts.tensors});
    json.field("weightBytes", counts.weightBytes);
    json.field("finalizes", uint64_t{counted.finalizes});
    json.field("executions", uint64_t{counted.executions});
    json.endObject();
  }
  json.endArray();
}

}  // namespace zeb::tool
