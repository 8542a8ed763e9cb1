#include "synthetic_graph.h"

#include "check.h"
#include "client_objects.h"
#include "scribe_session.h"

namespace zeb::bench {
namespace {

const uint32_t kActivationDims[] = {1, 32};
const uint32_t kBiasDims[] = {32};

}  // namespace

SyntheticGraph::SyntheticGraph(uint32_t nodes, uint32_t executions)
    : nodeCount_(nodes),
      executionCount_(executions),
      biasValues_(32, 0.125f),
      input_(32, 0.5f),
      output_(32, 0.0f) {
  names_.reserve(2 * nodes + 1);
  for (uint32_t i = 0; i <= nodes; ++i) names_.push_back("activation_" + std::to_string(i));
  for (uint32_t i = 0; i < nodes; ++i) names_.push_back("layer_" + std::to_string(i) + "_add");
}

std::vector<Step> SyntheticGraph::steps() {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  std::vector<Step> steps;
  // No backend: the written program must compile on its own.
  steps.push_back([this, &api] { check(api.contextCreate(nullptr, nullptr, nullptr, &context_)); });
  steps.push_back([this, &api] { check(api.graphCreate(context_, "synthetic", nullptr, &graph_)); });
  createTensors(steps);
  addNodes(steps);
  steps.push_back([this, &api] { check(api.graphFinalize(graph_, nullptr, nullptr)); });
  addExecutions(steps);
  steps.push_back([this, &api] { check(api.contextFree(context_, nullptr)); });
  return steps;
}

void SyntheticGraph::createTensors(std::vector<Step>& steps) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  steps.push_back([this, &api] {
    bias_ = floatTensor("bias", ZEB_TENSOR_TYPE_STATIC, kBiasDims, 1, biasValues_.data(),
                        static_cast<uint32_t>(biasValues_.size() * sizeof(float)));
    check(api.tensorCreateGraphTensor(graph_, &bias_));
  });
  activations_.resize(nodeCount_ + 1);
  for (uint32_t i = 0; i <= nodeCount_; ++i) {
    steps.push_back([this, &api, i] {
      const Zeb_TensorType_t type = i == 0           ? ZEB_TENSOR_TYPE_APP_WRITE
                                    : i == nodeCount_ ? ZEB_TENSOR_TYPE_APP_READ
                                                      : ZEB_TENSOR_TYPE_NATIVE;
      activations_[i] = floatTensor(names_[i].c_str(), type, kActivationDims, 2, nullptr, 0);
      check(api.tensorCreateGraphTensor(graph_, &activations_[i]));
    });
  }
}

void SyntheticGraph::addNodes(std::vector<Step>& steps) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  for (uint32_t i = 0; i < nodeCount_; ++i) {
    steps.push_back([this, &api, i] {
      Zeb_Tensor_t inputs[] = {activations_[i], bias_};
      Zeb_Tensor_t outputs[] = {activations_[i + 1]};
      Zeb_Param_t params[] = {floatScalarParam("alpha", 1.0f)};
      const Zeb_OpConfig_t op = opConfig(names_[nodeCount_ + 1 + i].c_str(), "ElementWiseAdd",
                                         params, 1, inputs, 2, outputs, 1);
      check(api.graphAddNode(graph_, op));
    });
  }
}

void SyntheticGraph::addExecutions(std::vector<Step>& steps) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const uint32_t bytes = static_cast<uint32_t>(input_.size() * sizeof(float));
  for (uint32_t i = 0; i < executionCount_; ++i) {
    steps.push_back([this, &api, bytes] {
      Zeb_Tensor_t inputs[] = {activations_[0]};
      Zeb_Tensor_t outputs[] = {activations_[nodeCount_]};
      inputs[0].v1.clientBuf = {input_.data(), bytes};
      outputs[0].v1.clientBuf = {output_.data(), bytes};
      check(api.graphExecute(graph_, inputs, 1, outputs, 1, nullptr, nullptr));
    });
  }
}

}  // namespace zeb::bench
