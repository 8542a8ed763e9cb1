#include "record/graph_names.h"

#include <cstring>

#include "log/logger.h"

namespace zeb::record {
namespace {

// Compared by value, not by the C library's locale-dependent classification.
bool isIdentifierCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isSeparator(char c) { return c != '\0' && std::strchr(" /|-:;.,+", c) != nullptr; }

std::string graphVariableName(const ScribeContext& context, const char* graphName) {
  return context.name + "_" + makeIdentifier(graphName);
}

}  // namespace

std::string makeIdentifier(const std::string& text) {
  std::string identifier;
  appendIdentifier(identifier, text);
  return identifier;
}

void appendIdentifier(std::string& identifier, std::string_view text) {
  const std::size_t start = identifier.size();
  for (char c : text) {
    if (isIdentifierCharacter(c)) identifier += c;
    if (isSeparator(c)) identifier += '_';
  }
  if (identifier.size() > start && identifier[start] >= '0' && identifier[start] <= '9')
    identifier.insert(start, 1, '_');
}

NewGraph createGraph(ScribeContext& context, const char* graphName) {
  if (context.graphNames.count(graphVariableName(context, graphName)) != 0) {
    zeb::log::error("Graph with name %s already exists within the context", graphName);
    return {ZEB_GRAPH_ERROR_GRAPH_NAME_DUPLICATED, 0, nullptr};
  }
  return addGraph(context, graphName);
}

NewGraph addGraph(ScribeContext& context, const char* graphName) {
  const uint64_t handle = context.createGraph(graphVariableName(context, graphName), graphName);
  auto graph = context.findGraph(handle);
  if (!graph) {
    zeb::log::error("Could not create a new graph");
    return {ZEB_COMMON_ERROR_MEM_ALLOC, 0, nullptr};
  }
  return {0, handle, std::move(graph)};
}

}  // namespace zeb::record
