// `zebscribe info`: the calls, objects and data of a recording.
#include <iomanip>
#include <iostream>

#include "commands.h"
#include "graph_info.h"
#include "json_writer.h"
#include "locals.h"
#include "summary.h"
#include "tool_error.h"

namespace zeb::tool {
namespace {

const char* headerText(HeaderState state) {
  switch (state) {
    case HeaderState::kWhole:
      return "whole";
    case HeaderState::kCut:
      return "cut";
    case HeaderState::kAltered:
      return "altered";
    case HeaderState::kAbsent:
      return "absent";
  }
  return "?";
}

uint64_t partialBytes(const Recording& recording) {
  const auto& partial = recording.body.partial;
  return partial.empty() ? 0 : partial.back().end - partial.front().begin;
}

void printFrame(const Recording& recording, const ProgramSize& size) {
  const Frame& frame = recording.frame;
  std::cout << "model       " << recording.model.string() << "\n"
            << "header      " << headerText(frame.header);
  if (frame.header == HeaderState::kWhole) std::cout << ", reads " << frame.dataFileName;
  std::cout << "\nfooter      " << (frame.footer ? "present" : "missing") << "\n"
            << "calls       " << recording.callCount() << " in whole blocks";
  if (!recording.body.partial.empty()) {
    std::cout << ", then a partial block of " << partialBytes(recording) << " bytes at line "
              << recording.body.partial.front().line;
  }
  std::cout << "\nprogram     " << size.statements << " statements in main; its locals take "
            << size.frameBytes << " bytes of stack (" << mebibytes(size.frameBytes) << ")"
            << "\ndata        the program reads " << recording.bytesRead << " bytes; "
            << recording.data.string();
  if (recording.dataFileBytes) {
    std::cout << " holds " << *recording.dataFileBytes << "\n";
  } else {
    std::cout << " is missing\n";
  }
}

void printTensors(const Summary& summary) {
  for (const TensorSummary& tensor : summary.tensors) {
    std::cout << "    " << std::left << std::setw(28) << tensor.variable << " \"" << tensor.name
              << "\"  " << (tensor.bytes ? std::to_string(*tensor.bytes) : "?") << " bytes";
    if (tensor.dataBytes > 0) std::cout << ", " << tensor.dataBytes << " read from the data file";
    std::cout << "\n";
  }
}

void printBinaries(const Summary& summary) {
  for (const BinarySummary& binary : summary.binaries) {
    std::cout << "    line " << std::left << std::setw(6) << binary.line << std::setw(34)
              << binary.member;
    if (binary.savedAs.empty()) {
      std::cout << binary.dataBytes << " bytes handed in\n";
    } else {
      std::cout << "saved as " << binary.savedAs << "\n";
    }
  }
}

void printSummary(const Summary& summary) {
  std::cout << "calls by member\n";
  for (const auto& [member, count] : summary.calls) {
    std::cout << "  " << std::left << std::setw(36) << member << count << "\n";
  }
  std::cout << "objects\n";
  for (const auto& [kind, names] : summary.handles) {
    std::cout << "  " << std::left << std::setw(12) << kind << names.size();
    for (const std::string& name : names) std::cout << " " << name;
    std::cout << "\n";
  }
  std::cout << "  nodes       " << summary.nodes << "\n"
            << "  executions  " << summary.executions << "\n"
            << "  tensors     " << summary.tensors.size() << "\n";
  printTensors(summary);
  std::cout << "  binaries    " << summary.binaries.size() << "\n";
  printBinaries(summary);
}

void writeFrame(const Recording& recording, const ProgramSize& size, JsonWriter& json) {
  json.field("model", recording.model.string());
  json.field("data", recording.data.string());
  json.field("header", headerText(recording.frame.header));
  json.field("dataFileName", recording.frame.dataFileName);
  json.field("footer", recording.frame.footer);
  json.field("calls", uint64_t{recording.callCount()});
  json.field("partialBlockBytes", partialBytes(recording));
  json.field("dataBytesRead", recording.bytesRead);
  json.field("dataFileBytes", recording.dataFileBytes);
  json.field("statements", uint64_t{size.statements});
  json.field("frameBytes", size.frameBytes);
}

void writeTensors(const Summary& summary, JsonWriter& json) {
  json.key("tensors");
  json.beginArray();
  for (const TensorSummary& tensor : summary.tensors) {
    json.beginObject();
    json.field("variable", tensor.variable);
    json.field("name", tensor.name);
    json.field("bytes", tensor.bytes);
    json.field("dataBytes", tensor.dataBytes);
    json.endObject();
  }
  json.endArray();
}

void writeBinaries(const Summary& summary, JsonWriter& json) {
  json.key("binaries");
  json.beginArray();
  for (const BinarySummary& binary : summary.binaries) {
    json.beginObject();
    json.field("call", binary.member);
    json.field("line", uint64_t{binary.line});
    json.field("dataBytes", binary.dataBytes);
    json.field("savedAs", binary.savedAs);
    json.endObject();
  }
  json.endArray();
}

void writeSummary(const Summary& summary, JsonWriter& json) {
  json.key("callsByMember");
  json.beginObject();
  for (const auto& [member, count] : summary.calls) json.field(member, uint64_t{count});
  json.endObject();
  json.key("objects");
  json.beginObject();
  for (const auto& [kind, names] : summary.handles) {
    json.key(kind);
    json.beginArray();
    for (const std::string& name : names) json.value(name);
    json.endArray();
  }
  json.field("nodes", uint64_t{summary.nodes});
  json.field("executions", uint64_t{summary.executions});
  writeTensors(summary, json);
  writeBinaries(summary, json);
  json.endObject();
}

// A recording info can describe but that no program can be built from.
void requireReadable(const Recording& recording) {
  auto fail = [](const std::string& message) { throw ToolError(kExitProblems, message); };
  if (recording.frame.header == HeaderState::kCut) {
    fail(recording.model.string() + " ends inside its model header");
  }
  if (!recording.dataFileBytes) fail("the data file " + recording.data.string() + " is missing");
  if (recording.dataTruncated()) {
    fail("the data file " + recording.data.string() + " is shorter than the program reads");
  }
}

}  // namespace

int runInfo(const Options& options) {
  const Recording recording = loadRecording(options.location);
  const Summary summary = summarize(recording);
  const GraphModel graphs = readGraphModel(recording);
  const ProgramSize size = measureProgram(recording);
  if (options.json) {
    JsonWriter json(std::cout);
    json.beginObject();
    writeFrame(recording, size, json);
    writeSummary(summary, json);
    writeGraphCounts(graphs, json);
    json.endObject();
    std::cout << "\n";
  } else {
    printFrame(recording, size);
    printSummary(summary);
    printGraphCounts(graphs);
  }
  requireReadable(recording);
  return 0;
}

}  // namespace zeb::tool
