// Client strings are written between double quotes exactly as received; a few
// characters make the C text say something else than the client passed.
#include <string>

#include "findings.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kShownLength = 40;

struct Hazard {
  std::string_view text;
  const char* consequence;
};

constexpr const char* kTrigraph =
    ", a trigraph, which C in strict ISO mode reads as another character: zebscribe builds "
    "with trigraphs off, where it replays as written";

constexpr Hazard kHazards[] = {
    {"\\", "a backslash, which C reads as the start of an escape: the replay passes other text"},
    {"\"",
     "a double quote, which ends the C string early: C reads what follows as code, so the "
     "line counts as foreign code"},
    {"\n", "a line break, which a C string cannot hold: the program will not compile as written"},
    {"\r",
     "a carriage return, which C reads as a line break: the program will not compile as "
     "written"},
    {"?\?=", kTrigraph}, {"?\?/", kTrigraph}, {"?\?'", kTrigraph}, {"?\?(", kTrigraph},
    {"?\?)", kTrigraph}, {"?\?!", kTrigraph}, {"?\?<", kTrigraph}, {"?\?>", kTrigraph},
    {"?\?-", kTrigraph},
};

// The string as a C programmer would spell it, shortened.
std::string shown(std::string_view text) {
  std::string out;
  for (const char c : text.substr(0, kShownLength)) {
    out += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  }
  return "\"" + out + (text.size() > kShownLength ? "...\"" : "\"");
}

std::string describe(const Hazard& hazard) {
  if (hazard.consequence != kTrigraph) return hazard.consequence;
  return std::string(hazard.text) + kTrigraph;
}

// The recorder's own statements that hold escapes on purpose.
bool writtenByRecorder(const Statement& statement) {
  return startsWith(code(statement), "printf(");
}

void warnAbout(const Statement& statement, std::vector<Finding>& out) {
  if (writtenByRecorder(statement)) return;
  for (const std::string_view text : statement.strings) {
    for (const Hazard& hazard : kHazards) {
      if (text.find(hazard.text) == std::string_view::npos) continue;
      out.push_back(
          {true, statement.line, "the string " + shown(text) + " holds " + describe(hazard)});
    }
  }
}

}  // namespace

void examineStrings(const Recording& recording, std::vector<Finding>& out) {
  for (const Block& block : recording.body.blocks) {
    for (const Statement& statement : block.statements) warnAbout(statement, out);
  }
}

}  // namespace zeb::tool
