// What in a recording no recorder writes: the lines the grammar does not
// know, a data file name the header cannot hold, and text after the footer.
#include "recorder/model_frame.h"
#include "recording.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kShownLength = 60;

std::string excerpt(std::string_view text) {
  std::string shown;
  for (const char c : text.substr(0, kShownLength))
    shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  return text.size() > kShownLength ? shown + "..." : shown;
}

// A client string that leaves its quotes is the likelier cause than a
// doctored line; the string warnings name it.
std::string foreignMessage(const Statement& statement) {
  for (const std::string_view content : statement.strings) {
    if (breaksOutOfQuotes(content))
      return "foreign code: a client string on this line does not stay one C string, so C "
             "may read code out of it";
  }
  return "foreign code, which no recorder writes: " + excerpt(code(statement));
}

void addForeign(const std::vector<Statement>& statements,
                const std::vector<Recognised>& recognised, std::vector<ForeignCode>& out) {
  for (const Recognised& statement : recognised) {
    if (statement.shape != nullptr) continue;
    const Statement& line = statements[statement.first];
    out.push_back({line.line, foreignMessage(line)});
  }
}

// The header holds the data file's name in a C string and in a printf format;
// the recorder takes no slashes in it, and dump copies the data file by it.
bool safeDataFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && !breaksOutOfQuotes(name) &&
         name.find_first_of("%/\\") == std::string_view::npos;
}

}  // namespace

void findForeignCode(Recording& recording) {
  const Frame& frame = recording.frame;
  std::vector<ForeignCode>& out = recording.foreign;
  if (frame.header == HeaderState::kWhole && !safeDataFileName(frame.dataFileName)) {
    out.push_back({lineAt(*recording.text, recording.text->find("fopen(\"")),
                   "foreign code: the header names its data file \"" +
                       excerpt(frame.dataFileName) +
                       "\", which its C strings cannot hold as written"});
  }
  for (const Block& block : recording.body.blocks) addForeign(block.statements, block.recognised, out);
  // Without a footer, what follows the last whole block is a cut block that
  // seal drops; before a footer it is compiled.
  const std::vector<Statement>& partial = recording.body.partial;
  if (frame.footer) addForeign(partial, recognise(partial), out);
  if (frame.textAfterFooter) {
    out.push_back({lineAt(*recording.text, frame.bodyEnd + zeb::modelFooter().size()),
                   "foreign code: text follows the footer, which ends the program"});
  }
}

}  // namespace zeb::tool
