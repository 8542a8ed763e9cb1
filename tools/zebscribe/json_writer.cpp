#include "json_writer.h"

#include <cstdio>

namespace zeb::tool {

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasItems_.empty()) {
    if (hasItems_.back()) out_ << ",";
    hasItems_.back() = true;
  }
}

void JsonWriter::open(char bracket) {
  separate();
  out_ << bracket;
  hasItems_.push_back(false);
}

void JsonWriter::close(char bracket) {
  hasItems_.pop_back();
  out_ << bracket;
}

void JsonWriter::key(std::string_view name) {
  separate();
  writeString(name);
  out_ << ":";
  afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
  separate();
  writeString(text);
}

void JsonWriter::value(uint64_t number) {
  separate();
  out_ << number;
}

void JsonWriter::value(bool flag) {
  separate();
  out_ << (flag ? "true" : "false");
}

void JsonWriter::null() {
  separate();
  out_ << "null";
}

void JsonWriter::writeString(std::string_view text) {
  out_ << '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out_ << '\\' << c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out_ << escaped;
    } else {
      out_ << c;
    }
  }
  out_ << '"';
}

}  // namespace zeb::tool
