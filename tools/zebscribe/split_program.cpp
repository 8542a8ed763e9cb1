#include "split_program.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "c_text.h"
#include "locals.h"
#include "static_form.h"
#include "tool_error.h"

namespace zeb::tool {
namespace {

constexpr std::string_view kMainStart = "int main(";

// The header's declarations of what the blocks use besides their own
// variables: they become assignments, the variables move out of main.
struct FrameVariable {
  std::string_view declaration, assignment, definition;
};
constexpr FrameVariable kFrameVariables[] = {
    {"\n   Zeb_ErrorHandle_t error = 0;", "\n   error = 0;", "Zeb_ErrorHandle_t error;"},
    {"\n   FILE* fp = fopen(", "\n   fp = fopen(", "FILE* fp;"},
    {"\n   ZEB_INTERFACE_VER_TYPE interface = ", "\n   interface = ",
     "ZEB_INTERFACE_VER_TYPE interface;"},
    {"\n   Zeb_LogHandle_t loghandle= NULL;", "\n   loghandle= NULL;",
     "Zeb_LogHandle_t loghandle;"},
};

// Definitions of several units must reach each other; within the program only.
constexpr std::string_view kHidden =
    "#if defined(__ELF__)\n#pragma GCC visibility push(hidden)\n#endif\n";

struct Variable {
  std::string_view type;
  std::size_t line = 0;
  int unit = -1;        // where it is defined; -1 until the writer meets its declaration
  bool fixed = true;    // never pointed to nor assigned: it keeps the value it was declared with
  StaticValue value;    // that value in static form, when it has one
  NamedVariable named;  // what initializers see of it
};

struct Item {
  const Block* block;
  const Recognised* recognised;
};

struct Range {
  std::size_t begin, end;
};

std::string quotedPath(const fs::path& path) {
  std::string quoted = "\"";
  for (const char c : path.string()) {
    if (c == '\\' || c == '"') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

class SplitWriter {
 public:
  SplitWriter(const Recording& recording, const SplitLimits& limits)
      : recording_(recording),
        text_(*recording.text),
        path_(quotedPath(fs::absolute(recording.model).lexically_normal())) {
    tail_.statements = recording.body.partial;
    tail_.recognised = recognise(tail_.statements);
    survey();
    plan(limits);
    choosePrefix();
  }

  std::vector<fs::path> write(const fs::path& directory) {
    std::vector<fs::path> files;
    const std::size_t count = std::max<std::size_t>(units_.size(), 1);
    const std::size_t width = std::to_string(count - 1).size();
    for (std::size_t unit = 0; unit < count; ++unit) {
      std::string number = std::to_string(unit);
      number.insert(0, width - number.size(), '0');
      files.push_back(directory / ("unit_" + number + ".c"));
      std::ofstream out(files.back(), std::ios::binary);
      out << unitText(unit);
      if (!out.flush()) throw ToolError(kExitUnusable, "cannot write " + files.back().string());
    }
    return files;
  }

 private:
  [[noreturn]] void refuse(std::size_t line, const std::string& message) const {
    throw ToolError(kExitProblems, recording_.model.string() + ":" + std::to_string(line) + ": " +
                                       message + "; as written the program does not compile");
  }

  template <typename Visit>
  void forEachStatement(Visit&& visit) const {
    for (const Item& item : items_) {
      for (std::size_t i = 0; i < item.recognised->count; ++i)
        visit(item.block->statements[item.recognised->first + i]);
    }
  }

  // Every variable, once, and those whose value may change after their declaration.
  void survey() {
    for (const Block& block : recording_.body.blocks) addItems(block);
    addItems(tail_);
    for (const Item& item : items_) {
      for (const Declared& declared : item.recognised->declared) {
        Variable variable;
        variable.type = declared.type;
        variable.line = declared.line;
        variable.named.array = declared.array;
        const auto [found, fresh] = variables_.try_emplace(declared.name, std::move(variable));
        if (!fresh) {
          refuse(declared.line, std::string(declared.name) + " is declared again (first at line " +
                                    std::to_string(found->second.line) + ")");
        }
      }
    }
    forEachStatement([this](const Statement& statement) {
      const std::string_view text = code(statement);
      forEachName(text, [&](std::string_view name, std::size_t at) {
        const auto variable = variables_.find(name);
        if (variable == variables_.end()) return;
        const bool assigned = at == 0 && text.substr(name.size(), 3) == " = ";
        if (assigned || previousNonSpace(text, at) == '&') variable->second.fixed = false;
      });
    });
  }

  void addItems(const Block& block) {
    for (const Recognised& recognised : block.recognised) {
      if (recognised.shape == nullptr)
        throw std::logic_error("foreign code reached the split build");
      items_.push_back({&block, &recognised});
    }
  }

  std::size_t itemBytes(const Item& item) const {
    const auto& statements = item.block->statements;
    const std::size_t first = item.recognised->first;
    return statements[first + item.recognised->count - 1].end - statements[first].begin;
  }

  // Functions of at most partStatements lines, in units of about equal size.
  void plan(const SplitLimits& limits) {
    std::size_t total = 0;
    for (const Item& item : items_) total += itemBytes(item);
    const std::size_t unitCount =
        std::max<std::size_t>(1, (total + limits.unitBytes - 1) / limits.unitBytes);
    const std::size_t unitTarget = (total + unitCount - 1) / unitCount;
    std::size_t partBegin = 0, lines = 0, unitBegin = 0, bytes = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      lines += items_[i].recognised->count;
      bytes += itemBytes(items_[i]);
      const bool last = i + 1 == items_.size();
      if (lines < limits.partStatements && bytes < unitTarget && !last) continue;
      parts_.push_back({partBegin, i + 1});
      partBegin = i + 1;
      lines = 0;
      if (bytes < unitTarget && !last) continue;
      units_.push_back({unitBegin, parts_.size()});
      unitBegin = parts_.size();
      bytes = 0;
    }
  }

  // A prefix for the functions the writer adds that no recorded name starts with.
  void choosePrefix() {
    for (int attempt = 0;; ++attempt) {
      prefix_ = attempt == 0 ? "zebscribe_" : "zebscribe" + std::to_string(attempt) + "_";
      bool taken = false;
      for (const auto& [name, variable] : variables_) taken = taken || startsWith(name, prefix_);
      if (!taken) return;
    }
  }

  std::string partName(std::size_t part) const { return prefix_ + "part_" + std::to_string(part); }
  std::string unitName(std::size_t unit) const { return prefix_ + "unit_" + std::to_string(unit); }
  bool single() const { return units_.size() <= 1; }
  std::string_view linkage() const { return single() ? "static " : ""; }

  // ---- one unit ----------------------------------------------------------

  std::string unitText(std::size_t unit) {
    unit_ = static_cast<int>(unit);
    externs_.clear();
    noted_.clear();
    definitions_.clear();
    std::string functions;
    if (unit < units_.size()) {
      for (std::size_t part = units_[unit].begin; part < units_[unit].end; ++part)
        functions += partText(part);
      functions += unitEntry(unit);
    }
    const std::size_t mainAt = text_.find(kMainStart);
    std::string out(text_.substr(0, mainAt));
    if (!single()) out += kHidden;
    for (const FrameVariable& frame : kFrameVariables)
      out += std::string(unit == 0 ? linkage() : "extern ") + std::string(frame.definition) + "\n";
    for (const std::string_view name : externs_) {
      const Variable& variable = variables_.at(name);
      out += "extern " + std::string(variable.type) + " " + std::string(name) +
             (variable.named.array ? "[];\n" : ";\n");
    }
    out += definitions_;
    out += functions;
    if (unit == 0) out += mainText(mainAt);
    return out;
  }

  std::string partText(std::size_t part) {
    const Range range = parts_[part];
    const Item& first = items_[range.begin];
    std::string text = "static int " + partName(part) + "(void) {\n#line " +
                       std::to_string(first.block->statements[first.recognised->first].line) + " " +
                       path_ + "\n";
    for (std::size_t i = range.begin; i < range.end; ++i) addItem(items_[i], text);
    return text + "   return 0;\n}\n";
  }

  std::string unitEntry(std::size_t unit) const {
    std::string list;
    for (std::size_t part = units_[unit].begin; part < units_[unit].end; ++part)
      list += (list.empty() ? "" : ", ") + partName(part);
    return std::string(linkage()) + "int " + unitName(unit) + "(void) {\n" +
           "   static int (*const parts[])(void) = {" + list + "};\n" +
           "   for (size_t i = 0; i < sizeof parts / sizeof parts[0]; i++) {\n" +
           "      if (parts[i]() != 0) return -1;\n   }\n   return 0;\n}\n";
  }

  // The header with the frame's declarations made assignments, a call per
  // unit where the blocks stood, and the footer, each on the lines it had.
  std::string mainText(std::size_t mainAt) const {
    std::string text;
    for (std::size_t unit = 1; unit < units_.size(); ++unit)
      text += "int " + unitName(unit) + "(void);\n";
    std::string header(text_.substr(mainAt, recording_.frame.bodyBegin - mainAt));
    for (const FrameVariable& frame : kFrameVariables) {
      const std::size_t at = header.find(frame.declaration);
      if (at == std::string::npos) throw std::logic_error("the model header lacks its frame");
      header.replace(at, frame.declaration.size(), frame.assignment);
    }
    text += "#line " + std::to_string(lineAt(text_, mainAt)) + " " + path_ + "\n" + header;
    for (std::size_t unit = 0; unit < units_.size(); ++unit)
      text += "   if (" + unitName(unit) + "() != 0) return -1;\n";
    return text + "#line " + std::to_string(lineAt(text_, recording_.frame.bodyEnd)) + " " + path_ +
           "\n" + std::string(text_.substr(recording_.frame.bodyEnd));
  }

  // ---- statements --------------------------------------------------------

  void addItem(const Item& item, std::string& text) {
    const Recognised& recognised = *item.recognised;
    for (std::size_t i = 0; i < recognised.count; ++i) {
      const Statement& statement = item.block->statements[recognised.first + i];
      const Declared* declared = nullptr;
      for (const Declared& candidate : recognised.declared) {
        if (candidate.line == statement.line) declared = &candidate;
      }
      if (declared) {
        text += declaration(takeApart(statement, *declared), statement.line);
      } else {
        use(statement.text, statement.line);
        text += statement.text;
      }
      text += '\n';
    }
  }

  // Checks that each variable `text` names is declared by now, and notes
  // those of other units.
  void use(std::string_view text, std::size_t line) {
    forEachName(text, [&](std::string_view name, std::size_t) { useName(name, line); });
  }

  Variable* useName(std::string_view name, std::size_t line) {
    const auto found = variables_.find(name);
    if (found == variables_.end()) return nullptr;
    Variable& variable = found->second;
    if (variable.unit < 0) {
      refuse(line, std::string(name) + " is named before its declaration at line " +
                       std::to_string(variable.line));
    }
    if (variable.unit != unit_ && noted_.insert(found->first).second)
      externs_.push_back(found->first);
    return &variable;
  }

  // A declaration becomes a definition in static storage, initialised there
  // as far as its initializer allows; its line assigns the rest.
  std::string declaration(const Local& local, std::size_t line) {
    const std::string name(local.declared->name), type(local.declared->type);
    const bool array = local.declared->array;
    Variable& variable = variables_.at(local.declared->name);
    variable.unit = unit_;  // in scope from its own initializer on, as in C
    const std::string definition = std::string(linkage()) + type + " " + name;
    if (local.isStatic || local.initializer.empty()) {
      definitions_ += definition + (array ? "[" + std::string(local.bound) + "]" : "") + ";\n";
      return "";
    }
    use(local.initializer, line);
    const StaticForm form = staticForm(local.initializer, type, array, lookup_);
    if (!form.isStatic) return runDeclaration(local, definition);
    definitions_ += definition + (array ? "[]" : "") + " = " + form.text + ";\n";
    use(form.text, line);
    std::string assignments;
    // The initializer as written, for the compiler to check its types.
    if (form.substituted)
      assignments += " (void)sizeof((" + type + (array ? "[]" : "") + ")" +
                     std::string(local.initializer) + ");";
    for (const auto& [member, expression] : form.assignments) {
      assignments += " " + name + member + " = " + expression + ";";
      variable.value.runMembers.push_back(member);
    }
    if (variable.fixed && !array) {
      variable.value.text = form.text;
      variable.named.value = &variable.value;
    }
    return assignments.empty() ? "" : "  " + assignments;
  }

  // An initializer evaluated where it stood: a structure from a compound
  // literal, an array element by element.
  std::string runDeclaration(const Local& local, const std::string& definition) {
    const std::string name(local.declared->name), type(local.declared->type);
    if (!local.declared->array) {
      definitions_ += definition + ";\n";
      const bool braced = local.initializer.front() == '{';
      return "   " + name + " = " + (braced ? "(" + type + ")" : "") +
             std::string(local.initializer) + ";";
    }
    const std::vector<std::string_view> elements = splitElements(local.initializer);
    definitions_ += definition + "[" + std::to_string(elements.size()) + "];\n";
    std::string assignments;
    for (std::size_t i = 0; i < elements.size(); ++i) {
      const bool braced = elements[i].front() == '{';
      assignments += (i == 0 ? "   " : " ") + name + "[" + std::to_string(i) +
                     "] = " + (braced ? "(" + type + ")" : "") + std::string(elements[i]) + ";";
    }
    return assignments;
  }

  const Recording& recording_;
  const std::string_view text_;
  const std::string path_;  // the model file, as #line names it
  Block tail_;              // what follows the last whole block before the footer
  std::vector<Item> items_;
  std::vector<Range> parts_;  // of items
  std::vector<Range> units_;  // of parts
  std::unordered_map<std::string_view, Variable> variables_;
  std::string prefix_;
  // The unit being written.
  int unit_ = 0;
  std::string definitions_;
  std::vector<std::string_view> externs_;
  std::unordered_set<std::string_view> noted_;
  const Lookup lookup_ = [this](std::string_view name) -> const NamedVariable* {
    const auto found = variables_.find(name);
    return found == variables_.end() ? nullptr : &found->second.named;
  };
};

}  // namespace

std::vector<fs::path> writeSplitProgram(const Recording& recording, const fs::path& directory,
                                        const SplitLimits& limits) {
  return SplitWriter(recording, limits).write(directory);
}

}  // namespace zeb::tool
