#include "findings.h"

#include <algorithm>
#include <unordered_map>

#include "c_text.h"
#include "locals.h"
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
  if (frame.footerCut) {
    problem(out, frame.footerLine,
            "the footer is cut short: the recorded application died while writing it; "
            "`zebscribe seal` finishes the program");
  } else if (!frame.footer) {
    problem(out, 0,
            "no footer: the recorded application did not unload the library; "
            "`zebscribe seal` finishes the program");
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

// A file that a switch of files began holds no declaration of the objects made
// before it, and a program naming them does not compile.
void examineUndeclared(const Recording& recording,
                       const std::unordered_map<std::string_view, std::size_t>& declared,
                       Findings& out) {
  // A file that continues an earlier one, or a foreign line, may declare what is named.
  if (recording.frame.header == HeaderState::kAbsent || !recording.foreign.empty()) return;
  for (const Block& block : recording.body.blocks) {
    for (const Recognised& statement : block.recognised) {
      if (statement.shape == nullptr) continue;
      const std::size_t line = block.statements[statement.first].line;
      for (std::size_t hole = 0; hole < statement.holes.size(); ++hole) {
        if (!holeNamesVariables(*statement.shape, hole)) continue;
        forEachName(statement.holes[hole], [&](std::string_view name, std::size_t) {
          if (name == "NULL" || declared.count(name) != 0) return;
          problem(out, line,
                  std::string(name) + " is declared nowhere in this file (made before a switch "
                                      "to new files?): the program does not compile");
        });
      }
    }
  }
}

// C knows a variable from its declaration on, and once only.
void examineNames(const Recording& recording, Findings& out) {
  std::unordered_map<std::string_view, std::size_t> firstLine;
  for (const Block& block : recording.body.blocks) {
    for (const Recognised& statement : block.recognised) {
      for (const Declared& declared : statement.declared) {
        const auto [first, fresh] = firstLine.emplace(declared.name, declared.line);
        if (fresh) continue;
        problem(out, declared.line,
                std::string(declared.name) + " is declared again (first at line " +
                    std::to_string(first->second) + ")");
      }
    }
  }
  examineUndeclared(recording, firstLine, out);
  for (const Block& block : recording.body.blocks) {
    for (const Statement& statement : block.statements) {
      forEachName(statement.text, [&](std::string_view name, std::size_t) {
        const auto declared = firstLine.find(name);
        if (declared == firstLine.end() || declared->second <= statement.line) return;
        problem(out, statement.line,
                std::string(name) + " is named before its declaration at line " +
                    std::to_string(declared->second));
      });
    }
  }
}

void examineForeignCode(const Recording& recording, Findings& out) {
  for (const ForeignCode& foreign : recording.foreign) problem(out, foreign.line, foreign.message);
}

// Compiled as it stands, a program whose locals outgrow the stack stops at
// its first instruction.
void examineStack(const Recording& recording, Findings& out) {
  const uint64_t frame = measureProgram(recording).frameBytes;
  if (frame <= kWindowsDefaultStack) return;
  const std::string than =
      frame > kLinuxDefaultStack
          ? "the 8 MiB a program gets by default on Linux (2 MiB on Windows), so compiled as it "
            "stands"
          : "the 2 MiB a Windows program gets by default (8 MiB on Linux), so compiled as it "
            "stands for Windows";
  out.push_back({true, 0,
                 "main's locals take about " + mebibytes(frame) + " of stack: more than " + than +
                     " it stops at its start; `zebscribe build` builds it to run within the "
                     "default stack"});
}

}  // namespace

std::vector<Finding> examine(const Recording& recording) {
  Findings found;
  examineFrame(recording, found);
  examinePartialBlock(recording, found);
  examineDataSize(recording, found);
  examineNames(recording, found);
  examineForeignCode(recording, found);
  examineStrings(recording, found);
  examineStack(recording, found);
  std::stable_sort(found.begin(), found.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return found;
}

}  // namespace zeb::tool
