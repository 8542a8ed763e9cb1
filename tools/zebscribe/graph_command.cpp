// `zebscribe graph`: the graphs a recording builds, as DOT, SVG or a page.
#include <fstream>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "graph_flow.h"
#include "graph_output.h"
#include "process.h"
#include "tool_error.h"

namespace zeb::tool {
namespace {

const char kNoGraphviz[] =
    "--format svg needs Graphviz's dot, which is not installed here (on Debian: apt-get "
    "install graphviz); --format dot writes the graph for any Graphviz, and --format html "
    "a page that draws it without one";

std::vector<std::size_t> chosenGraphs(const GraphModel& model, const std::string& name) {
  std::vector<std::size_t> roots = chooseGraphs(model, name);
  if (!roots.empty()) return roots;
  if (name.empty()) throw ToolError(kExitProblems, "the recording creates no graph");
  std::string known;
  for (const Graph& graph : model.graphs) known += " \"" + graph.name + "\"";
  throw ToolError(kExitProblems, "no graph named \"" + name + "\"; the recording has" +
                                     (known.empty() ? std::string(" none") : known));
}

void writeFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  out.close();
  if (!out) throw ToolError(kExitUnusable, "cannot write " + file.string());
}

// Through Graphviz: DOT in a scratch directory, SVG where it was asked for.
void writeSvg(const std::string& dot, const fs::path& file) {
  const ScratchDirectory scratch;
  if (runCommand({"dot", "-V"}, scratch.path(), scratch.path() / "version.txt") != 0)
    throw ToolError(kExitProblems, kNoGraphviz);
  writeFile(scratch.path() / "graph.dot", dot);
  const fs::path log = scratch.path() / "dot.log";
  if (runCommand({"dot", "-Tsvg", "graph.dot", "-o", fs::absolute(file).string()}, scratch.path(),
                 log) != 0) {
    std::ifstream in(log);
    throw ToolError(kExitProblems, "dot could not draw the graph: " +
                                       std::string(std::istreambuf_iterator<char>(in), {}));
  }
}

}  // namespace

int runGraph(const Options& options) {
  const std::string format = options.format.empty() ? "dot" : options.format;
  if (format != "dot" && format != "svg" && format != "html")
    throw ToolError(kExitUnusable, "unknown format: " + format + " (dot, svg or html)");
  const Recording recording = loadRecording(options.location);
  const GraphModel model = readGraphModel(recording);
  const std::vector<std::size_t> roots = chosenGraphs(model, options.graphName);
  std::ostringstream text;
  if (format == "html") {
    writeHtml(model, roots, recording.model.filename().string(), text);
  } else {
    writeDot(model, roots, text);
  }
  if (format == "dot" && options.output.empty()) {
    std::cout << text.str();
    return 0;
  }
  const fs::path file = !options.output.empty()
                            ? options.output
                            : recording.model.parent_path() / ("graph." + format);
  if (format == "svg") {
    writeSvg(text.str(), file);
  } else {
    writeFile(file, text.str());
  }
  std::cout << "wrote " << file.string() << "\n";
  return 0;
}

}  // namespace zeb::tool
