// The model file read as statements: one per line, except that a line break
// inside a string literal stays inside its statement.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zeb::tool {

struct Statement {
  std::string_view text;                  // without its line break
  std::size_t line = 0;                   // of its first character, from 1
  std::size_t begin = 0;                  // byte offsets in the model file
  std::size_t end = 0;                    // past its line break
  bool complete = false;                  // ended by a line break
  std::vector<std::string_view> strings;  // contents of its string literals
};

// The statements of text[from, to); the first starts on line `line`.
std::vector<Statement> scanStatements(std::string_view text, std::size_t from, std::size_t to,
                                      std::size_t line);

// The statement without its indentation, and the width of that indentation.
std::string_view code(const Statement& statement);
std::size_t indentation(const Statement& statement);

bool startsWith(std::string_view text, std::string_view prefix);

}  // namespace zeb::tool
