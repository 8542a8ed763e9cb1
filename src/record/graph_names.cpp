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
  TextBuffer identifier;
  appendIdentifier(identifier, text);
  return std::string(identifier.view());
}

// A leading digit, which cannot begin a C identifier, gets a "_" before it.
void appendIdentifier(TextBuffer& identifier, std::string_view text) {
  bool first = true;
  for (char c : text) {
    const bool kept = isIdentifierCharacter(c);
    if (!kept && !isSeparator(c)) continue;
    if (first && c >= '0' && c <= '9') identifier += '_';
    first = false;
    identifier += kept ? c : '_';
  }
}

NewGraph createGraph(ScribeContext& context, const char* graphName) {
  if (context.hasGraphVariable(graphVariableName(context, graphName))) {
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
