// An initializer of main's body as one of static storage: a constant, and
// the members that only the run can give, assigned where the declaration
// stood. A compiler then turns most of a recording into data rather than code.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeb::tool {

// A variable's value as an initializer may hold it: its static initializer,
// and the members within it (".v1.id", "[2].v1.id") its declaration assigns.
struct StaticValue {
  std::string text;
  std::vector<std::string> runMembers;
};

// What an initializer's names are: the program's variables, others none.
struct NamedVariable {
  bool array = false;                  // stands for its address
  const StaticValue* value = nullptr;  // set when nothing points to it nor assigns it
};
using Lookup = std::function<const NamedVariable*(std::string_view name)>;

struct StaticForm {
  bool isStatic = false;     // else the whole initializer is evaluated where it stood
  bool substituted = false;  // variables' values stand in `text`
  std::string text;
  std::vector<std::pair<std::string, std::string>> assignments;  // member, expression
};

// The form of `{type} name[] = {initializer}` (`array`) or `{type} name = ...`.
StaticForm staticForm(std::string_view initializer, std::string_view type, bool array,
                      const Lookup& lookup);

}  // namespace zeb::tool
