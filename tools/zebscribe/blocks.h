// The body of the written program cut into the blocks of the recorded calls.
#pragma once

#include <cstddef>
#include <vector>

#include "grammar.h"
#include "statements.h"

namespace zeb::tool {

struct Block {
  std::vector<Statement> statements;  // the last one is the empty line that ends it
  std::size_t call = 0;               // index of the statement that makes the call
  std::vector<Recognised> recognised;  // its statements as the recorder's shapes

  const Statement& callStatement() const { return statements[call]; }
  std::size_t begin() const { return statements.front().begin; }
  std::size_t end() const { return statements.back().end; }
};

struct Body {
  std::vector<Block> blocks;       // the whole blocks, in order
  std::vector<Statement> partial;  // what follows the last whole block
};

// A block is whole once an empty line follows a paragraph that makes a call:
// empty lines inside a block only ever separate declarations before its call.
Body splitBody(std::vector<Statement> statements);

}  // namespace zeb::tool
