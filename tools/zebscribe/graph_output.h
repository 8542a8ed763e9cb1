// The drawings of `zebscribe graph`: Graphviz's DOT language, and a page that
// lays the graphs out and draws them by itself.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "graph_model.h"

namespace zeb::tool {

// One cluster per graph in `roots`, its subgraphs nested in it.
void writeDot(const GraphModel& model, const std::vector<std::size_t>& roots, std::ostream& out);

// One self-contained HTML page that shows each graph of `roots` in turn.
void writeHtml(const GraphModel& model, const std::vector<std::size_t>& roots,
               const std::string& title, std::ostream& out);

// The lines shown for a node: its name, its op type, and its weights if any.
std::vector<std::string> nodeLines(const GraphModel& model, const GraphNode& node);
// A graph's heading lines: its name, what it holds, how often it was used.
std::vector<std::string> graphLines(const GraphModel& model, std::size_t graph);

}  // namespace zeb::tool
