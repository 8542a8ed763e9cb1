#include "emit/statement_builder.h"

#include <charconv>
#include <cmath>

namespace zeb {
namespace {

template <class Number>
std::string integerToText(Number value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

template <class Element, class ToText>
std::string joined(const std::vector<Element>& elements, ToText toText) {
  std::string text;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) text += ", ";
    text += toText(elements[i]);
  }
  return text;
}

std::string fieldToText(const StatementBuilder::Field& field) {
  if (const auto* text = std::get_if<std::string>(&field)) return *text;
  if (const auto* unsignedValue = std::get_if<uint32_t>(&field)) return uintToText(*unsignedValue);
  return intToText(std::get<int32_t>(field));
}

const std::string& asIs(const std::string& text) { return text; }

}  // namespace

std::string floatToText(float value) {
  // Non-finite values as expressions that give them, since C has no literals
  // for them (the written program includes no <math.h>).
  if (std::isnan(value)) return "(0.0f/0.0f)";
  if (std::isinf(value)) return value > 0 ? "(1.0f/0.0f)" : "(-1.0f/0.0f)";
  // General form with 9 significant digits, the same text as "%.9g" but
  // independent of the C library and the locale.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::general, 9);
  return std::string(buffer, result.ptr);
}

std::string intToText(int32_t value) { return integerToText(value); }
std::string uintToText(uint32_t value) { return integerToText(value); }
std::string uint64ToText(uint64_t value) { return integerToText(value); }

std::string enumToText(const char* typeName, int32_t value) {
  return "(" + std::string(typeName) + ")" + intToText(value);
}

std::string stringToText(const char* value) {
  return value ? "\"" + std::string(value) + "\"" : "NULL";
}

StatementBuilder::StatementBuilder(int32_t indentationWidth)
    : indentation_(static_cast<std::size_t>(indentationWidth), ' ') {}

void StatementBuilder::beginLine() { text_ += indentation_; }

void StatementBuilder::writeCall(const std::string& macro, const std::string& error,
                                 const std::string& interfaceName, const std::string& member,
                                 const std::vector<std::string>& arguments) {
  beginLine();
  text_ += macro + "(" + error + ", " + interfaceName + "." + member + "(" +
           joined(arguments, asIs) + "));\n";
}

void StatementBuilder::writeApiCall(const std::string& member,
                                    const std::vector<std::string>& arguments) {
  writeCall("VALIDATE", "error", "interface", member, arguments);
}

void StatementBuilder::writeDeclaration(const std::string& type, const std::string& name) {
  writeLine(type + " " + name + ";");
}

void StatementBuilder::writeNullDeclaration(const std::string& type, const std::string& name) {
  writeLine(type + " " + name + " = NULL;");
}

void StatementBuilder::writeArrayInitializer(const std::string& type, const std::string& name,
                                             const std::vector<std::string>& elements) {
  writeLine(type + " " + name + "[] = {" + joined(elements, asIs) + "};");
}

void StatementBuilder::writeArrayInitializer(const std::string& type, const std::string& name,
                                             const std::vector<int32_t>& elements) {
  writeLine(type + " " + name + "[] = {" + joined(elements, intToText) + "};");
}

void StatementBuilder::writeArrayInitializer(const std::string& type, const std::string& name,
                                             const std::vector<float>& elements) {
  writeLine(type + " " + name + "[] = {" + joined(elements, floatToText) + "};");
}

void StatementBuilder::writeStructInitializer(const std::string& type, const std::string& name,
                                              std::initializer_list<Field> fields) {
  writeStructInitializer(type, name, std::vector<Field>(fields));
}

void StatementBuilder::writeStructInitializer(const std::string& type, const std::string& name,
                                              const std::vector<Field>& fields) {
  writeLine(type + " " + name + " = {" + joined(fields, fieldToText) + "};");
}

void StatementBuilder::writeLine(const std::string& text) {
  beginLine();
  text_ += text + "\n";
}

void StatementBuilder::writeBlankLine() { text_ += "\n"; }

std::string StatementBuilder::takeText(bool addFinalNewline) {
  if (addFinalNewline) text_ += "\n";
  std::string text = std::move(text_);
  text_.clear();
  return text;
}

}  // namespace zeb
