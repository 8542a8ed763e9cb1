// zebscribe graph against what the client built, as the echo backend saw it in
// a direct run: each node (in the order added) with its name, op type and
// weights; an edge per tensor from its producer to each consumer, from the
// graph's input, to its output; each graph's finalize and execute counts.
#include <regex>

#include "replay_harness.h"

namespace zeb::e2e {
namespace {

struct Picture {
  std::vector<std::string> nodes;   // "n3 fc FullyConnected 2": id, name, op type, weights
  std::vector<std::string> edges;   // "n0 -> n1 conv1.out", "input:image -> n0 image"
  std::vector<std::string> graphs;  // "sample classifier finalized 1, executed 2"
  uint64_t weightBytes = 0;
};

std::vector<std::string> split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

std::vector<std::string> sorted(std::vector<std::string> texts) { return std::sort(texts.begin(), texts.end()), texts; }

// A quoted DOT label's lines (the recordings here hold no quote).
const char kLabel[] = R"re("((?:[^"\\]|\\.)*)")re";

Picture drawn(const std::string& dot) {
  Picture picture;
  std::map<std::string, std::string> markers;
  const std::regex node(std::string(R"(^\s+(n\d+) \[label=)") + kLabel + " tooltip=");
  const std::regex marker(std::string(R"(^\s+(\S+) \[shape=\S*house .* label=)") + kLabel + R"(\];$)");
  const std::regex edge(std::string(R"(^\s+(\S+) -> (\S+) \[label=)") + kLabel + R"(\];$)");
  const std::regex cluster(std::string(R"(^\s+label=)") + kLabel + ";$");
  std::vector<std::array<std::string, 3>> edges;
  std::smatch m;
  for (const std::string& line : readLines(std::istringstream(dot))) {
    if (std::regex_search(line, m, node)) {
      const auto lines = split(m[2], "\\n");
      picture.nodes.push_back(m[1].str() + " " + lines[0] + " " + lines[1] + " " + (lines.size() > 2 ? split(lines[2], " ")[0] : "0"));
    } else if (std::regex_search(line, m, marker)) {
      markers[m[1]] = split(m[2], "\\n")[0] + ":" + split(m[2], "\\n")[1];
    } else if (std::regex_search(line, m, edge)) {
      edges.push_back({m[1], m[2], split(m[3], "\\n")[0]});
    } else if (std::regex_search(line, m, cluster)) {
      const auto lines = split(std::regex_replace(m[1].str(), std::regex("^subgraph "), ""), "\\n");
      picture.graphs.push_back(lines[0] + " " + std::regex_replace(lines[2], std::regex("^retrieved, "), ""));
    }
  }
  for (const auto& [from, to, tensor] : edges)
    picture.edges.push_back((markers.count(from) ? markers[from] : from) + " -> " + (markers.count(to) ? markers[to] : to) + " " + tensor);
  return picture;
}

std::string field(const std::string& line, const std::string& name) {
  std::smatch m;
  return std::regex_search(line, m, std::regex(name + R"(=(NULL|"[^"]*"|[^ ,}]+))")) ? m[1].str() : "";
}
std::string unquoted(const std::string& text) { return text == "NULL" ? "*" : text.substr(1, text.size() - 2); }

struct Uses { std::string name; bool read = false; std::vector<std::string> producers, consumers; };

// The same picture from the direct run's calls; "*" where the client gave no name.
Picture built(const std::vector<std::string>& calls) {
  Picture picture;
  std::map<std::string, std::string> names;  // graph#1 -> its name, in order of creation
  std::vector<std::string> graphs;
  std::map<std::string, std::pair<int, int>> counts;
  std::map<std::string, Uses> tensors;
  std::vector<std::string> order;
  const std::regex tensor(R"(\{version=\d+,id=([^,]+),name=(NULL|"[^"]*"),type=(\d+))");
  for (const std::string& line : calls) {
    const std::string member = line.substr(0, line.find(' '));
    if (member.rfind("graphCreate", 0) == 0 || member == "graphRetrieve") {
      const std::string graph = line.substr(line.rfind("-> ") + 3);
      if (names.emplace(graph, unquoted(field(line, "name"))).second) graphs.push_back(graph);
    } else if (member == "graphFinalize" || member == "graphExecute") {
      (member == "graphFinalize" ? counts[field(line, "graph")].first : counts[field(line, "graph")].second)++;
    } else if (member == "tensorCreateGraphTensor" && field(line, "type") == "4" && field(line, "buf") != "buf(NULL)") {
      picture.weightBytes += std::stoull(field(line, "buf").substr(4));
    } else if (member == "graphAddNode") {
      const std::string node = "n" + std::to_string(picture.nodes.size());
      const std::size_t inputs = line.find(",inputs="), outputs = line.find(",outputs=");
      int weights = 0;
      for (auto [from, to, produced] : {std::tuple(inputs, outputs, false), std::tuple(outputs, line.size(), true)}) {
        const std::string list = line.substr(from, to - from);
        for (auto it = std::sregex_iterator(list.begin(), list.end(), tensor); it != std::sregex_iterator(); ++it) {
          const std::string key = (*it)[1].str().rfind("tensor#", 0) == 0 ? (*it)[1].str() : (*it)[1].str() + (*it)[2].str();
          weights += !produced && (*it)[3] == "4";
          if ((*it)[3] == "4") continue;
          if (!tensors.count(key)) order.push_back(key);
          Uses& uses = tensors[key];
          uses.name = unquoted((*it)[2]);
          uses.read = (*it)[3] == "1" || (*it)[3] == "2";
          (produced ? uses.producers : uses.consumers).push_back(node);
        }
      }
      const std::string type = unquoted(field(line, "type"));
      picture.nodes.push_back(node + " " + unquoted(field(line, "name")) + " " + (type == "*" ? "(no op type)" : type) + " " + std::to_string(weights));
    }
  }
  for (const std::string& key : order) {
    const Uses& uses = tensors[key];
    for (const std::string& consumer : uses.consumers) {
      if (uses.producers.empty()) picture.edges.push_back("input:" + uses.name + " -> " + consumer + " " + uses.name);
      for (const std::string& producer : uses.producers) picture.edges.push_back(producer + " -> " + consumer + " " + uses.name);
    }
    if (!uses.producers.empty() && (uses.consumers.empty() || uses.read))
      for (const std::string& producer : uses.producers) picture.edges.push_back(producer + " -> output:" + uses.name + " " + uses.name);
  }
  for (const std::string& graph : graphs)
    picture.graphs.push_back(names[graph] + " finalized " + std::to_string(counts[graph].first) + ", executed " + std::to_string(counts[graph].second));
  return picture;
}

CommandResult zebscribe(const fs::path& dir, const std::vector<std::string>& args) { return runIn(dir, run(ZEB_TOOL, args)); }

class Drawings : public testing::TestWithParam<const char*> {};

TEST_P(Drawings, ShowWhatTheClientBuilt) {
  const ScratchDir scratch;
  const fs::path direct = sub(scratch, "direct"), through = sub(scratch, "through");
  const std::string scenario = GetParam();
  auto runClient = [&](const fs::path& dir, const std::string& library) {
    return scenario == "sample" ? runIn(dir, run(ZEB_SAMPLE_CLIENT, {library})) : runScenarioIn(dir, library, scenario);
  };
  ASSERT_EQ(runClient(direct, tool("ECHO_LIB")).exitCode, 0);
  ASSERT_EQ(runClient(through, tool("SCRIBE_LIB")).exitCode, 0);
  const Picture expected = built(readLines(direct / kEchoLogName));
  const CommandResult dot = zebscribe(through, {"graph", "scribe_output"});
  ASSERT_EQ(dot.exitCode, 0) << dot.output;
  Picture actual = drawn(dot.output);
  ASSERT_EQ(actual.nodes.size(), expected.nodes.size()) << dot.output;
  for (std::size_t i = 0; i < actual.nodes.size(); ++i)  // a node without a name is shown by its variable
    if (split(expected.nodes[i], " ")[1] == "*") actual.nodes[i] = std::regex_replace(actual.nodes[i], std::regex("^(\\S+) \\S+"), "$1 *");
  EXPECT_EQ(actual.nodes, expected.nodes);
  EXPECT_EQ(sorted(actual.edges), sorted(expected.edges)) << dot.output;
  EXPECT_EQ(sorted(actual.graphs), sorted(expected.graphs));
  const std::string info = zebscribe(through, {"info", "scribe_output", "--json"}).output;
  uint64_t weightBytes = 0;
  const std::regex weights("\"weightBytes\":([0-9]+)");
  for (auto it = std::sregex_iterator(info.begin(), info.end(), weights); it != std::sregex_iterator(); ++it)
    weightBytes += std::stoull((*it)[1]);
  EXPECT_EQ(weightBytes, expected.weightBytes) << info;
}

INSTANTIATE_TEST_SUITE_P(Recordings, Drawings, testing::Values("sample", "graphs", "network:40", "tensor-flow"),
                         [](const auto& info) { return std::regex_replace(info.param, std::regex("[^a-z0-9]"), "_"); });

// SVG through Graphviz where it is installed, else a refusal that says how to get it.
TEST(GraphCommand, RefusesWhatItCannotDraw) {
  const ScratchDir scratch;
  const fs::path dir = sub(scratch, "recording");
  ASSERT_EQ(runIn(dir, run(ZEB_SAMPLE_CLIENT, {tool("SCRIBE_LIB")})).exitCode, 0);
  const bool graphviz = std::system("dot -V > /dev/null 2>&1") == 0;
  const CommandResult svg = zebscribe(dir, {"graph", "scribe_output", "--format", "svg", "-o", "g.svg"});
  EXPECT_EQ(svg.exitCode, graphviz ? 0 : 1) << svg.output;
  EXPECT_NE((graphviz ? readFile(dir / "g.svg") : svg.output).find(graphviz ? "</svg>" : "apt-get install graphviz"), std::string::npos);
  const CommandResult unknown = zebscribe(dir, {"graph", "scribe_output", "--graph", "resnet"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.output.find("no graph named \"resnet\"; the recording has \"sample classifier\""), std::string::npos);
  EXPECT_EQ(zebscribe(dir, {"graph", "scribe_output", "--format", "png"}).exitCode, 2);
  EXPECT_EQ(zebscribe(dir, {"graph", "scribe_output", "--graph", "sample classifier", "--format", "html"}).exitCode, 0);
  EXPECT_NE(readFile(dir / "scribe_output" / "graph.html").find("\"sample classifier\""), std::string::npos);
}

}  // namespace
}  // namespace zeb::e2e
