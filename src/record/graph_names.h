// Names of graphs in the written program, and the graph records behind them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ZebInterface.h"
#include "recorder/records.h"

namespace zeb::record {

// A client's graph or node name as a C identifier: letters, digits and "_" are
// kept, each of " /|-:;.,+" becomes "_", anything else is dropped, and a
// leading digit gets a "_" in front.
std::string makeIdentifier(const std::string& text);
// The same, appended to identifier.
void appendIdentifier(TextBuffer& identifier, std::string_view text);

struct NewGraph {
  Zeb_ErrorHandle_t refusal = 0;
  uint64_t handle = 0;
  std::shared_ptr<ScribeGraph> graph;
};

// Takes the name `{context}_{identifier}` in the context and registers a graph
// record under it. Refused with 6003 when the context already has a graph of
// that identifier, 1002 when the record cannot be found again.
NewGraph createGraph(ScribeContext& context, const char* graphName);
// The same without the check for a name already taken.
NewGraph addGraph(ScribeContext& context, const char* graphName);

}  // namespace zeb::record
