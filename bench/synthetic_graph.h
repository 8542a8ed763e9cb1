// A synthetic network of many nodes, recorded end to end: a context, a graph,
// its tensors, a chain of nodes, finalize, as many executions as asked (the
// chain's first activation in, its last one out), and the context's free.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZebInterface.h"
#include "side_by_side.h"

namespace zeb::bench {

class SyntheticGraph {
 public:
  explicit SyntheticGraph(uint32_t nodes, uint32_t executions = 0);

  // One step per API call, in order; the last one frees the context.
  std::vector<Step> steps();

 private:
  void createTensors(std::vector<Step>& steps);
  void addNodes(std::vector<Step>& steps);
  void addExecutions(std::vector<Step>& steps);

  uint32_t nodeCount_;
  uint32_t executionCount_;
  Zeb_ContextHandle_t context_ = nullptr;
  Zeb_GraphHandle_t graph_ = nullptr;
  std::vector<std::string> names_;        // node and tensor names, as a client keeps them
  std::vector<Zeb_Tensor_t> activations_;  // nodeCount_ + 1
  Zeb_Tensor_t bias_{};
  std::vector<float> biasValues_;
  std::vector<float> input_, output_;  // an execution's data
};

}  // namespace zeb::bench
