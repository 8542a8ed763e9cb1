#include "graph_model.h"

#include <unordered_map>
#include <utility>

#include "graph_descriptions.h"
#include "recorded_statements.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::string_view firstArgument(const Statement& call) {
  const std::string_view text = code(call);
  const std::size_t open = text.find('(', text.find("interface."));
  const std::size_t comma = text.find(',', open);
  if (open == kNone || comma == kNone) return {};
  return text.substr(open + 1, comma - open - 1);
}

std::string_view lastArgument(const Statement& call) {
  std::string_view text = code(call);
  const std::size_t close = text.rfind("));");
  text = text.substr(0, close == kNone ? text.size() : close);
  const std::size_t comma = text.rfind(", ");
  return comma == kNone ? std::string_view() : text.substr(comma + 2);
}

std::string_view withoutAddress(std::string_view argument) {
  if (!argument.empty() && argument.front() == '&') argument.remove_prefix(1);
  return argument;
}

// `context_0_tensor_3.v1.id` names context_0_tensor_3; a number names none.
std::string_view referencedVariable(std::string_view id) {
  for (const std::string_view suffix : {".v1.id", ".v2.id"}) {
    if (id.size() > suffix.size() && id.substr(id.size() - suffix.size()) == suffix)
      return id.substr(0, id.size() - suffix.size());
  }
  return {};
}

class ModelReader {
 public:
  void read(const Block& block);
  GraphModel take() { return std::move(model_); }

 private:
  using Handler = void (ModelReader::*)(const Block&, std::string_view member);
  static const std::pair<std::string_view, Handler> kHandlers[];

  void createGraph(const Block& block, std::string_view member);
  void createGraphTensor(const Block& block, std::string_view) {
    createTensor(block, graph(firstArgument(block.callStatement())));
  }
  void createContextTensor(const Block& block, std::string_view) { createTensor(block, {}); }
  void addNode(const Block& block, std::string_view member);
  void finalize(const Block& block, std::string_view) {
    ++model_.graphs[graph(firstArgument(block.callStatement()))].finalizes;
  }
  void execute(const Block& block, std::string_view) {
    ++model_.graphs[graph(firstArgument(block.callStatement()))].executions;
  }

  void createTensor(const Block& block, std::optional<std::size_t> graph);
  std::size_t graph(std::string_view variable);
  std::size_t tensor(const TensorDescription& description);
  std::vector<std::size_t> tensors(const Declarations& declarations, const std::string& array);

  GraphModel model_;
  std::unordered_map<std::string, std::size_t> graphs_, tensors_;
};

const std::pair<std::string_view, ModelReader::Handler> ModelReader::kHandlers[] = {
    {"graphCreate", &ModelReader::createGraph},
    {"graphCreateSubgraph", &ModelReader::createGraph},
    {"graphRetrieve", &ModelReader::createGraph},
    {"tensorCreateGraphTensor", &ModelReader::createGraphTensor},
    {"tensorCreateContextTensor", &ModelReader::createContextTensor},
    {"graphAddNode", &ModelReader::addNode},
    {"graphFinalize", &ModelReader::finalize},
    {"graphExecute", &ModelReader::execute},
    {"graphExecuteAsync", &ModelReader::execute},
};

void ModelReader::read(const Block& block) {
  const std::string_view member = calledMember(block.callStatement()).value_or("");
  for (const auto& [name, handler] : kHandlers) {
    if (name == member) (this->*handler)(block, member);
  }
}

void ModelReader::createGraph(const Block& block, std::string_view member) {
  const Statement& call = block.callStatement();
  const std::string variable(withoutAddress(lastArgument(call)));
  if (variable.empty() || graphs_.count(variable)) return;  // retrieved again
  Graph made;
  if (member == "graphCreateSubgraph") made.parent = graph(firstArgument(call));
  made.variable = variable;
  made.name = call.strings.empty() ? variable : std::string(call.strings.front());
  made.retrieved = member == "graphRetrieve";
  graphs_.emplace(variable, model_.graphs.size());
  model_.graphs.push_back(std::move(made));
}

// A graph the recording uses without a block that makes it (one whose block
// was lost) stands for itself under its variable.
std::size_t ModelReader::graph(std::string_view variable) {
  const auto [found, added] = graphs_.emplace(std::string(variable), model_.graphs.size());
  if (added) {
    model_.graphs.emplace_back();
    model_.graphs.back().variable = model_.graphs.back().name = std::string(variable);
  }
  return found->second;
}

void ModelReader::createTensor(const Block& block, std::optional<std::size_t> graph) {
  const std::string variable(withoutAddress(lastArgument(block.callStatement())));
  auto description = readTensor(Declarations(block), variable);
  if (!description || tensors_.count(variable)) return;
  tensors_.emplace(variable, model_.tensors.size());
  if (graph) model_.graphs[*graph].tensors.push_back(model_.tensors.size());
  model_.tensors.push_back(std::move(description->tensor));
}

// A node's tensor is the created one its id refers to; a tensor whose id is
// written as a number is known by that number and its name.
std::size_t ModelReader::tensor(const TensorDescription& description) {
  const std::string_view variable = referencedVariable(description.id);
  const std::string key = !variable.empty()
                              ? std::string(variable)
                              : "#" + std::string(description.id) + ":" + description.tensor.name;
  const auto [found, added] = tensors_.emplace(key, model_.tensors.size());
  if (added) {
    model_.tensors.push_back(description.tensor);
    if (!variable.empty()) model_.tensors.back().variable = std::string(variable);
  }
  return found->second;
}

std::vector<std::size_t> ModelReader::tensors(const Declarations& declarations,
                                              const std::string& array) {
  std::vector<std::size_t> found;
  const Statement* statement = declarations.find(array);
  if (!statement) return found;
  for (const Field& element : initializerFields(*statement)) {
    if (const auto description = readTensor(declarations, element.text))
      found.push_back(tensor(*description));
  }
  return found;
}

void ModelReader::addNode(const Block& block, std::string_view) {
  const Statement& call = block.callStatement();
  const Declarations declarations(block);
  GraphNode node;
  node.variable = std::string(lastArgument(call));
  node.graph = graph(firstArgument(call));
  node.line = call.line;
  const Statement* config = declarations.find(node.variable + "_v1");
  const std::vector<Field> fields = config ? initializerFields(*config) : std::vector<Field>();
  std::string* texts[] = {&node.name, &node.package, &node.type};
  for (std::size_t i = 0; i < 3 && i < fields.size(); ++i) {
    if (fields[i].literal) *texts[i] = fields[i].text;
  }
  node.params = readParams(declarations, node.variable);
  node.inputs = tensors(declarations, node.variable + "_inputs");
  node.outputs = tensors(declarations, node.variable + "_outputs");
  model_.graphs[node.graph].nodes.push_back(model_.nodes.size());
  model_.nodes.push_back(std::move(node));
}

}  // namespace

GraphModel readGraphModel(const Recording& recording) {
  ModelReader reader;
  for (const Block& block : recording.body.blocks) reader.read(block);
  return reader.take();
}

std::string dimensionsText(const GraphTensor& tensor) {
  if (!tensor.dimensions) return "?";
  if (tensor.dimensions->empty()) return "scalar";
  std::string text;
  for (const uint64_t dimension : *tensor.dimensions) {
    text += (text.empty() ? "" : "x") + std::to_string(dimension);
  }
  return text;
}

std::string tensorSummary(const GraphTensor& tensor) {
  std::string text = dimensionsText(tensor) + " " + dataTypeName(tensor.dataType);
  return tensor.quantization.empty() ? text : text + ", " + tensor.quantization;
}

}  // namespace zeb::tool
