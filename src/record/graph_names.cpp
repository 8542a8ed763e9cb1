#include "record/graph_names.h"

#include "log/logger.h"

namespace zeb::record {
namespace {

// What each character becomes in an identifier: itself for a letter, a digit
// or "_", "_" for one of the separators " /|-:;.,+", 0 when dropped. Read by
// value, not by the C library's locale-dependent classification.
struct IdentifierCharacters {
  constexpr IdentifierCharacters() : of() {
    for (int c = 0; c < 256; ++c) {
      const bool kept =
          (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
      of[c] = kept ? static_cast<char>(c) : 0;
    }
    for (const char separator : std::string_view(" /|-:;.,+"))
      of[static_cast<unsigned char>(separator)] = '_';
  }
  char of[256];
};
constexpr IdentifierCharacters kIdentifierCharacters;

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
// Composed in room for the longest result, then cut to what it took.
void appendIdentifier(TextBuffer& identifier, std::string_view text) {
  const std::size_t start = identifier.size();
  char* const begin = identifier.extend(text.size() + 1);
  char* at = begin;
  for (const char c : text) {
    const char written = kIdentifierCharacters.of[static_cast<unsigned char>(c)];
    if (written == 0) continue;
    if (at == begin && c >= '0' && c <= '9') *at++ = '_';
    *at++ = written;
  }
  identifier.cutTo(start + static_cast<std::size_t>(at - begin));
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
