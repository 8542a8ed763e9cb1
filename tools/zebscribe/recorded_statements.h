// The shapes of the statements that the recorder writes, read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "statements.h"

namespace zeb::tool {

// `VALIDATE(error, interface.{member}(...));`: the member, e.g. "graphAddNode".
std::optional<std::string_view> calledMember(const Statement& statement);

// The last argument of the call, e.g. "&context_0_tensor_1".
std::string_view lastArgument(const Statement& statement);

// `{type} {name} ...;` at the level of main's body.
struct Declaration {
  std::string_view type;
  std::string_view name;
};
std::optional<Declaration> declaration(const Statement& statement);

// `fread({name}, {elementSize}, {elementCount}, {file});`
struct DataRead {
  std::string_view name;
  std::string_view file;
  uint64_t elementSize = 0;
  uint64_t elementCount = 0;
};
bool isDataRead(const Statement& statement);
std::optional<DataRead> dataRead(const Statement& statement);

// `static {type} {name}[{count}];`
struct StaticArray {
  std::string_view name;
  uint64_t count = 0;
};
std::optional<StaticArray> staticArray(const Statement& statement);

bool isIdentifier(std::string_view text);
std::optional<uint64_t> toNumber(std::string_view text);

}  // namespace zeb::tool
