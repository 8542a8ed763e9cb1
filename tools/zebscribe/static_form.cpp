#include "static_form.h"

#include <cstddef>

#include "ZebInterface.h"
#include "c_text.h"

namespace zeb::tool {
namespace {

// The members a positional element names, where the run gives its value: a
// tensor's id, which another tensor's creation assigned.
struct PositionalMember {
  std::string_view type;
  std::size_t position;
  std::string_view member;
};
constexpr PositionalMember kRunMembers[] = {
    {"Zeb_TensorV1_t", 0, ".id"},
    {"Zeb_TensorV2_t", 0, ".id"},
};
static_assert(offsetof(Zeb_TensorV1_t, id) == 0 && offsetof(Zeb_TensorV2_t, id) == 0,
              "a tensor's id is its first member");

std::string positionalMember(std::string_view type, std::size_t position) {
  for (const PositionalMember& known : kRunMembers) {
    if (known.type == type && known.position == position) return std::string(known.member);
  }
  return "";
}

bool isName(std::string_view text) {
  if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
  for (const char c : text) {
    if (!isNameCharacter(c)) return false;
  }
  return true;
}

// `.v1 = x`: ".v1" and "x"; no designator for a positional element.
std::pair<std::string_view, std::string_view> designated(std::string_view element) {
  if (element.empty() || element[0] != '.') return {{}, element};
  const std::size_t equals = element.find('=');
  std::string_view designator = element.substr(0, equals), value = element.substr(equals + 1);
  while (!designator.empty() && designator.back() == ' ') designator.remove_suffix(1);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  return {designator, value};
}

enum class Kind { kConstant, kValueOfVariable, kRun };

// A value that names variables only for their addresses, which static
// storage fixes, is a constant; a variable's value may stand for it.
Kind kindOf(std::string_view value, const Lookup& lookup, const NamedVariable*& variable) {
  if (isName(value)) {
    variable = lookup(value);
    if (variable == nullptr || variable->array) return Kind::kConstant;
    return variable->value ? Kind::kValueOfVariable : Kind::kRun;
  }
  Kind kind = Kind::kConstant;
  forEachName(value, [&](std::string_view name, std::size_t at) {
    const NamedVariable* named = lookup(name);
    if (named == nullptr || previousNonSpace(value, at) == '&') return;
    const char after = nextNonSpace(value, at + name.size());
    if (!(named->array && after != '[' && after != '.')) kind = Kind::kRun;
  });
  return kind;
}

}  // namespace

StaticForm staticForm(std::string_view initializer, std::string_view type, bool array,
                      const Lookup& lookup) {
  StaticForm form;
  if (initializer.empty() || initializer.front() != '{') {
    form.isStatic = initializer == "NULL";
    form.text = initializer;
    return form;
  }
  // A NaN is written as a union's member, which is no constant.
  if (initializer.find("(union ") != std::string_view::npos) return form;
  const std::vector<std::string_view> elements = splitElements(initializer);
  form.text = "{";
  bool afterDesignator = false;  // positions no longer name members
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const auto [designator, value] = designated(elements[i]);
    afterDesignator = afterDesignator || !designator.empty();
    const std::string member = !designator.empty() ? std::string(designator)
                               : array             ? "[" + std::to_string(i) + "]"
                               : afterDesignator   ? ""
                                                   : positionalMember(type, i);
    const NamedVariable* variable = nullptr;
    std::string held(value);
    switch (kindOf(value, lookup, variable)) {
      case Kind::kConstant:
        break;
      case Kind::kValueOfVariable:
        held = variable->value->text;
        form.substituted = true;
        for (const std::string& run : variable->value->runMembers) {
          if (member.empty()) return form;
          form.assignments.emplace_back(member + run, std::string(value) + run);
        }
        break;
      case Kind::kRun:
        if (member.empty()) return form;  // no name to assign it by
        // Zero until the run assigns it; a scalar at its position takes no braces.
        held = array || !designator.empty() ? "{0}" : "0";
        form.assignments.emplace_back(member, value);
        break;
    }
    form.text +=
        (i == 0 ? "" : ", ") + (designator.empty() ? "" : std::string(designator) + " = ") + held;
  }
  form.text += "}";
  if (!form.substituted && form.assignments.empty()) form.text = initializer;
  form.isStatic = true;
  return form;
}

}  // namespace zeb::tool
