// The statements the recorder writes, as one table of shapes, and the
// recogniser that matches a block's statements against it. Anything else in a
// recording is foreign code, which no command compiles unless told to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "statements.h"

namespace zeb::tool {

// One statement form, as the C text it matches, without the indentation of
// main's body. Holes stand for what varies:
//   $name   an identifier the statement declares
//   $id     an identifier (NULL too)            $out   &identifier, or NULL
//   $u $i   an unsigned or signed decimal       $size  $u or $id
//   $f      a float as the recorder writes it   $tid   $u, or identifier.v1.id / .v2.id
//   $s      a client string, or NULL
//   $ids $us $is $fs $pairs   lists joined by ", ", possibly empty ($pairs: {$f, $i})
//   $refs   "&identifier, " repeated            $strs  "string, " repeated
//   $1..$9  the text of that earlier hole again
// A pattern of several lines matches as many statements, in order.
struct Shape {
  std::string_view pattern;
  uint32_t elementBytes = 0;  // a data read: the bytes per element it reads
};

// Every shape, in the order they are tried.
const std::vector<Shape>& recorderShapes();

// A name that a recognised statement declares.
struct Declared {
  std::string_view name;
  std::string_view type;  // as written before the name, without "static"
  bool array = false;
  std::size_t line = 0;
};

// What the recogniser made of one or more statements.
struct Recognised {
  const Shape* shape = nullptr;  // null: foreign code
  std::size_t first = 0;         // the index of its first statement
  std::size_t count = 1;         // how many statements it spans
  std::vector<std::string_view> holes;  // the text of each hole but back references
  std::vector<Declared> declared;
  std::string_view member;  // the API member it calls, if it does
  uint64_t bytesRead = 0;   // from the data file, for a data read
};

// The statements in order; a foreign statement makes one entry of its own.
// Statements not ended by a line break are foreign.
std::vector<Recognised> recognise(const std::vector<Statement>& statements);

// Whether what fills the shape's hole (numbered as Recognised::holes) refers to
// variables that other statements declare: identifiers, NULL or numbers.
bool holeNamesVariables(const Shape& shape, std::size_t hole);

// The names the model header declares in main's scope.
const std::vector<std::string_view>& frameNames();

// A client string that C would not read back as one string literal holding
// the same characters: with a double quote, a line break or carriage return,
// or a backslash that escapes its closing quote. Trigraphs (??/ for a
// backslash) count either way, whether the compiler reads them or not.
bool breaksOutOfQuotes(std::string_view content);

// The length of the float at the start of text as the recorder writes it
// (%.9g, or an expression for a value that has no literal); 0 if none.
std::size_t floatLength(std::string_view text);

}  // namespace zeb::tool
