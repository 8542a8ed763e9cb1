// Reading the C of recorded statements beyond their shapes: the names an
// expression uses, and the elements of a brace-enclosed initializer.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zeb::tool {

inline bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Calls visit(name, offset) for each identifier in `text` that could name a
// variable: not inside a string literal, not part of a number, not a member
// or designator after '.'.
template <typename Visit>
void forEachName(std::string_view text, Visit&& visit) {
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '"') {
      for (++at; at < text.size() && text[at] != '"'; ++at) at += text[at] == '\\';
      ++at;
    } else if (isNameCharacter(c)) {
      std::size_t end = at + 1;
      while (end < text.size() && isNameCharacter(text[end])) ++end;
      const bool member = at > 0 && text[at - 1] == '.';
      if (!member && !(c >= '0' && c <= '9')) visit(text.substr(at, end - at), at);
      at = end;
    } else {
      ++at;
    }
  }
}

// The character before `at`, or from `at` on, that is not a blank; '\0' at an end.
inline char previousNonSpace(std::string_view text, std::size_t at) {
  while (at > 0 && text[at - 1] == ' ') --at;
  return at > 0 ? text[at - 1] : '\0';
}
inline char nextNonSpace(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at < text.size() ? text[at] : '\0';
}

// The elements of `{a, {b, c}, "d, e"}`: "a", "{b, c}", "\"d, e\""; none for
// `{}`. Text that is not braced has none either.
std::vector<std::string_view> splitElements(std::string_view braced);

}  // namespace zeb::tool
