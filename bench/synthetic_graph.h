// A synthetic network of many nodes, recorded end to end: a context, a graph,
// its tensors, a chain of nodes, finalize, and the context's free.
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
  explicit SyntheticGraph(uint32_t nodes);

  // One step per API call, in order; the last one frees the context.
  std::vector<Step> steps();

 private:
  void createTensors(std::vector<Step>& steps);
  void addNodes(std::vector<Step>& steps);

  uint32_t nodeCount_;
  Zeb_ContextHandle_t context_ = nullptr;
  Zeb_GraphHandle_t graph_ = nullptr;
  std::vector<std::string> names_;        // node and tensor names, as a client keeps them
  std::vector<Zeb_Tensor_t> activations_;  // nodeCount_ + 1
  Zeb_Tensor_t bias_{};
  std::vector<float> biasValues_;
};

}  // namespace zeb::bench
