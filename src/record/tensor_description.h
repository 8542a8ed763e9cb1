// The written form of a tensor description: the declarations that rebuild a
// client's Zeb_Tensor_t in the recorded program, with its data read back
// from the data file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/records.h"

namespace zeb::record {

// The C element type in which a data type's contents are written, and the
// size of one element; nothing for a data type that carries no data.
struct ElementType {
  std::string_view cType;
  uint32_t size;
};
std::optional<ElementType> dataTypeToCType(int32_t dataType);

// Declares `Zeb_Tensor_t {baseName}` and everything it points to in the
// builder, queueing its client buffer as a blob. With ids, a tensor id that
// the context knows is written as a reference to the variable registered
// under it. Returns 0, or 1000, 6004 or 7999 (the builder is then to be
// discarded).
Zeb_ErrorHandle_t writeTensor(const Zeb_Tensor_t& tensor, std::string_view baseName,
                              StatementBuilder& builder, std::string_view fileVariable,
                              const ScribeContext* ids);

// writeTensor for each of count tensors, named prefix followed by the index,
// each followed by an empty line; names receives the variables in order,
// joined by ", ".
Zeb_ErrorHandle_t writeTensorList(const Zeb_Tensor_t* tensors, uint32_t count,
                                  std::string_view prefix, StatementBuilder& builder,
                                  const ScribeContext* ids, TextBuffer& names);

}  // namespace zeb::record
