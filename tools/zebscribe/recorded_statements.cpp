#include "recorded_statements.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kBodyIndentation = 3;
constexpr std::string_view kCallStart = "VALIDATE(error, interface.";

// `text` between `prefix` and `suffix`, when it has both.
std::optional<std::string_view> between(std::string_view text, std::string_view prefix,
                                        std::string_view suffix) {
  if (text.size() < prefix.size() + suffix.size() || !startsWith(text, prefix) ||
      text.substr(text.size() - suffix.size()) != suffix) {
    return std::nullopt;
  }
  return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (std::size_t at = text.find(separator); at != kNone; at = text.find(separator)) {
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + separator.size());
  }
  parts.push_back(text);
  return parts;
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> found;
  for (std::string_view part : split(text, " ")) {
    if (!part.empty()) found.push_back(part);
  }
  return found;
}

}  // namespace

bool isIdentifier(std::string_view text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text.front()))) return false;
  for (const char c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

std::optional<uint64_t> toNumber(std::string_view text) {
  uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string_view> calledMember(const Statement& statement) {
  const std::string_view text = code(statement);
  if (!startsWith(text, kCallStart)) return std::nullopt;
  const std::string_view rest = text.substr(kCallStart.size());
  const std::string_view member = rest.substr(0, rest.find('('));
  if (!isIdentifier(member) || member.size() == rest.size()) return std::nullopt;
  return member;
}

std::string_view lastArgument(const Statement& statement) {
  std::string_view text = code(statement);
  const std::size_t close = text.rfind("));");
  text = text.substr(0, close == kNone ? text.size() : close);
  const std::size_t comma = text.rfind(", ");
  return comma == kNone ? std::string_view() : text.substr(comma + 2);
}

std::optional<Declaration> declaration(const Statement& statement) {
  const std::string_view text = code(statement);
  if (indentation(statement) != kBodyIndentation || startsWith(text, "//")) return std::nullopt;
  const std::string_view head = text.substr(0, text.find_first_of("=[;("));
  if (head.size() == text.size()) return std::nullopt;
  const std::vector<std::string_view> parts = words(head);
  if (parts.size() < 2) return std::nullopt;
  std::string_view name = parts.back();
  while (!name.empty() && name.front() == '*') name.remove_prefix(1);
  if (!isIdentifier(name) || name == "return") return std::nullopt;
  const std::size_t typeEnd = head.rfind(parts.back());
  std::string_view type = head.substr(0, typeEnd);
  while (!type.empty() && type.back() == ' ') type.remove_suffix(1);
  return Declaration{type, name};
}

bool isDataRead(const Statement& statement) { return startsWith(code(statement), "fread("); }

std::optional<DataRead> dataRead(const Statement& statement) {
  const auto inner = between(code(statement), "fread(", ");");
  if (!inner) return std::nullopt;
  const std::vector<std::string_view> parts = split(*inner, ", ");
  if (parts.size() != 4) return std::nullopt;
  const auto size = toNumber(parts[1]);
  const auto count = toNumber(parts[2]);
  if (!size || !count || !isIdentifier(parts[0]) || !isIdentifier(parts[3])) return std::nullopt;
  return DataRead{parts[0], parts[3], *size, *count};
}

std::optional<StaticArray> staticArray(const Statement& statement) {
  const auto inner = between(code(statement), "static ", "];");
  if (!inner) return std::nullopt;
  const std::size_t open = inner->rfind('[');
  const std::size_t space = inner->rfind(' ', open);
  if (open == kNone || space == kNone) return std::nullopt;
  const std::string_view name = inner->substr(space + 1, open - space - 1);
  const auto count = toNumber(inner->substr(open + 1));
  if (!count || !isIdentifier(name)) return std::nullopt;
  return StaticArray{name, *count};
}

}  // namespace zeb::tool
