// Client strings are written between double quotes exactly as received; a few
// characters make the C text say something else than the client passed.
#include <string>

#include "findings.h"
#include "recorded_statements.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kShownLength = 40;

struct Hazard {
  char character;
  const char* consequence;
};

constexpr Hazard kHazards[] = {
    {'\\', "a backslash, which C reads as the start of an escape: the replay passes other text"},
    {'"',
     "a double quote, which ends the C string early: the program may not compile, or "
     "passes other text"},
    {'\n', "a line break, which a C string cannot hold: the program will not compile as written"},
};

// The string as a C programmer would spell it, shortened.
std::string shown(std::string_view text) {
  std::string out;
  for (const char c : text.substr(0, kShownLength))
    out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return "\"" + out + (text.size() > kShownLength ? "...\"" : "\"");
}

// The recorder's own statements that hold escapes on purpose.
bool writtenByRecorder(const Statement& statement) {
  return startsWith(code(statement), "printf(");
}

void warnAbout(const Statement& statement, std::vector<Finding>& out) {
  if (writtenByRecorder(statement)) return;
  for (const std::string_view text : statement.strings) {
    for (const Hazard& hazard : kHazards) {
      if (text.find(hazard.character) == std::string_view::npos) continue;
      out.push_back(
          {true, statement.line, "the string " + shown(text) + " holds " + hazard.consequence});
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
