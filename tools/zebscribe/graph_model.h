// The graphs a recording builds, read back from its blocks: their nodes, the
// tensors that flow between them, and how often each was finalized and run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording.h"

namespace zeb::tool {

inline constexpr uint32_t kStaticTensorType = 4;  // ZEB_TENSOR_TYPE_STATIC

struct GraphTensor {
  std::string variable;  // the created tensor's; else that of its first description
  std::string name;      // the client's; empty when it gave none
  uint32_t type = 0;     // Zeb_TensorType_t
  uint32_t dataType = 0;
  std::optional<std::vector<uint64_t>> dimensions;  // none when written NULL
  std::string quantization;                         // "scale 0.5, offset 0"; empty when undefined
  std::optional<uint64_t> bytes;  // its data as handed in, else dimensions x element size
};

struct GraphParam {
  std::string name;   // empty when the client gave none
  std::string value;  // "1 (float32)", "tensor 2 uint32, 8 bytes"
};

struct GraphNode {
  std::string variable;             // the op configuration's
  std::string name, package, type;  // the client's; empty when NULL
  std::size_t graph = 0;
  std::size_t line = 0;  // of the graphAddNode call
  std::vector<GraphParam> params;
  std::vector<std::size_t> inputs, outputs;  // into GraphModel::tensors

  // The client's name, else the variable.
  const std::string& title() const { return name.empty() ? variable : name; }
};

struct Graph {
  std::string variable;
  std::string name;                   // the client's
  std::optional<std::size_t> parent;  // a subgraph's
  bool retrieved = false;             // known only from graphRetrieve
  std::size_t finalizes = 0, executions = 0;
  std::vector<std::size_t> nodes;    // in the order they were added
  std::vector<std::size_t> tensors;  // created in it
};

struct GraphModel {
  std::vector<Graph> graphs;  // in the order the recording makes them
  std::vector<GraphNode> nodes;
  std::vector<GraphTensor> tensors;
};

GraphModel readGraphModel(const Recording& recording);

// "1x8x8x4", "scalar" for rank 0, "?" when unknown.
std::string dimensionsText(const GraphTensor& tensor);
// "float32", "ufixed8"; "type N" for a value the API does not name.
std::string dataTypeName(uint32_t dataType);
// "1x8x8x4 float32", with the quantization after a comma when there is one.
std::string tensorSummary(const GraphTensor& tensor);

}  // namespace zeb::tool
