#include "grammar.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <unordered_map>

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kIndentation = "   ";

// ---- lexers: each reads one hole at text[at], moving at past it ------------

// Characters by class, looked up rather than compared: identifiers and
// numbers are most of what the recogniser reads.
enum CharClass : uint8_t { kOther, kLetter, kDigit };
constexpr std::array<uint8_t, 256> kClasses = [] {
  std::array<uint8_t, 256> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = classes[c - 'a' + 'A'] = kLetter;
  classes['_'] = kLetter;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kDigit;
  return classes;
}();
uint8_t classOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }
bool isLetter(char c) { return classOf(c) == kLetter; }
bool isDigit(char c) { return classOf(c) == kDigit; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); }

bool take(std::string_view text, std::size_t& at, std::string_view expected) {
  if (text.compare(at, expected.size(), expected) != 0) return false;
  at += expected.size();
  return true;
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

// A decimal without leading zeros.
bool lexUnsigned(std::string_view text, std::size_t& at) {
  if (at >= text.size() || !isDigit(text[at])) return false;
  at = text[at] == '0' ? at + 1 : skipDigits(text, at);
  return true;
}

bool lexSigned(std::string_view text, std::size_t& at) {
  std::size_t from = at;
  take(text, from, "-");
  if (!lexUnsigned(text, from)) return false;
  at = from;
  return true;
}

// Any C identifier but the names of the program's frame, which no statement
// of a block refers to or assigns: a block could otherwise close the data file.
bool lexIdentifier(std::string_view text, std::size_t& at) {
  if (at >= text.size() || !isLetter(text[at])) return false;
  std::size_t end = at + 1;
  while (end < text.size() && classOf(text[end]) != kOther) ++end;
  const std::string_view word = text.substr(at, end - at);
  constexpr std::size_t kLongestFrameName = 12;
  const auto& frame = frameNames();
  if (word.size() <= kLongestFrameName && std::find(frame.begin(), frame.end(), word) != frame.end())
    return false;
  at = end;
  return true;
}

bool lexFloat(std::string_view text, std::size_t& at) {
  const std::size_t length = floatLength(text.substr(std::min(at, text.size())));
  at += length;
  return length > 0;
}

bool lexString(std::string_view text, std::size_t& at) {
  if (take(text, at, "NULL")) return true;
  if (at >= text.size() || text[at] != '"') return false;
  const std::size_t close = text.find('"', at + 1);
  if (close == kNone || breaksOutOfQuotes(text.substr(at + 1, close - at - 1))) return false;
  at = close + 1;
  return true;
}

bool lexOutput(std::string_view text, std::size_t& at) {
  std::size_t from = at;
  if (!take(text, from, "NULL") && !(take(text, from, "&") && lexIdentifier(text, from)))
    return false;
  at = from;
  return true;
}

bool lexSize(std::string_view text, std::size_t& at) {
  return lexUnsigned(text, at) || lexIdentifier(text, at);
}

bool lexTensorId(std::string_view text, std::size_t& at) {
  if (lexUnsigned(text, at)) return true;
  std::size_t from = at;
  if (!lexIdentifier(text, from) || !(take(text, from, ".v1.id") || take(text, from, ".v2.id")))
    return false;
  at = from;
  return true;
}

bool lexPair(std::string_view text, std::size_t& at) {
  std::size_t from = at;
  if (!(take(text, from, "{") && lexFloat(text, from) && take(text, from, ", ") &&
        lexSigned(text, from) && take(text, from, "}")))
    return false;
  at = from;
  return true;
}

// Elements joined by ", ", none at all included.
template <bool (*Element)(std::string_view, std::size_t&)>
bool lexList(std::string_view text, std::size_t& at) {
  if (!Element(text, at)) return true;
  for (std::size_t next = at; take(text, next, ", ") && Element(text, next); next = at) at = next;
  return true;
}

// Elements each followed by ", ", each starting with `first`.
template <char First, bool (*Element)(std::string_view, std::size_t&)>
bool lexTerminated(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == First) {
    if (!(Element(text, at) && take(text, at, ", "))) return false;
  }
  return true;
}

bool lexReference(std::string_view text, std::size_t& at) {
  return take(text, at, "&") && lexIdentifier(text, at);
}

using Lexer = bool (*)(std::string_view, std::size_t&);

struct HoleKind {
  std::string_view word;
  Lexer lex;
  bool namesVariables = false;  // what fills it refers to variables declared elsewhere
};

constexpr HoleKind kHoleKinds[] = {
    {"name", lexIdentifier},
    {"id", lexIdentifier, true},
    {"u", lexUnsigned},
    {"i", lexSigned},
    {"f", lexFloat},
    {"s", lexString},
    {"out", lexOutput, true},
    {"size", lexSize, true},
    {"tid", lexTensorId, true},
    {"ids", lexList<lexIdentifier>, true},
    {"us", lexList<lexUnsigned>},
    {"is", lexList<lexSigned>},
    {"fs", lexList<lexFloat>},
    {"pairs", lexList<lexPair>},
    {"refs", lexTerminated<'&', lexReference>, true},
    {"strs", lexTerminated<'"', lexString>},
};

// ---- patterns, compiled once -------------------------------------------

struct Token {
  std::string_view literal;  // a literal, when lex and backref are unset; it points
                             // into the shape's pattern, and so do the declared types
  Lexer lex = nullptr;       // a hole
  std::size_t backref = 0;   // the hole it repeats, from 1
};

struct DeclarationSite {
  std::size_t hole, line;
  std::string_view type;
  bool array;
};

struct CompiledShape {
  const Shape* shape;
  std::vector<std::vector<Token>> lines;
  std::vector<bool> namingHoles;  // by hole number, as Recognised::holes
  std::vector<DeclarationSite> declarations;
  std::string_view member;
};

[[noreturn]] void badPattern(std::string_view pattern) {
  throw std::logic_error("bad statement pattern: " + std::string(pattern));
}

// Reads a hole's word or number after '$' and adds its token.
std::size_t addHole(std::string_view line, std::size_t at, std::vector<Token>& tokens,
                    std::size_t& holes, std::vector<bool>& namingHoles) {
  if (at < line.size() && isDigit(line[at])) {
    tokens.push_back({{}, nullptr, static_cast<std::size_t>(line[at] - '0')});
    if (tokens.back().backref == 0 || tokens.back().backref > holes) badPattern(line);
    return at + 1;
  }
  std::size_t end = at;
  while (end < line.size() && line[end] >= 'a' && line[end] <= 'z') ++end;
  for (const HoleKind& kind : kHoleKinds) {
    if (kind.word != line.substr(at, end - at)) continue;
    tokens.push_back({{}, kind.lex, 0});
    namingHoles.push_back(kind.namesVariables);
    ++holes;
    return end;
  }
  badPattern(line);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A $name hole declares; its type is the literal before it.
void addDeclaration(CompiledShape& compiled, const std::vector<Token>& tokens, std::size_t hole,
                    std::size_t line, std::string_view text, std::size_t after) {
  std::string_view type = tokens.size() >= 2 ? trimmed(tokens[tokens.size() - 2].literal) : "";
  if (type.substr(0, 7) == "static ") type.remove_prefix(7);
  compiled.declarations.push_back({hole, line, type, text.substr(after, 1) == "["});
}

// The member of `VALIDATE(error, interface.{member}(`.
std::string_view memberOf(std::string_view literal) {
  constexpr std::string_view kCall = "VALIDATE(error, interface.";
  if (literal.substr(0, kCall.size()) != kCall) return {};
  literal.remove_prefix(kCall.size());
  return literal.substr(0, literal.find('('));
}

CompiledShape compile(const Shape& shape) {
  CompiledShape compiled{&shape, {}, {}, {}, {}};
  std::size_t holes = 0;
  std::string_view pattern = shape.pattern;
  for (std::size_t line = 0;; ++line) {
    const std::size_t lineEnd = std::min(pattern.find('\n'), pattern.size());
    const std::string_view text = pattern.substr(0, lineEnd);
    std::vector<Token>& tokens = compiled.lines.emplace_back();
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t dollar = std::min(text.find('$', at), text.size());
      if (dollar > at) tokens.push_back({text.substr(at, dollar - at), nullptr, 0});
      if (dollar == text.size()) break;
      const bool declares = text.substr(dollar + 1, 4) == "name";
      at = addHole(text, dollar + 1, tokens, holes, compiled.namingHoles);
      if (declares) addDeclaration(compiled, tokens, holes - 1, line, text, at);
    }
    for (const Token& token : tokens) {
      if (compiled.member.empty()) compiled.member = memberOf(token.literal);
    }
    if (lineEnd == pattern.size()) return compiled;
    pattern.remove_prefix(lineEnd + 1);
  }
}

// Shapes are looked up by the first word of a statement (its type, static,
// //), a call by its member too. Shapes that start with a hole are tried for
// every statement.
std::string_view firstWord(std::string_view code) {
  constexpr std::string_view kCall = "VALIDATE(error, interface.";
  const std::size_t from = startsWith(code, kCall) ? kCall.size() : 0;
  return code.substr(0, std::min(code.find_first_of(" (", from), code.size()));
}

struct Table {
  std::vector<CompiledShape> shapes;
  std::unordered_map<std::string_view, std::vector<const CompiledShape*>> byFirstWord;
  std::vector<const CompiledShape*> anyWord;
};

const Table& table() {
  static const Table built = [] {
    Table table;
    for (const Shape& shape : recorderShapes()) table.shapes.push_back(compile(shape));
    for (const CompiledShape& shape : table.shapes) {
      const std::vector<Token>& first = shape.lines.front();
      if (first.empty() || first.front().lex || first.front().backref) {
        table.anyWord.push_back(&shape);
      } else {
        table.byFirstWord[firstWord(first.front().literal)].push_back(&shape);
      }
    }
    return table;
  }();
  return built;
}

bool matchLine(const std::vector<Token>& tokens, const Statement& statement,
               std::vector<std::string_view>& holes) {
  const std::string_view text = statement.text;
  if (!statement.complete) return false;
  if (tokens.empty()) return text.empty();  // the empty line that ends a block
  std::size_t at = 0;
  if (!take(text, at, kIndentation)) return false;
  for (const Token& token : tokens) {
    if (token.lex) {
      const std::size_t from = at;
      if (!token.lex(text, at)) return false;
      holes.push_back(text.substr(from, at - from));
    } else if (!take(text, at, token.backref ? holes[token.backref - 1] : token.literal)) {
      return false;
    }
  }
  return at == text.size();
}

uint64_t saturatingNumber(std::string_view digits) {
  uint64_t value = 0;
  for (const char c : digits) {
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
      return std::numeric_limits<uint64_t>::max();
    value = value * 10 + digit;
  }
  return value;
}

// Holes are read into `scratch`, and kept in `out` at their number when the shape matches:
// a long recording holds millions.
bool match(const CompiledShape& shape, const std::vector<Statement>& statements, std::size_t first,
           std::vector<std::string_view>& scratch, Recognised& out) {
  if (first + shape.lines.size() > statements.size()) return false;
  scratch.clear();
  for (std::size_t line = 0; line < shape.lines.size(); ++line) {
    if (!matchLine(shape.lines[line], statements[first + line], scratch)) return false;
  }
  out.holes.assign(scratch.begin(), scratch.end());
  out.shape = shape.shape;
  out.count = shape.lines.size();
  out.member = shape.member;
  for (const DeclarationSite& site : shape.declarations) {
    out.declared.push_back(
        {out.holes[site.hole], site.type, site.array, statements[first + site.line].line});
  }
  // A data read's second hole is its array's length.
  if (const uint64_t size = shape.shape->elementBytes) {
    const uint64_t count = saturatingNumber(out.holes[1]);
    out.bytesRead = count > std::numeric_limits<uint64_t>::max() / size
                        ? std::numeric_limits<uint64_t>::max()
                        : size * count;
  }
  return true;
}

Recognised recogniseAt(const std::vector<Statement>& statements, std::size_t first,
                       std::vector<std::string_view>& scratch) {
  Recognised found;
  found.first = first;
  const Table& shapes = table();
  const std::string_view text = statements[first].text;
  const auto bucket = shapes.byFirstWord.find(
      firstWord(text.substr(std::min(kIndentation.size(), text.size()))));
  if (bucket != shapes.byFirstWord.end() && startsWith(text, kIndentation)) {
    for (const CompiledShape* shape : bucket->second) {
      if (match(*shape, statements, first, scratch, found)) return found;
    }
  }
  for (const CompiledShape* shape : shapes.anyWord) {
    if (match(*shape, statements, first, scratch, found)) return found;
  }
  return found;
}

}  // namespace

bool holeNamesVariables(const Shape& shape, std::size_t hole) {
  const std::vector<CompiledShape>& shapes = table().shapes;
  const CompiledShape& compiled = shapes[static_cast<std::size_t>(&shape - recorderShapes().data())];
  return hole < compiled.namingHoles.size() && compiled.namingHoles[hole];
}

std::vector<Recognised> recognise(const std::vector<Statement>& statements) {
  std::vector<Recognised> found;
  std::vector<std::string_view> scratch;
  for (std::size_t first = 0; first < statements.size(); first += found.back().count) {
    found.push_back(recogniseAt(statements, first, scratch));
  }
  return found;
}

const std::vector<std::string_view>& frameNames() {
  static const std::vector<std::string_view> names = {
      "argc", "argv", "error", "logLevel", "logging", "fp", "providerList", "numProviders",
      "interface", "loghandle"};
  return names;
}

bool breaksOutOfQuotes(std::string_view content) {
  if (content.find_first_of("\"\n\r") != kNone) return true;
  // Backslashes pair up from the left; an odd run at the end escapes the quote.
  for (const bool trigraphs : {false, true}) {
    std::string_view rest = content;
    std::size_t run = 0;
    for (;; ++run) {
      if (!rest.empty() && rest.back() == '\\') {
        rest.remove_suffix(1);
      } else if (trigraphs && rest.size() >= 3 && rest.substr(rest.size() - 3) == "?\?/") {
        rest.remove_suffix(3);
      } else {
        break;
      }
    }
    if (run % 2 == 1) return true;
  }
  return false;
}

std::size_t floatLength(std::string_view text) {
  // Values without a literal: infinities as divisions, a NaN by its bits (or,
  // in older recordings, as a division).
  for (const std::string_view expression : {"(1.0f/0.0f)", "(-1.0f/0.0f)", "(0.0f/0.0f)"}) {
    if (startsWith(text, expression)) return expression.size();
  }
  std::size_t at = 0;
  if (take(text, at, "(union {uint32_t u; float f;}){0x")) {
    const std::size_t digits = at;
    while (at < text.size() && at - digits < 8 && isHexDigit(text[at])) ++at;
    return at == digits + 8 && take(text, at, "}.f") ? at : 0;
  }
  // %.9g: [-]digits[.digits without a trailing zero][e±dd]
  take(text, at, "-");
  if (!lexUnsigned(text, at)) return 0;
  if (take(text, at, ".")) {
    const std::size_t fraction = at;
    at = skipDigits(text, at);
    if (at == fraction || text[at - 1] == '0') return 0;
  }
  if (take(text, at, "e")) {
    if (!take(text, at, "+") && !take(text, at, "-")) return 0;
    const std::size_t exponent = at;
    at = skipDigits(text, at);
    if (at - exponent < 2 || at - exponent > 3) return 0;
  }
  return at;
}

}  // namespace zeb::tool
