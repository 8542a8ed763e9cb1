// Appending the written form of values to text in place: composing a block
// this way makes no temporary strings.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

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

namespace detail {

// One part of appended text as characters: a text as it is, an integer in decimal.
class Piece {
 public:
  explicit Piece(std::string_view text) : view_(text) {}
  template <class Number, std::enable_if_t<std::is_integral_v<Number>, int> = 0>
  explicit Piece(Number value) {
    const auto result = std::to_chars(digits_, digits_ + sizeof digits_, value);
    view_ = std::string_view(digits_, static_cast<std::size_t>(result.ptr - digits_));
  }
  Piece(const Piece&) = delete;
  Piece& operator=(const Piece&) = delete;

  std::string_view view() const { return view_; }

 private:
  char digits_[24];
  std::string_view view_;
};

}  // namespace detail

// Each part after the other: texts as they are, integers in decimal. The text
// grows once for all parts (each growth is a call into the library), so no
// part may view the text itself.
template <class... Parts>
void appendAll(std::string& text, const Parts&... parts) {
  const detail::Piece pieces[] = {detail::Piece(parts)...};
  std::size_t at = text.size();
  std::size_t added = 0;
  for (const detail::Piece& piece : pieces) added += piece.view().size();
  text.resize(at + added);
  for (const detail::Piece& piece : pieces) {
    if (piece.view().empty()) continue;
    std::memcpy(&text[at], piece.view().data(), piece.view().size());
    at += piece.view().size();
  }
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
