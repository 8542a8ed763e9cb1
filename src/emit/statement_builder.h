// The per-call text builder and the written form of values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emit/blob.h"
#include "emit/block_buffers.h"
#include "emit/text_append.h"

namespace zeb {

// Written forms of single values.
std::string floatToText(float value);  // as %.9g, identical on every platform
std::string intToText(int32_t value);
std::string uintToText(uint32_t value);
std::string uint64ToText(uint64_t value);

// Composes one block in buffers that earlier blocks have grown, so that the
// common calls compose theirs without allocating.
class StatementBuilder {
 public:
  // Every statement of a block is indented by this.
  static constexpr char kIndentation[] = "   ";

  StatementBuilder();
  ~StatementBuilder();
  StatementBuilder(const StatementBuilder&) = delete;
  StatementBuilder& operator=(const StatementBuilder&) = delete;

  // {indent}VALIDATE(error, interface.{member}({a1}, {a2}, ...)); each argument is
  // any part appendAll takes, and the line is one append.
  template <class First, class... Rest>
  void writeApiCall(std::string_view member, const First& first, const Rest&... rest) {
    appendAll(buffers_->text, kIndentation, "VALIDATE(error, interface.", member, "(", first,
              afterComma(rest)..., "));\n");
  }

  void writeDeclaration(std::string_view type, std::string_view name);
  // A name of a template type is any part appendAll takes, a DerivedName too.
  template <class Name>
  void writeNullDeclaration(std::string_view type, const Name& name) {
    writeLineOf(type, " ", name, " = NULL;");
  }
  void writeArrayInitializer(std::string_view type, std::string_view name,
                             const std::vector<std::string>& elements);
  void writeArrayInitializer(std::string_view type, std::string_view name,
                             const std::vector<int32_t>& elements);
  void writeArrayInitializer(std::string_view type, std::string_view name,
                             const std::vector<float>& elements);
  // `{type} {name}[] = {{elements}};` with the elements already joined.
  template <class Name>
  void writeJoinedArray(std::string_view type, const Name& name, std::string_view elements) {
    writeLineOf(type, " ", name, "[] = {", elements, "};");
  }
  // `{type} {name} = {...};` with the fields that appendFields(TextBuffer&)
  // appends straight to the block text, saving a copy. It must not write a
  // statement of its own.
  template <class Name, class AppendFields>
  void writeStructWith(std::string_view type, const Name& name, AppendFields appendFields) {
    writeInitializerWith(type, name, " = {", appendFields);
  }
  // `{type} {name}[] = {...};` in the same way.
  template <class Name, class AppendElements>
  void writeArrayWith(std::string_view type, const Name& name, AppendElements appendElements) {
    writeInitializerWith(type, name, "[] = {", appendElements);
  }

  // Statements that move bulk data through files.
  template <class Name>
  void writeStaticArrayRead(std::string_view type, const Name& name, uint64_t elementSize,
                            uint64_t elementCount, std::string_view file) {
    writeLineOf("static ", type, " ", name, "[", elementCount, "];");
    writeLineOf("fread(", name, ", ", elementSize, ", ", elementCount, ", ", file, ");");
  }
  // writeStaticArrayRead, and the blob those lines read, queued in block order.
  template <class Name>
  void writeBlobRead(std::string_view type, const Name& name, uint64_t elementSize,
                     uint64_t elementCount, std::string_view file, const void* data) {
    writeStaticArrayRead(type, name, elementSize, elementCount, file);
    buffers_->blobs.push_back({data, elementSize, elementCount});
  }
  // Without declare, the variable exists already and is assigned.
  void writeMallocDeclaration(std::string_view type, std::string_view name, std::string_view size,
                              bool declare = true);
  void writeFileOpen(std::string_view file, std::string_view path, std::string_view mode,
                     bool declare = true);
  void writeFwrite(std::string_view buffer, uint64_t elementSize, std::string_view count,
                   std::string_view file);
  void writeFclose(std::string_view file);
  void writeFree(std::string_view name);

  void writeLine(std::string_view text);
  // One line of parts, each as appendAll writes it.
  template <class... Parts>
  void writeLineOf(const Parts&... parts) {
    appendAll(buffers_->text, kIndentation, parts..., "\n");
  }
  void writeBlankLine();

  // An empty string to compose a part of the block in (a name, a list),
  // valid as long as the builder. Inline: a block takes dozens.
  TextBuffer& scratch() {
    BlockBuffers& buffers = *buffers_;
    if (buffers.scratchInUse == buffers.scratch.size()) return addScratch();
    TextBuffer& text = *buffers.scratch[buffers.scratchInUse++];
    text.clear();
    return text;
  }

  // Appends the newline that ends every block; the text is then whole.
  void endBlock() { buffers_->text += '\n'; }
  std::string_view text() const { return buffers_->text.view(); }
  // The blobs the block reads, in the order of its fread statements.
  const std::vector<Blob>& blobs() const { return buffers_->blobs; }

 private:
  // `{type} {name}{opening}`, what append(TextBuffer&) appends, then `};`.
  template <class Name, class Append>
  void writeInitializerWith(std::string_view type, const Name& name, std::string_view opening,
                            Append append) {
    appendAll(buffers_->text, kIndentation, type, " ", name, opening);
    append(buffers_->text);
    buffers_->text += "};\n";
  }

  // One more scratch string than earlier blocks needed.
  TextBuffer& addScratch();

  std::unique_ptr<BlockBuffers> buffers_;
};

}  // namespace zeb
