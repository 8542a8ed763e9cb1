// `zebscribe graph --format dot`: clusters for graphs, boxes for nodes, an
// edge per tensor from its producer to each consumer; inputs and outputs are
// drawn as their own shapes, weights only as a line in their node.
#include <map>
#include <set>

#include "graph_flow.h"
#include "graph_output.h"

namespace zeb::tool {
namespace {

std::string dotString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out + "\"";
}

// Lines joined by DOT's centred line break, each quoted as a whole.
std::string lines(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "\n") + text;
  return dotString(joined);
}

std::string nodeId(std::size_t node) { return "n" + std::to_string(node); }
std::string markerId(std::size_t root, const char* kind, std::size_t tensor) {
  return "g" + std::to_string(root) + "_" + kind + std::to_string(tensor);
}

std::string tooltip(const GraphModel& model, const GraphNode& node) {
  std::vector<std::string> texts = {node.variable,
                                    "package: " + (node.package.empty() ? "none" : node.package)};
  for (const GraphParam& param : node.params)
    texts.push_back((param.name.empty() ? "(unnamed)" : param.name) + " = " + param.value);
  for (const std::size_t tensor : node.inputs) {
    const GraphTensor& input = model.tensors[tensor];
    if (input.type == kStaticTensorType)
      texts.push_back("weight " + input.name + ": " + tensorSummary(input) +
                      (input.bytes ? ", " + byteText(*input.bytes) : ""));
  }
  return lines(texts);
}

class DotWriter {
 public:
  DotWriter(const GraphModel& model, std::ostream& out) : model_(model), out_(out) {}
  void write(std::size_t root);

 private:
  void cluster(std::size_t graph, const std::string& indent);
  void marker(std::size_t tensor, bool input, const std::string& indent);
  void edge(const FlowEdge& edge);

  const GraphModel& model_;
  std::ostream& out_;
  std::size_t root_ = 0;
  GraphFlow flow_;
  std::map<std::size_t, std::set<std::pair<std::size_t, bool>>>
      markers_;  // tensor, input, by graph
};

void DotWriter::write(std::size_t root) {
  root_ = root;
  flow_ = flowOf(model_, root);
  markers_.clear();
  for (const FlowEdge& edge : flow_.edges) {
    if (!edge.from && edge.to) markers_[model_.nodes[*edge.to].graph].insert({edge.tensor, true});
    if (edge.from && !edge.to)
      markers_[model_.nodes[*edge.from].graph].insert({edge.tensor, false});
  }
  cluster(root, "  ");
  for (const FlowEdge& edge : flow_.edges) this->edge(edge);
}

void DotWriter::cluster(std::size_t graph, const std::string& indent) {
  const Graph& drawn = model_.graphs[graph];
  out_ << indent << "subgraph " << dotString("cluster_" + drawn.variable) << " {\n"
       << indent << "  label=" << lines(graphLines(model_, graph)) << ";\n"
       << indent << "  tooltip=" << dotString(drawn.variable) << ";\n";
  for (const std::size_t node : drawn.nodes) {
    const GraphNode& shown = model_.nodes[node];
    out_ << indent << "  " << nodeId(node) << " [label=" << lines(nodeLines(model_, shown))
         << " tooltip=" << tooltip(model_, shown) << "];\n";
  }
  for (const auto& [tensor, input] : markers_[graph]) marker(tensor, input, indent + "  ");
  if (drawn.nodes.empty()) {
    out_ << indent << "  " << dotString(drawn.variable + "_empty")
         << " [shape=plaintext style=\"\" label=\"no nodes recorded\"];\n";
  }
  for (const std::size_t child : flow_.graphs) {
    if (model_.graphs[child].parent == graph && child != root_) cluster(child, indent + "  ");
  }
  out_ << indent << "}\n";
}

void DotWriter::marker(std::size_t tensor, bool input, const std::string& indent) {
  const char* kind = input ? "input" : "output";
  out_ << indent << markerId(root_, kind, tensor) << " [shape=" << (input ? "invhouse" : "house")
       << " fillcolor=\"" << (input ? "#dff3e4" : "#fdf0d5")
       << "\" label=" << lines({kind, model_.tensors[tensor].name}) << "];\n";
}

void DotWriter::edge(const FlowEdge& edge) {
  const GraphTensor& tensor = model_.tensors[edge.tensor];
  out_ << "  " << (edge.from ? nodeId(*edge.from) : markerId(root_, "input", edge.tensor)) << " -> "
       << (edge.to ? nodeId(*edge.to) : markerId(root_, "output", edge.tensor)) << " [label="
       << lines({tensor.name.empty() ? tensor.variable : tensor.name, tensorSummary(tensor)})
       << "];\n";
}

}  // namespace

std::vector<std::string> nodeLines(const GraphModel& model, const GraphNode& node) {
  std::vector<std::string> texts = {node.title(), node.type.empty() ? "(no op type)" : node.type};
  std::size_t weights = 0;
  uint64_t bytes = 0;
  for (const std::size_t tensor : node.inputs) {
    const GraphTensor& input = model.tensors[tensor];
    if (input.type != kStaticTensorType) continue;
    ++weights;
    bytes = saturatingAdd(bytes, input.bytes.value_or(0));
  }
  if (weights > 0)
    texts.push_back(std::to_string(weights) + (weights == 1 ? " weight, " : " weights, ") +
                    byteText(bytes));
  return texts;
}

std::vector<std::string> graphLines(const GraphModel& model, std::size_t graph) {
  const Graph& shown = model.graphs[graph];
  const GraphCounts counts = countsOf(model, graph);
  std::vector<std::string> texts = {shown.parent ? "subgraph " + shown.name : shown.name};
  texts.push_back(std::to_string(counts.nodes) + " nodes, " + std::to_string(counts.tensors) +
                  " tensors, " + byteText(counts.weightBytes) + " of weights");
  texts.push_back((shown.retrieved ? "retrieved, finalized " : "finalized ") +
                  std::to_string(shown.finalizes) + ", executed " +
                  std::to_string(shown.executions));
  return texts;
}

void writeDot(const GraphModel& model, const std::vector<std::size_t>& roots, std::ostream& out) {
  out << "digraph zebscribe {\n"
         "  graph [fontname=\"Helvetica\" fontsize=11 nodesep=0.35 ranksep=0.45];\n"
         "  node [fontname=\"Helvetica\" fontsize=10 shape=box style=\"rounded,filled\" "
         "fillcolor=\"#e8effa\" color=\"#5b7bb5\"];\n"
         "  edge [fontname=\"Helvetica\" fontsize=8 color=\"#667085\"];\n";
  DotWriter writer(model, out);
  for (const std::size_t root : roots) writer.write(root);
  out << "}\n";
}

}  // namespace zeb::tool
