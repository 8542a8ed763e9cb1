// "network:N": a network of N nodes shaped as a MobileNetV2: a stem, inverted
// residual blocks (expand, depthwise, project, and an add that joins the
// block's input where the shapes allow), then pooling and a classifier; small
// weights, one execution. For drawings of realistic size.
#include <deque>
#include <string>
#include <vector>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

float kValues[16] = {0.5f, -0.25f, 0.125f, 1.0f, -1.0f, 0.75f, 0.0625f, -0.5f,
                     0.25f, 0.5f, -0.125f, 2.0f, -2.0f, 0.375f, 1.5f, -0.75f};
uint32_t kFeatures[] = {1, 8, 8, 4}, kImage[] = {1, 8, 8, 3}, kScores[] = {1, 10};
uint32_t kWeights[] = {4, 4}, kBias[] = {4};

class Network {
 public:
  Network(const ZebApi& api, Zeb_GraphHandle_t graph) : api_(api), graph_(graph) {}

  // Created in the graph: the description with the id it was given.
  Zeb_Tensor_t tensor(const std::string& name, Zeb_TensorType_t type, uint32_t rank, uint32_t* shape,
                      uint32_t bytes = 0) {
    Zeb_Tensor_t made = tensorV1(keep(name), type, ZEB_DATATYPE_FLOAT_32, rank, shape, bytes ? kValues : nullptr, bytes);
    api_.tensorCreateGraphTensor(graph_, &made);
    return made;
  }

  // A node with one output, and its weights and bias when it has them.
  Zeb_Tensor_t node(const std::string& name, const char* type, std::vector<Zeb_Tensor_t> inputs, bool weighted,
                    Zeb_TensorType_t outputType = ZEB_TENSOR_TYPE_NATIVE, uint32_t* shape = kFeatures) {
    if (weighted) {
      inputs.push_back(tensor(name + "/weights", ZEB_TENSOR_TYPE_STATIC, 2, kWeights, sizeof kValues));
      inputs.push_back(tensor(name + "/bias", ZEB_TENSOR_TYPE_STATIC, 1, kBias, 4 * sizeof(float)));
    }
    Zeb_Tensor_t output = tensor(name + ":0", outputType, shape == kFeatures ? 4 : 2, shape);
    Zeb_Param_t params[] = {scalarParam("stride", scalar(ZEB_DATATYPE_UINT_32, &Zeb_Scalar_t::uint32Value, 1))};
    api_.graphAddNode(graph_, opConfig(keep(name), "zeb.sample", type, 1, params, uint32_t(inputs.size()),
                                       inputs.data(), 1, &output));
    ++nodes_;
    return output;
  }

  uint32_t nodes() const { return nodes_; }

 private:
  const char* keep(const std::string& text) { return names_.emplace_back(text).c_str(); }

  const ZebApi& api_;
  Zeb_GraphHandle_t graph_;
  std::deque<std::string> names_;  // the client's strings, alive until the end
  uint32_t nodes_ = 0;
};

Zeb_Tensor_t block(Network& net, uint32_t index, Zeb_Tensor_t x) {
  const std::string at = "block_" + std::to_string(index) + "/";
  const Zeb_Tensor_t in = x;
  x = net.node(at + "expand", "Conv2d", {x}, true);
  x = net.node(at + "expand_relu", "Relu6", {x}, false);
  x = net.node(at + "depthwise", "DepthWiseConv2d", {x}, true);
  x = net.node(at + "depthwise_relu", "Relu6", {x}, false);
  x = net.node(at + "project", "Conv2d", {x}, true);
  return index % 4 == 3 ? x : net.node(at + "add", "ElementWiseAdd", {x, in}, false);
}

}  // namespace

void network(const ZebApi& api, uint32_t nodes) {
  const PlainContext plain(api);
  const Zeb_GraphHandle_t graph = plain.graph("network");
  Network net(api, graph);
  Zeb_Tensor_t image = net.tensor("image", ZEB_TENSOR_TYPE_APP_WRITE, 4, kImage);
  Zeb_Tensor_t x = net.node("stem/relu", "Relu6", {net.node("stem/conv", "Conv2d", {image}, true)}, false);
  constexpr uint32_t kHead = 3, kBlock = 6;
  for (uint32_t index = 0; net.nodes() + kBlock + kHead <= nodes; ++index) x = block(net, index, x);
  for (uint32_t index = 0; net.nodes() + kHead < nodes; ++index)
    x = net.node("head/scale_" + std::to_string(index), "Mul", {x}, false);
  x = net.node("head/pool", "PoolAvg2d", {x}, false);
  x = net.node("head/fc", "FullyConnected", {x}, true, ZEB_TENSOR_TYPE_NATIVE, kScores);
  Zeb_Tensor_t scores = net.node("head/softmax", "Softmax", {x}, false, ZEB_TENSOR_TYPE_APP_READ, kScores);
  api.graphFinalize(graph, nullptr, nullptr);
  float pixels[192] = {}, probabilities[10] = {};
  image.v1.clientBuf = {pixels, sizeof pixels};
  scores.v1.clientBuf = {probabilities, sizeof probabilities};
  api.graphExecute(graph, &image, 1, &scores, 1, nullptr, nullptr);
}

}  // namespace zeb::e2e
