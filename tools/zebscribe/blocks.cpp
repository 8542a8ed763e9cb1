#include "blocks.h"

#include <utility>

#include "recorded_statements.h"

namespace zeb::tool {

Body splitBody(std::vector<Statement> statements) {
  Body body;
  Block current;
  bool hasCall = false;
  for (Statement& statement : statements) {
    const bool endsBlock = hasCall && statement.complete && statement.text.empty();
    if (!hasCall && calledMember(statement)) {
      hasCall = true;
      current.call = current.statements.size();
    }
    current.statements.push_back(std::move(statement));
    if (!endsBlock) continue;
    body.blocks.push_back(std::move(current));
    current = Block{};
    hasCall = false;
  }
  body.partial = std::move(current.statements);
  return body;
}

}  // namespace zeb::tool
