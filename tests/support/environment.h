// A variable of the environment, set for as long as the object lives.
#pragma once

#include <cstdlib>

namespace zeb::test {

// Windows keeps no empty variable: setting one removes it.
#ifdef _WIN32
inline constexpr bool kEmptyVariablesKept = false;
#else
inline constexpr bool kEmptyVariablesKept = true;
#endif

struct EnvironmentVariable {
  EnvironmentVariable(const char* name, const char* value) : name(name) { set(value); }
  ~EnvironmentVariable() { set(nullptr); }
  void set(const char* value) const {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
#endif
  }
  const char* name;
};

}  // namespace zeb::test
