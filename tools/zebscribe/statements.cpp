#include "statements.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The recorder writes client strings unchanged, so a double quote may stand
// inside one. A quote closes the literal only where the written C goes on as
// it does after a string: a comma, a closing parenthesis or brace, a semicolon.
bool closesLiteral(std::string_view text, std::size_t after, std::size_t to) {
  while (after < to && text[after] == ' ') ++after;
  return after == to || std::string_view(",)};").find(text[after]) != kNone;
}

bool isComment(std::string_view text, std::size_t at, std::size_t to) {
  while (at < to && text[at] == ' ') ++at;
  return at + 1 < to && text[at] == '/' && text[at + 1] == '/';
}

// One statement from `begin`; `line` moves past every line break it holds.
Statement scanOne(std::string_view text, std::size_t begin, std::size_t to, std::size_t& line) {
  Statement statement;
  statement.begin = begin;
  statement.line = line;
  const bool comment = isComment(text, begin, to);
  std::size_t literal = kNone;  // where the open literal's content starts
  std::size_t at = begin;
  for (; at < to; ++at) {
    const char c = text[at];
    if (c == '\n') {
      ++line;
      if (literal == kNone) break;
    } else if (c == '"' && !comment) {
      if (literal == kNone) {
        literal = at + 1;
      } else if (closesLiteral(text, at + 1, to)) {
        statement.strings.push_back(text.substr(literal, at - literal));
        literal = kNone;
      }
    }
  }
  if (literal != kNone) statement.strings.push_back(text.substr(literal, at - literal));
  statement.complete = at < to;
  statement.text = text.substr(begin, at - begin);
  statement.end = statement.complete ? at + 1 : to;
  return statement;
}

}  // namespace

std::vector<Statement> scanStatements(std::string_view text, std::size_t from, std::size_t to,
                                      std::size_t line) {
  std::vector<Statement> statements;
  while (from < to) {
    statements.push_back(scanOne(text, from, to, line));
    from = statements.back().end;
  }
  return statements;
}

std::size_t indentation(const Statement& statement) {
  const std::size_t first = statement.text.find_first_not_of(' ');
  return first == kNone ? statement.text.size() : first;
}

std::string_view code(const Statement& statement) {
  return statement.text.substr(indentation(statement));
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace zeb::tool
