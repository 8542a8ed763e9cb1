#include "c_text.h"

namespace zeb::tool {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string_view> splitElements(std::string_view braced) {
  std::vector<std::string_view> elements;
  if (braced.size() < 2 || braced.front() != '{' || braced.back() != '}') return elements;
  const std::string_view inner = braced.substr(1, braced.size() - 2);
  if (trimmed(inner).empty()) return elements;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t at = 0; at < inner.size(); ++at) {
    const char c = inner[at];
    if (c == '"') {
      for (++at; at < inner.size() && inner[at] != '"'; ++at) at += inner[at] == '\\';
    } else if (c == '{' || c == '(') {
      ++depth;
    } else if (c == '}' || c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      elements.push_back(trimmed(inner.substr(start, at - start)));
      start = at + 1;
    }
  }
  elements.push_back(trimmed(inner.substr(start)));
  return elements;
}

}  // namespace zeb::tool
