// Appending the written form of values to text in place: composing a block
// this way makes no temporary strings.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace zeb {

inline void appendText(std::string& text, std::string_view part) { text.append(part); }

template <class Number>
void appendInteger(std::string& text, Number value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, result.ptr);
}

inline void appendText(std::string& text, int32_t value) { appendInteger(text, value); }
inline void appendText(std::string& text, uint32_t value) { appendInteger(text, value); }
inline void appendText(std::string& text, uint64_t value) { appendInteger(text, value); }

// Each part after the other: texts as they are, integers in decimal.
template <class... Parts>
void appendAll(std::string& text, const Parts&... parts) {
  (appendText(text, parts), ...);
}

// "(Type)value" with the value as signed 32-bit decimal.
inline void appendEnum(std::string& text, std::string_view typeName, int32_t value) {
  appendAll(text, "(", typeName, ")", value);
}

// As %.9g writes it; non-finite values as expressions that give them.
void appendFloat(std::string& text, float value);

// A C string between double quotes, unescaped; NULL for a null pointer.
inline void appendString(std::string& text, const char* value) {
  if (value == nullptr) {
    text += "NULL";
    return;
  }
  appendAll(text, "\"", std::string_view(value), "\"");
}

}  // namespace zeb
