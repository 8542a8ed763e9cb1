// A small JSON writer for `info --json`: values are written as they come, the
// writer only keeps commas and quoting right.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace zeb::tool {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void beginObject() { open('{'); }
  void endObject() { close('}'); }
  void beginArray() { open('['); }
  void endArray() { close(']'); }
  void key(std::string_view name);
  void value(std::string_view text);
  void value(const char* text) { value(std::string_view(text)); }
  void value(uint64_t number);
  void value(bool flag);
  void null();
  void value(const std::optional<uint64_t>& number) { number ? value(*number) : null(); }

  template <typename Value>
  void field(std::string_view name, const Value& content) {
    key(name);
    value(content);
  }

 private:
  void separate();
  void open(char bracket);
  void close(char bracket);
  void writeString(std::string_view text);

  std::ostream& out_;
  std::vector<bool> hasItems_;  // per open object or array
  bool afterKey_ = false;
};

}  // namespace zeb::tool
