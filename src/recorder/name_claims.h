// Names that a variable named after a client's name holds before the
// recorder's own names reach them: a graph named `g_tensor_3` is the variable
// that the fourth tensor of the graph g would be, so that tensor passes on to
// the next number when it comes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zeb {

// Which variables of a name a claim holds: the name itself, or one of the
// variables named after it.
enum class ClaimedPart : uint8_t {
  whole,
  tensorPart,  // a part of a tensor description: `_dims`, `_clientBuf`, `_v1`, ...
  opPart,      // a part every op configuration declares: `_params`, `_inputs`, `_outputs`, `_v1`
  param,       // the op configuration's parameter of the claim's index, or a part of it
  input,
  output,
  array,  // the graph-name array of an enableGraphs configuration
};

struct Claim {
  ClaimedPart part;
  uint32_t index = 0;  // of a parameter, input or output
};

// What a variable about to be declared declares beside itself.
struct NameShape {
  enum class Kind : uint8_t { plain, tensor, op, configArray };
  Kind kind = Kind::plain;
  // The elements an op configuration declares.
  uint32_t params = 0, inputs = 0, outputs = 0;
};

inline constexpr NameShape kPlainName{};
inline constexpr NameShape kTensorName{NameShape::Kind::tensor};

// Whether a variable of that shape declares what the claim holds.
bool meets(Claim claim, const NameShape& shape);

class NameClaims {
 public:
  void add(std::string_view name, Claim claim);
  // Whether a claim on name holds a variable that a name of that shape declares.
  bool takes(std::string_view name, const NameShape& shape) const;

  // Graphs, by variable name (also graphs still to come), some of whose
  // tensors or executions are claimed.
  void addOwner(std::string_view graph) { owners_.emplace(graph); }
  bool ownsClaims(std::string_view graph) const { return owners_.count(std::string(graph)) != 0; }

 private:
  std::unordered_map<std::string, std::vector<Claim>> claims_;
  std::unordered_set<std::string> owners_;
};

}  // namespace zeb
