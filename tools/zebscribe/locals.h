// The variables that the recorded blocks declare in main, taken apart, and
// how much of main's stack frame they take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recording.h"

namespace zeb::tool {

// `[static ]{type} {name}[{bound}] = {initializer};`, as one statement wrote it.
struct Local {
  const Declared* declared = nullptr;
  bool isStatic = false;          // a static array, filled by fread: not on the stack
  std::string_view bound;         // between the brackets, when there is a number
  std::string_view initializer;   // after " = ", without the ';'; empty when there is none
};

// The local that `declared` names, from the statement that declares it.
Local takeApart(const Statement& statement, const Declared& declared);

// The statement of `block` that declares `declared`.
const Statement& declaringStatement(const Block& block, const Recognised& recognised,
                                    const Declared& declared);

// Bytes of one object of a type the recorder declares; 0 for any other type.
uint64_t typeSize(std::string_view type);

// Bytes of the local on main's stack: 0 for a static array.
uint64_t stackBytes(const Local& local);

// The stack a default main thread gets where the written program usually
// runs: `ulimit -s` on Linux, the stack MinGW-w64 reserves for a Windows program.
inline constexpr uint64_t kLinuxDefaultStack = uint64_t{8} << 20;
inline constexpr uint64_t kWindowsDefaultStack = uint64_t{2} << 20;

struct ProgramSize {
  std::size_t statements = 0;  // lines of main's body that are not empty
  // What main's locals take: the sum of their sizes, each rounded up to 16
  // bytes when it has 16 or more, else to 8, as gcc lays them out on x86-64
  // without optimising (within a few percent). The calls' frames come on top.
  uint64_t frameBytes = 0;
};

// Of the whole blocks.
ProgramSize measureProgram(const Recording& recording);

// "18.5 MiB".
std::string mebibytes(uint64_t bytes);

}  // namespace zeb::tool
