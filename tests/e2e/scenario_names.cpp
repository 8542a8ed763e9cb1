// Clients whose graph and node names are made of the recorder's own words, so
// that the variables named after them meet its others: a table of such names,
// and seeded random ones. A client is a list of steps separated by ";", each a
// verb and maybe a name; "@" in a name stands for the variable of the context
// made last (`context_3`), which a client can know by counting.
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

uint32_t kShape[] = {2};
float kData[2] = {1.5f, -2.0f};

Zeb_Tensor_t floats(const char* name) {
  return tensorV1(name, ZEB_TENSOR_TYPE_APP_WRITE, ZEB_DATATYPE_FLOAT_32, 1, kShape, kData, sizeof kData);
}

struct Graph {
  Zeb_GraphHandle_t handle = nullptr;
  std::vector<Zeb_Tensor_t> tensors;  // created in it, with their ids
};

class NameClient {
 public:
  explicit NameClient(const ZebApi& api) : api_(api) { api_.backendCreate(nullptr, kNoBackendConfigs, &backend_); }
  ~NameClient() {
    while (!contexts_.empty()) step("free", "");
    api_.backendFree(backend_);
  }

  void run(const std::string& steps) {
    std::istringstream in(steps);
    for (std::string verb, name; std::getline(in >> std::ws, verb, ';'); name.clear()) {
      if (const std::size_t blank = verb.find(' '); blank != std::string::npos) {
        name = verb.substr(blank + 1), verb.resize(blank);
        for (std::size_t mark; (mark = name.find('@')) != std::string::npos;)
          name.replace(mark, 1, "context_" + std::to_string(contextsMade_ - 1));
      }
      step(verb, name);
    }
  }

 private:
  struct Context {
    Zeb_ContextHandle_t handle = nullptr;
    std::map<std::string, Graph> graphs;
  };

  void step(const std::string& verb, const std::string& name) {
    if (verb == "context") {
      contexts_.emplace_back(), ++contextsMade_;
      api_.contextCreate(backend_, nullptr, kNoContextConfigs, &contexts_.back().handle);
      graph_ = nullptr;
    } else if (verb == "free") {
      api_.contextFree(contexts_.back().handle, nullptr);
      contexts_.pop_back(), graph_ = nullptr;
    } else if (verb == "ctensor") {
      Zeb_Tensor_t tensor = floats("t");
      api_.tensorCreateContextTensor(contexts_.back().handle, &tensor);
    } else if (verb == "set") {
      static const char* const graphNames[] = {"a", nullptr};
      const ZebContext_Config_t configs[] = {contextPriority(ZEB_PRIORITY_HIGH), contextEnableGraphs(graphNames)};
      api_.contextSetConfig(contexts_.back().handle, listOf(configs).data());
    } else if (verb == "binary") {
      Zeb_ContextBinarySize_t size = 0, written = 0;  // the program passes the size it was given
      api_.contextGetBinarySize(contexts_.back().handle, &size);
      std::vector<uint8_t> buffer(size + 1);
      api_.contextGetBinary(contexts_.back().handle, buffer.data(), size, &written);
    } else if (verb == "graph" || verb == "retrieve" || verb == "subgraph" || verb == "use") {
      Graph& graph = contexts_.back().graphs[name];
      if (verb == "graph") api_.graphCreate(contexts_.back().handle, name.c_str(), kNoGraphConfigs, &graph.handle);
      if (verb == "retrieve") api_.graphRetrieve(contexts_.back().handle, name.c_str(), &graph.handle);
      if (verb == "subgraph") api_.graphCreateSubgraph(graph_->handle, name.c_str(), &graph.handle);
      graph_ = &graph;
    } else if (verb == "gset") {
      const ZebGraph_Config_t configs[] = {graphPriority(ZEB_PRIORITY_LOW)};
      api_.graphSetConfig(graph_->handle, listOf(configs).data());
    } else if (verb == "tensor") {
      graph_->tensors.push_back(floats("t"));
      api_.tensorCreateGraphTensor(graph_->handle, &graph_->tensors.back());
    } else if (verb == "node" || verb == "validate") {
      std::vector<Zeb_Tensor_t> tensors = graph_ && verb == "node" ? graph_->tensors : std::vector<Zeb_Tensor_t>{};
      tensors.resize(3, floats("x"));
      Zeb_Param_t params[] = {scalarParam("alpha", scalar(ZEB_DATATYPE_FLOAT_32, &Zeb_Scalar_t::floatValue, 0.5f)),
                              tensorParam("weights", tensors[2])};
      const Zeb_OpConfig_t op = opConfig(name.c_str(), "pkg", "Op", 2, params, 2, tensors.data(), 1, &tensors[2]);
      if (verb == "node") api_.graphAddNode(graph_->handle, op);
      else api_.backendValidateOpConfig(backend_, op);
    } else if (verb == "execute") {
      std::vector<Zeb_Tensor_t> tensors = graph_->tensors;
      tensors.resize(3, floats("x"));
      // The backend fills the output: a buffer of its own keeps the data the others share.
      float output[2] = {kData[0], kData[1]};
      tensors[2].v1.clientBuf = {output, sizeof output};
      api_.graphExecute(graph_->handle, tensors.data(), 2, &tensors[2], 1, nullptr, nullptr);
    }
  }

  const ZebApi& api_;
  Zeb_BackendHandle_t backend_ = nullptr;
  std::vector<Context> contexts_;
  unsigned contextsMade_ = 0;
  Graph* graph_ = nullptr;
};

}  // namespace

// Each row in a context of its own, whose variable "@" stands for; each name meets a
// variable of the recorder's made before it or after it, or (the last rows) none.
const std::vector<CollidingNames>& collidingNames() {
  static const std::vector<CollidingNames> rows = {
      // a graph and its context's tensors, configurations and binary variables
      {"ctensor; graph tensor_0", "@_tensor_0 @_tensor_0_alt"},
      {"graph tensor_0; ctensor", "@_tensor_0 @_tensor_1"},
      {"graph tensor_1_dims; ctensor; ctensor", "@_tensor_1_dims @_tensor_0 @_tensor_2 !@_tensor_1"},
      {"ctensor; graph tensor_0_v1", "@_tensor_0_v1_alt"},
      {"graph config_0", "@_config_0_alt"},
      {"graph config_1; set", "@_config_1 @_config_2"},
      {"graph priority_0; set", "@_priority_0 @_priority_1"},
      {"graph enableGraphs_0_array; set", "@_enableGraphs_0_array @_enableGraphs_1 @_enableGraphs_1_array"},
      {"set; graph enableGraphs_0_array", "@_enableGraphs_0_array_alt"},
      {"graph buffer; graph fp; binary", "@_buffer @_fp @_buffer_alt @_fp_alt @_binaryBufferSize"},
      {"binary; graph buffer; graph binaryBufferSize", "@_buffer @_buffer_alt @_binaryBufferSize_alt"},
      // a graph and another graph's tensors, executions, configurations and nodes
      {"graph g; tensor; graph g_tensor_0", "@_g_tensor_0_alt"},
      {"graph g_tensor_0; graph g; tensor", "@_g_tensor_0 @_g_tensor_1"},
      {"graph g; execute; graph g_inputTensors_0", "@_g_inputTensors_0_alt"},
      {"graph g_inputTensor_0_1; graph g; execute; execute", "@_g_inputTensors_1 @_g_inputTensors_2 !@_g_inputTensors_0"},
      {"graph g; gset; graph g_config_1", "@_g_config_1_alt"},
      {"graph g_config_1; graph g; gset", "@_g_config_1 @_g_config_2"},
      {"graph g; node x; graph g_x_0", "@_g_x_0 @_g_x_0_alt"},
      {"graph g_x_0; graph g; node x", "@_g_x_0 @_g_x_1"},
      {"graph g_x_0_input_1_dims; graph g; node x", "@_g_x_1 !@_g_x_0"},
      {"graph g; node x; graph g_x_0_v1", "@_g_x_0_v1_alt"},
      {"graph a-b; retrieve a.b", "@_a_b @_a_b_alt"},
      {"graph g; subgraph tensor_0; ctensor", "@_tensor_0 @_tensor_1"},
      // a node and its graph's tensors and executions, other nodes, other graphs
      {"graph g; tensor; node tensor", "@_g_tensor_0 @_g_tensor_alt_0"},
      {"graph g; node tensor; tensor", "@_g_tensor_0 @_g_tensor_1"},
      {"graph g; execute; node inputTensor_0", "@_g_inputTensor_0_alt_0"},
      {"graph g; node inputTensor_0; execute", "@_g_inputTensor_0_0 @_g_inputTensors_1 !@_g_inputTensors_0"},
      {"graph g; node outputTensors; execute", "@_g_outputTensors_0 @_g_inputTensors_1"},
      {"graph g; execute; node inputTensors", "@_g_inputTensors_0 @_g_inputTensors_alt_0"},
      {"graph g; node x; node x_0_input", "@_g_x_0 @_g_x_0_input_alt_0"},
      {"graph g; node x_0_param; node x", "@_g_x_0_param_0 @_g_x_1 !@_g_x_0"},
      {"graph g; node x_0_output; node x", "@_g_x_0_output_0 @_g_x_1 !@_g_x_0"},
      {"graph g; graph g_y; tensor; use g; node y_tensor", "@_g_y_tensor_0 @_g_y_tensor_alt_0"},
      {"graph g; node y_tensor; graph g_y; tensor", "@_g_y_tensor_0 @_g_y_tensor_1"},
      {"graph g; node y_inputTensors; graph g_y; execute", "@_g_y_inputTensors_0 @_g_y_inputTensors_1"},
      // a validated op and everything else, also in a freed context
      {"validate @_config", "alt_@_config_0"},
      {"ctensor; validate @_tensor", "alt_@_tensor_0"},
      {"validate backend_0_config", "alt_backend_0_config_0"},
      {"graph g; node x; validate @_g_x", "alt_@_g_x_0"},
      {"validate x; validate x_0_input", "x_0 x_0_input_alt_0"},
      {"validate y_0_param; validate y", "y_0_param_0 y_1 !y_0"},
      {"ctensor; free; validate @_tensor", "alt_@_tensor_0"},
      // names like the recorder's that meet none of its variables keep their names
      {"graph layer_1; node conv_2_input; node input; node tensors; tensor",
       "@_layer_1_conv_2_input_0 @_layer_1_input_0 @_layer_1_tensors_0 @_layer_1_tensor_0"},
      {"graph tensor_1; ctensor; graph g; node tensor_5; tensor", "@_tensor_1 @_tensor_0 @_g_tensor_5_0 @_g_tensor_0"},
  };
  return rows;
}

namespace {

// Words the recorder names its variables with, and digits.
const char* const kWords[] = {"tensor", "config", "priority", "customConfig", "inputTensor", "outputTensor",
                              "inputTensors", "outputTensors", "param", "input", "output", "params", "inputs",
                              "outputs", "dims", "v1", "v2", "data", "clientBuf", "quantizeParams", "scalar",
                              "array", "enableGraphs", "buffer", "fp", "binary", "alt", "context", "backend",
                              "0", "1", "2", "0", "1"};

// A client of many graphs, nodes, tensors and executions named from kWords and
// from each other's names; graph names are unique in their context, as a
// backend refuses a second one.
std::string randomNameSteps(uint64_t seed) {
  std::mt19937_64 rng(seed);
  const auto below = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  std::vector<std::string> known = {"g"};
  std::vector<std::set<std::string>> graphs(1);
  // Names of a client's own, which later names may repeat, or of a context's.
  const auto anyName = [&](const char* prefix) {
    std::string name = prefix;
    for (std::size_t parts = 1 + below(4), i = 0; i < parts; ++i) {
      const std::string part = below(5) == 0 ? known[below(known.size())] : kWords[below(std::size(kWords))];
      name += (name.empty() ? "" : "_") + (name.empty() && part[0] <= '9' ? "x" + part : part);
    }
    if (*prefix == '\0') known.push_back(name);
    return name;
  };
  // A graph retrieved by a name that is some graph's variable would be that graph.
  const auto newGraph = [&](const char* verb, const char* prefix = "") {
    std::string name;
    do name = anyName(prefix); while (!graphs.back().insert(name).second);
    return std::string(verb) + " " + name + ";";
  };
  std::string steps = "context;" + newGraph("graph");
  for (unsigned count = 0; count < 150; ++count) {
    const std::size_t pick = below(20);
    const std::set<std::string>& current = graphs.back();
    if (pick < 2) steps += newGraph("graph");
    else if (pick < 3) steps += below(2) ? newGraph("retrieve", "r") : newGraph("subgraph");
    else if (pick < 5) steps += "use " + *std::next(current.begin(), long(below(current.size()))) + ";";
    else if (pick < 10) steps += "node " + anyName("") + ";";
    else if (pick < 12) steps += "tensor;";
    else if (pick < 14) steps += "execute;";
    else if (pick < 16) steps += "validate " + anyName(below(2) ? "@" : "") + ";";
    else if (pick < 17) steps += below(2) ? "ctensor;" : "gset;";
    else if (pick < 18) steps += below(2) ? "set;" : "binary;";
    else if (pick < 19) graphs.emplace_back(), steps += "context;" + newGraph("graph");
    else if (graphs.size() > 1) graphs.pop_back(), steps += "free;use " + *graphs.back().begin() + ";";
  }
  return steps;
}

}  // namespace

bool runNamesScenario(const std::string& name, const ZebApi& api) {
  if (name == "names-table") {
    NameClient client(api);
    for (const CollidingNames& row : collidingNames()) client.run(std::string("context;") + row.steps);
    return true;
  }
  const auto seed = numberAfter("random-names", name);
  if (seed) NameClient(api).run(randomNameSteps(*seed));
  return seed.has_value();
}

}  // namespace zeb::e2e
