// `zebscribe graph --format html`: the page, with the graphs as JSON inside
// it. Arrays rather than objects keep the data of a large graph small; the
// page's script (graph_page/viewer.js) reads them in the same order.
#include <unordered_map>

#include "graph_flow.h"
#include "graph_output.h"
#include "graph_page.h"

namespace zeb::tool {
namespace {

// A JSON string that also cannot end the script element it stands in.
void writeString(std::ostream& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out << '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
      out << "\\u00" << kHex[byte >> 4] << kHex[byte & 0xF];
    } else {
      out << c;
    }
  }
  out << '"';
}

void writeStrings(std::ostream& out, const std::vector<std::string>& texts) {
  out << '[';
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out << ',';
    writeString(out, texts[i]);
  }
  out << ']';
}

template <typename Numbers, typename Map>
void writeIndices(std::ostream& out, const Numbers& numbers, Map map) {
  out << '[';
  for (std::size_t i = 0; i < numbers.size(); ++i) out << (i > 0 ? "," : "") << map(numbers[i]);
  out << ']';
}

class PageWriter {
 public:
  PageWriter(const GraphModel& model, std::ostream& out) : model_(model), out_(out) {}
  void writeView(std::size_t root);
  void writeTensors();

 private:
  std::size_t tensor(std::size_t index);
  void writeNode(const GraphNode& node, const std::unordered_map<std::size_t, std::size_t>& graphs);

  const GraphModel& model_;
  std::ostream& out_;
  std::vector<std::size_t> tensors_;  // the model's indices, in the page's order
  std::unordered_map<std::size_t, std::size_t> tensorIndex_;
};

std::size_t PageWriter::tensor(std::size_t index) {
  const auto [found, added] = tensorIndex_.emplace(index, tensors_.size());
  if (added) tensors_.push_back(index);
  return found->second;
}

// [name, variable, summary, bytes or null, 1 for a weight]
void PageWriter::writeTensors() {
  out_ << "\"tensors\":[";
  for (std::size_t i = 0; i < tensors_.size(); ++i) {
    const GraphTensor& written = model_.tensors[tensors_[i]];
    out_ << (i > 0 ? ",[" : "[");
    writeString(out_, written.name);
    out_ << ',';
    writeString(out_, written.variable);
    out_ << ',';
    writeString(out_, tensorSummary(written));
    out_ << ',' << (written.bytes ? std::to_string(*written.bytes) : "null") << ','
         << (written.type == kStaticTensorType) << ']';
  }
  out_ << ']';
}

// [title, type, package, variable, graph, line, inputs, outputs, params, label lines]
void PageWriter::writeNode(const GraphNode& node,
                           const std::unordered_map<std::size_t, std::size_t>& graphs) {
  out_ << '[';
  for (const std::string* text : {&node.title(), &node.type, &node.package, &node.variable}) {
    writeString(out_, *text);
    out_ << ',';
  }
  out_ << graphs.at(node.graph) << ',' << node.line << ',';
  auto local = [this](std::size_t index) { return tensor(index); };
  writeIndices(out_, node.inputs, local);
  out_ << ',';
  writeIndices(out_, node.outputs, local);
  out_ << ",[";
  for (std::size_t i = 0; i < node.params.size(); ++i) {
    out_ << (i > 0 ? "," : "");
    writeStrings(out_, {node.params[i].name, node.params[i].value});
  }
  out_ << "],";
  writeStrings(out_, nodeLines(model_, node));
  out_ << ']';
}

// {"graphs": [[name, variable, parent or -1, heading lines]...], "nodes": [...],
//  "edges": [[from, to, tensor]...]}, from and to -1 for the graph's input and output.
void PageWriter::writeView(std::size_t root) {
  const GraphFlow flow = flowOf(model_, root);
  std::unordered_map<std::size_t, std::size_t> graphs, nodes;
  for (std::size_t i = 0; i < flow.graphs.size(); ++i) graphs.emplace(flow.graphs[i], i);
  for (std::size_t i = 0; i < flow.nodes.size(); ++i) nodes.emplace(flow.nodes[i], i);
  out_ << "{\"graphs\":[";
  for (std::size_t i = 0; i < flow.graphs.size(); ++i) {
    const Graph& graph = model_.graphs[flow.graphs[i]];
    out_ << (i > 0 ? ",[" : "[");
    writeString(out_, graph.name);
    out_ << ',';
    writeString(out_, graph.variable);
    out_ << ',' << (i > 0 && graph.parent ? static_cast<long long>(graphs.at(*graph.parent)) : -1)
         << ',';
    writeStrings(out_, graphLines(model_, flow.graphs[i]));
    out_ << ']';
  }
  out_ << "],\"nodes\":[";
  for (std::size_t i = 0; i < flow.nodes.size(); ++i) {
    out_ << (i > 0 ? "," : "");
    writeNode(model_.nodes[flow.nodes[i]], graphs);
  }
  out_ << "],\"edges\":[";
  auto end = [&nodes](const std::optional<std::size_t>& node) {
    return node ? static_cast<long long>(nodes.at(*node)) : -1;
  };
  for (std::size_t i = 0; i < flow.edges.size(); ++i) {
    const FlowEdge& edge = flow.edges[i];
    out_ << (i > 0 ? ",[" : "[") << end(edge.from) << ',' << end(edge.to) << ','
         << tensor(edge.tensor) << ']';
  }
  out_ << "]}";
}

}  // namespace

void writeHtml(const GraphModel& model, const std::vector<std::size_t>& roots,
               const std::string& title, std::ostream& out) {
  out << kGraphPageHead << "{\"title\":";
  writeString(out, title);
  out << ",\"views\":[";
  PageWriter writer(model, out);
  for (std::size_t i = 0; i < roots.size(); ++i) {
    out << (i > 0 ? "," : "");
    writer.writeView(roots[i]);
  }
  out << "],";
  writer.writeTensors();
  out << '}' << kGraphPageTail;
}

}  // namespace zeb::tool
