// What the backend and context tests share beyond the recording session.
#pragma once

#include <cctype>
#include <string>
#include <vector>

namespace zeb::test {

// The client's NULL-terminated array over the given configurations; NULL when
// there are none.
template <class Config>
class ConfigArray {
 public:
  explicit ConfigArray(const std::vector<Config>& configs) : configs_(configs) {
    for (const auto& config : configs_) pointers_.push_back(&config);
    pointers_.push_back(nullptr);
  }
  const Config** get() { return configs_.empty() ? nullptr : pointers_.data(); }

 private:
  std::vector<Config> configs_;
  std::vector<const Config*> pointers_;
};

// A test name from a case's title: its letters and digits, words joined by "_".
template <class Info>
std::string caseName(const Info& info) {
  std::string name;
  for (const char c : std::string(info.param.title)) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  return name;
}

}  // namespace zeb::test
