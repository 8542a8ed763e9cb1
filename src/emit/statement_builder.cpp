#include "emit/statement_builder.h"

#include <cstring>

namespace zeb {
namespace {

template <class Element, class Append>
void appendJoined(TextBuffer& text, const std::vector<Element>& elements, Append append) {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) text += ", ";
    append(text, elements[i]);
  }
}

// What an appender writes, as a string of its own.
template <class Value>
std::string textOf(void (*append)(std::string&, Value), Value value) {
  std::string text;
  append(text, value);
  return text;
}

}  // namespace

std::string floatToText(float value) { return textOf(appendFloat<std::string>, value); }
std::string intToText(int32_t value) { return textOf(appendText<std::string, int32_t>, value); }
std::string uintToText(uint32_t value) { return textOf(appendText<std::string, uint32_t>, value); }
std::string uint64ToText(uint64_t value) {
  return textOf(appendText<std::string, uint64_t>, value);
}

void TextBuffer::grow(std::size_t count) {
  constexpr std::size_t kSmallest = 64;
  std::size_t capacity = capacity_ < kSmallest ? kSmallest : capacity_ * 2;
  if (capacity - size_ < count) capacity = size_ + count;
  std::unique_ptr<char[]> data(new char[capacity]);
  if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

StatementBuilder::StatementBuilder() : buffers_(takeBlockBuffers()) {}

StatementBuilder::~StatementBuilder() { returnBlockBuffers(std::move(buffers_)); }

TextBuffer& StatementBuilder::addScratch() {
  BlockBuffers& buffers = *buffers_;
  buffers.scratch.push_back(std::make_unique<TextBuffer>());
  return *buffers.scratch[buffers.scratchInUse++];
}

void StatementBuilder::writeDeclaration(std::string_view type, std::string_view name) {
  writeLineOf(type, " ", name, ";");
}

void StatementBuilder::writeArrayInitializer(std::string_view type, std::string_view name,
                                             const std::vector<std::string>& elements) {
  appendAll(buffers_->text, kIndentation, type, " ", name, "[] = {");
  appendJoined(buffers_->text, elements,
               [](TextBuffer& text, const std::string& element) { text += element; });
  buffers_->text += "};\n";
}

void StatementBuilder::writeArrayInitializer(std::string_view type, std::string_view name,
                                             const std::vector<int32_t>& elements) {
  appendAll(buffers_->text, kIndentation, type, " ", name, "[] = {");
  appendJoined(buffers_->text, elements, appendText<TextBuffer, int32_t>);
  buffers_->text += "};\n";
}

void StatementBuilder::writeArrayInitializer(std::string_view type, std::string_view name,
                                             const std::vector<float>& elements) {
  appendAll(buffers_->text, kIndentation, type, " ", name, "[] = {");
  appendJoined(buffers_->text, elements, appendFloat<TextBuffer>);
  buffers_->text += "};\n";
}

void StatementBuilder::writeLine(std::string_view text) { writeLineOf(text); }

void StatementBuilder::writeBlankLine() { buffers_->text += '\n'; }

}  // namespace zeb
