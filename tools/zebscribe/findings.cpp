#include "findings.h"

#include <algorithm>
#include <map>

#include "recorded_statements.h"

namespace zeb::tool {
namespace {

using Findings = std::vector<Finding>;

void problem(Findings& out, std::size_t line, std::string message) {
  out.push_back({false, line, std::move(message)});
}

void examineFrame(const Recording& recording, Findings& out) {
  const Frame& frame = recording.frame;
  if (frame.header == HeaderState::kCut) {
    problem(out, frame.differingLine,
            "the file ends inside the model header: no call was recorded");
    return;
  }
  if (frame.header == HeaderState::kAbsent) {
    problem(out, 0,
            "no model header: the calls are not a program of their own (a run that "
            "continued an earlier file?)");
  }
  if (!frame.footer) {
    problem(out, 0,
            "no footer: the recorded application did not unload the library; "
            "`zebscribe seal` finishes the program");
  } else if (frame.textAfterFooter) {
    problem(out, frame.footerLine, "text follows the footer that starts here");
  }
}

void examinePartialBlock(const Recording& recording, Findings& out) {
  const std::vector<Statement>& partial = recording.body.partial;
  if (partial.empty()) return;
  const std::size_t bytes = partial.back().end - partial.front().begin;
  std::string what = std::to_string(bytes) + " bytes of a block cut short before its call";
  for (const Statement& statement : partial) {
    if (const auto member = calledMember(statement)) {
      what = "the block of " + std::string(*member) + " is cut short (" + std::to_string(bytes) +
             " bytes)";
    }
  }
  problem(out, partial.front().line, what + "; `zebscribe seal` drops it");
}

// Each fread is the recorder's: it fills the static array declared just
// before it, from the data file.
void examineReadShape(const Statement& previous, const Statement& statement, Findings& out) {
  const auto read = dataRead(statement);
  if (!read) return problem(out, statement.line, "an fread not in the recorder's form");
  if (read->file != "fp") {
    return problem(out, statement.line,
                   "an fread from " + std::string(read->file) + ", not from the data file");
  }
  const auto array = staticArray(previous);
  if (!array || array->name != read->name || array->count != read->elementCount) {
    problem(out, statement.line, "this fread does not fill the static array declared before it");
  }
}

void examineReadShapes(const Recording& recording, Findings& out) {
  for (const Block& block : recording.body.blocks) {
    for (std::size_t i = 0; i < block.statements.size(); ++i) {
      if (!isDataRead(block.statements[i])) continue;
      examineReadShape(block.statements[i == 0 ? 0 : i - 1], block.statements[i], out);
    }
  }
}

void examineDataSize(const Recording& recording, Findings& out) {
  if (recording.frame.header == HeaderState::kCut) return;
  const std::string data = recording.data.string();
  if (!recording.dataFileBytes) return problem(out, 0, "the data file " + data + " is missing");
  const uint64_t size = *recording.dataFileBytes;
  for (const Read& read : recording.reads) {
    if (saturatingAdd(read.offset, read.bytes) <= size) continue;
    return problem(out, read.line,
                   "this fread needs bytes " + std::to_string(read.offset) + " to " +
                       std::to_string(saturatingAdd(read.offset, read.bytes)) + " of " + data +
                       ", which holds " + std::to_string(size) + ": the data file is truncated");
  }
  if (size > recording.bytesRead) {
    problem(out, 0,
            data + " holds " + std::to_string(size) + " bytes but the program reads " +
                std::to_string(recording.bytesRead) + ": " +
                std::to_string(size - recording.bytesRead) + " bytes belong to no call");
  }
}

void examineNames(const Recording& recording, Findings& out) {
  std::map<std::string_view, std::size_t> firstLine;
  auto declare = [&](const Statement& statement) {
    const auto declared = declaration(statement);
    if (!declared) return;
    const auto [first, fresh] = firstLine.emplace(declared->name, statement.line);
    if (fresh) return;
    problem(out, statement.line,
            std::string(declared->name) + " is declared again (first at line " +
                std::to_string(first->second) + ")");
  };
  for (const Statement& statement : recording.header) declare(statement);
  for (const Block& block : recording.body.blocks) {
    for (const Statement& statement : block.statements) declare(statement);
  }
}

}  // namespace

std::vector<Finding> examine(const Recording& recording) {
  Findings found;
  examineFrame(recording, found);
  examinePartialBlock(recording, found);
  examineReadShapes(recording, found);
  examineDataSize(recording, found);
  examineNames(recording, found);
  examineStrings(recording, found);
  std::stable_sort(found.begin(), found.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return found;
}

}  // namespace zeb::tool
