#include "recorder/name_grammar.h"

namespace zeb::names {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<Numbered> splitNumber(std::string_view name) {
  std::size_t digits = 0;
  while (digits < name.size() && isDigit(name[name.size() - 1 - digits])) ++digits;
  const std::size_t underscore = name.size() - digits - 1;
  if (digits == 0 || digits > 10 || digits == name.size() || name[underscore] != '_')
    return std::nullopt;
  if (digits > 1 && name[underscore + 1] == '0') return std::nullopt;
  uint64_t number = 0;
  for (std::size_t at = underscore + 1; at < name.size(); ++at)
    number = number * 10 + uint64_t(name[at] - '0');
  if (number > UINT32_MAX) return std::nullopt;
  return Numbered{name.substr(0, underscore), static_cast<uint32_t>(number)};
}

std::optional<std::string_view> withoutSuffix(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix)
    return std::nullopt;
  return name.substr(0, name.size() - suffix.size());
}

// Read from the prefix's last character on.
Reach reachOf(std::string_view prefix) {
  using Kind = Reach::Kind;
  if (prefix.empty()) return {};
  const char last = prefix.back();
  if (last == 'r') {
    if (const auto graph = withoutSuffix(prefix, "_tensor")) return {Kind::graphTensor, *graph};
  } else if (last == 's') {
    for (const std::string_view array : {"_inputTensors", "_outputTensors"})
      if (const auto graph = withoutSuffix(prefix, array)) return {Kind::executionArray, *graph};
  } else if (isDigit(last)) {
    const auto execution = splitNumber(prefix);
    for (const std::string_view tensors : {"_inputTensor", "_outputTensor"}) {
      const auto graph = execution ? withoutSuffix(execution->prefix, tensors) : std::nullopt;
      if (graph) return {Kind::executionTensor, *graph, execution->number};
    }
  } else {
    for (const auto& [word, part] : detail::kElements) {
      const auto op = withoutSuffix(prefix, word);
      if (op && splitNumber(*op)) return {Kind::element, *op, 0, part};
    }
  }
  return {};
}

bool numbersInRecordNames(std::string_view prefix) {
  for (const std::string_view kind : {"context_", "device_", "profile_", "backend_"}) {
    if (prefix.substr(0, kind.size()) != kind) continue;
    std::size_t at = kind.size();
    while (at < prefix.size() && isDigit(prefix[at])) ++at;
    if (at > kind.size() && (at == prefix.size() || prefix[at] == '_')) return true;
  }
  return false;
}

}  // namespace zeb::names
