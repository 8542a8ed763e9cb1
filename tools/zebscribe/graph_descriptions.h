// Reading the declarations a block writes before its call: initializers,
// tensor descriptions and node parameters.
#pragma once

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "blocks.h"
#include "graph_model.h"

namespace zeb::tool {

// A block's declarations by the name they declare.
class Declarations {
 public:
  explicit Declarations(const Block& block);
  const Statement* find(std::string_view name) const;

 private:
  std::unordered_map<std::string_view, const Statement*> byName_;
};

struct Field {
  std::string_view text;  // a string literal's content, without its quotes
  bool literal = false;
};

// The top-level fields of `... = {a, "b", {c, d}};`: nested braces stay in
// their field, string literals are taken whole.
std::vector<Field> initializerFields(const Statement& statement);

struct TensorDescription {
  GraphTensor tensor;
  std::string_view id;  // `{variable}.v1.id` for a created tensor, else a number
};

// The description written under `base` (`{base}_v1` and the rest); nullopt
// when the block holds none.
std::optional<TensorDescription> readTensor(const Declarations& declarations,
                                            std::string_view base);

std::vector<GraphParam> readParams(const Declarations& declarations, std::string_view op);

}  // namespace zeb::tool
