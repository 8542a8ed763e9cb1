// Appending the written form of values to text in place: composing a block
// this way makes no temporary strings. Every appender takes a std::string or
// a TextBuffer.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The copies below are a few instructions each where they are inlined, and a
// call, with its branches, where the compiler leaves them out of line.
// And the rare paths beside a tuned one stay out of it, so that it keeps its
// registers and its tail calls.
#if defined(__GNUC__)
#define ZEB_ALWAYS_INLINE __attribute__((always_inline))
#define ZEB_NEVER_INLINE __attribute__((noinline))
#else
#define ZEB_ALWAYS_INLINE
#define ZEB_NEVER_INLINE
#endif

namespace zeb {

// Copies count characters, Width <= count <= 2 * Width, in two moves of Width.
template <std::size_t Width>
ZEB_ALWAYS_INLINE inline void moveOverlapping(char* to, const char* from, std::size_t count) {
  char head[Width], tail[Width];
  std::memcpy(head, from, Width);
  std::memcpy(tail, from + count - Width, Width);
  std::memcpy(to, head, Width);
  std::memcpy(to + count - Width, tail, Width);
}

// Copies count characters, count <= 32, inline: most parts of a block are a
// few characters long.
ZEB_ALWAYS_INLINE inline void copyShortChars(char* to, const char* from, std::size_t count) {
  if (count > 16) {
    moveOverlapping<16>(to, from, count);
  } else if (count >= 8) {
    moveOverlapping<8>(to, from, count);
  } else if (count >= 4) {
    moveOverlapping<4>(to, from, count);
  } else if (count > 0) {
    // Three single characters that may overlap cover one to three.
    to[0] = from[0];
    to[count / 2] = from[count / 2];
    to[count - 1] = from[count - 1];
  }
}

// Copies count characters; only long ones call into the C library.
ZEB_ALWAYS_INLINE inline void copyChars(char* to, const char* from, std::size_t count) {
  if (count > 32) {
    std::memcpy(to, from, count);
  } else {
    copyShortChars(to, from, count);
  }
}

// Text that only grows at its end, as a block's text does. While there is room,
// an append is a copy and nothing more: no call into the library, no filling.
class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  // Copies the other's text into this one's room.
  TextBuffer& operator=(const TextBuffer& other) {
    if (this != &other) *this = other.view();
    return *this;
  }

  // Makes the text count characters longer; returns where they go.
  char* extend(std::size_t count) {
    if (count > capacity_ - size_) grow(count);
    char* at = data_.get() + size_;
    size_ += count;
    return at;
  }
  TextBuffer& operator+=(std::string_view text) {
    if (!text.empty()) copyChars(extend(text.size()), text.data(), text.size());
    return *this;
  }
  TextBuffer& operator+=(char character) {
    *extend(1) = character;
    return *this;
  }
  TextBuffer& operator=(std::string_view text) {
    clear();
    return *this += text;
  }
  void clear() { size_ = 0; }
  // Drops the characters past the first size.
  void cutTo(std::size_t size) {
    if (size < size_) size_ = size;
  }
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {data_.get(), size_}; }
  operator std::string_view() const { return view(); }

 private:
  void grow(std::size_t count);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Room for count more characters at the end of the text; returns where they go.
inline char* extend(std::string& text, std::size_t count) {
  const std::size_t at = text.size();
  text.resize(at + count);
  return &text[at];
}
inline char* extend(TextBuffer& text, std::size_t count) { return text.extend(count); }
inline void cutTo(std::string& text, std::size_t size) { text.resize(std::min(size, text.size())); }
inline void cutTo(TextBuffer& text, std::size_t size) { text.cutTo(size); }

// A variable named after another, `{base}_{word}`: appended as its parts, so
// the name is never composed apart first.
struct DerivedName {
  std::string_view base;
  std::string_view word;
};

// ", " before every element of a list but the first.
inline std::string_view separatorBefore(std::size_t index) { return {", ", index > 0 ? 2u : 0u}; }

// The parts of appended text. A part is anything with size() and
// copyTo(char*&), which copies size() characters and moves past them; the
// pieces below cover string literals, whose length the compiler knows, other
// texts, derived names, integers, floats and quoted C strings.
template <std::size_t Size>
struct LiteralPiece {
  const char* text;
  static constexpr std::size_t size() { return Size - 1; }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    std::memcpy(at, text, Size - 1);
    at += Size - 1;
  }
};

struct TextPiece {
  std::string_view text;
  std::size_t size() const { return text.size(); }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    copyChars(at, text.data(), text.size());
    at += text.size();
  }
};

struct DerivedNamePiece {
  std::string_view base;
  std::string_view word;
  std::size_t size() const { return base.size() + 1 + word.size(); }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    copyChars(at, base.data(), base.size());
    at[base.size()] = '_';
    copyChars(at + base.size() + 1, word.data(), word.size());
    at += size();
  }
};

// An integer in decimal, composed from its last digits backwards, two at a time.
struct NumberPiece {
  template <class Number, std::enable_if_t<std::is_integral_v<Number>, int> = 0>
  explicit NumberPiece(Number value) {
    using Magnitude = std::make_unsigned_t<Number>;
    bool negative = false;
    if constexpr (std::is_signed_v<Number>) negative = value < 0;
    // Negating in the unsigned type keeps the smallest value in range.
    Magnitude magnitude = negative ? Magnitude(0) - Magnitude(value) : Magnitude(value);
    char* at = digits + sizeof digits;
    while (magnitude >= 100) {
      at -= 2;
      std::memcpy(at, kDigitPairs + (magnitude % 100) * 2, 2);
      magnitude /= 100;
    }
    if (magnitude >= 10) {
      at -= 2;
      std::memcpy(at, kDigitPairs + magnitude * 2, 2);
    } else {
      *--at = static_cast<char>('0' + magnitude);
    }
    if (negative) *--at = '-';
    start = static_cast<unsigned char>(at - digits);
  }
  std::size_t size() const { return sizeof digits - start; }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    copyShortChars(at, digits + start, size());
    at += size();
  }

 private:
  static constexpr char kDigitPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char digits[20];
  unsigned char start;
};

// A float as %.9g writes it, identically on every platform; non-finite
// values as expressions that give them, a NaN with its bits.
struct FloatPiece {
  explicit FloatPiece(float value);
  char digits[48];
  std::size_t length;
  std::size_t size() const { return length; }
  // Only a NaN is longer than a short copy.
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    copyChars(at, digits, length);
    at += length;
  }
};

// A C string between double quotes, unescaped; NULL for a null pointer.
struct QuotedPiece {
  explicit QuotedPiece(const char* value)
      : text(value ? value : "NULL"), quoted(value != nullptr) {}
  std::string_view text;
  bool quoted;
  std::size_t size() const { return text.size() + (quoted ? 2 : 0); }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    if (quoted) *at++ = '"';
    copyChars(at, text.data(), text.size());
    at += text.size();
    if (quoted) *at++ = '"';
  }
};

// `&{name}`: the address of a variable, as an output argument.
struct AddressPiece {
  std::string_view name;
  std::size_t size() const { return 1 + name.size(); }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    *at++ = '&';
    copyChars(at, name.data(), name.size());
    at += name.size();
  }
};

namespace detail {

template <class Part>
using IsPiece = decltype(std::declval<const Part&>().copyTo(std::declval<char*&>()));

// Every character array handed to an appender is a string literal: all its
// characters but the terminating null.
template <std::size_t Size>
LiteralPiece<Size> pieceOf(const char (&text)[Size]) {
  return {text};
}
inline TextPiece pieceOf(std::string_view text) { return {text}; }
inline DerivedNamePiece pieceOf(const DerivedName& name) { return {name.base, name.word}; }
template <class Number, std::enable_if_t<std::is_integral_v<Number>, int> = 0>
NumberPiece pieceOf(Number value) {
  return NumberPiece(value);
}
template <class Piece, class = IsPiece<Piece>>
const Piece& pieceOf(const Piece& piece) {
  return piece;
}

template <class Text, class... Pieces>
ZEB_ALWAYS_INLINE inline void appendPieces(Text& text, const Pieces&... pieces) {
  const std::size_t added = (pieces.size() + ... + 0);
  if (added == 0) return;
  char* at = extend(text, added);
  [[maybe_unused]] const char* const end = at + added;
  (pieces.copyTo(at), ...);
  // A piece that copies other than its size leaves the text torn.
  assert(at == end);
}

// A piece with ", " before it.
template <class Piece>
struct AfterCommaPiece {
  Piece piece;
  std::size_t size() const { return 2 + piece.size(); }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    std::memcpy(at, ", ", 2);
    at += 2;
    piece.copyTo(at);
  }
};

}  // namespace detail

// A part with ", " before it, for the elements of a list after the first.
template <class Part>
auto afterComma(const Part& part) {
  using Piece = std::decay_t<decltype(detail::pieceOf(part))>;
  return detail::AfterCommaPiece<Piece>{detail::pieceOf(part)};
}

// Each part after the other: string literals and other texts as they are,
// derived names as their parts, integers in decimal, pieces as they copy
// themselves. The text grows once for all parts, so no part may view the text
// itself.
template <class Text, class... Parts>
ZEB_ALWAYS_INLINE inline void appendAll(Text& text, const Parts&... parts) {
  detail::appendPieces(text, detail::pieceOf(parts)...);
}

template <class Text>
void appendText(Text& text, std::string_view part) {
  appendAll(text, part);
}

template <class Text, class Number, std::enable_if_t<std::is_integral_v<Number>, int> = 0>
void appendText(Text& text, Number value) {
  appendAll(text, value);
}

// "(Type)value" with the value as signed 32-bit decimal; the type's name is
// a string literal.
template <class Text, std::size_t Size>
void appendEnum(Text& text, const char (&typeName)[Size], int32_t value) {
  appendAll(text, "(", typeName, ")", value);
}

template <class Text>
void appendFloat(Text& text, float value) {
  appendAll(text, FloatPiece(value));
}

// A C string between double quotes, unescaped; NULL for a null pointer.
template <class Text>
void appendString(Text& text, const char* value) {
  appendAll(text, QuotedPiece(value));
}

}  // namespace zeb
