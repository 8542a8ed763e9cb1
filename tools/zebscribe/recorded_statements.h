// The call that ends a block, found by its first words alone, so that a block
// cut short is still known by it.
#pragma once

#include <optional>
#include <string_view>

#include "statements.h"

namespace zeb::tool {

// `VALIDATE(error, interface.{member}(...));`: the member, e.g. "graphAddNode".
std::optional<std::string_view> calledMember(const Statement& statement);

}  // namespace zeb::tool
