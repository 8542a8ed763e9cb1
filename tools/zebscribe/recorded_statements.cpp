#include "recorded_statements.h"

namespace zeb::tool {
namespace {

constexpr std::string_view kCallStart = "VALIDATE(error, interface.";

bool isIdentifier(std::string_view text) {
  if (text.empty() || (text.front() >= '0' && text.front() <= '9')) return false;
  for (const char c : text) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!letter && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string_view> calledMember(const Statement& statement) {
  const std::string_view text = code(statement);
  if (!startsWith(text, kCallStart)) return std::nullopt;
  const std::string_view rest = text.substr(kCallStart.size());
  const std::string_view member = rest.substr(0, rest.find('('));
  if (!isIdentifier(member) || member.size() == rest.size()) return std::nullopt;
  return member;
}

}  // namespace zeb::tool
