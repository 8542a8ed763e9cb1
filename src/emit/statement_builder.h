// The per-call text builder and the written form of values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

namespace zeb {

// Written forms of single values.
std::string floatToText(float value);  // as %.9g, identical on every platform
std::string intToText(int32_t value);
std::string uintToText(uint32_t value);
std::string uint64ToText(uint64_t value);
// "(Type)value" with the value as signed 32-bit decimal.
std::string enumToText(const char* typeName, int32_t value);
// A C string between double quotes, unescaped; "NULL" for a null pointer.
std::string stringToText(const char* value);

// Bulk data that a block reads back with fread: the client's buffer itself,
// never copied, appended to the data file when the block is written.
struct Blob {
  const void* data;
  uint64_t elementSize;
  uint64_t elementCount;
};

class StatementBuilder {
 public:
  using Field = std::variant<std::string, uint32_t, int32_t>;

  explicit StatementBuilder(int32_t indentationWidth = 3);

  // {indent}{macro}({error}, {interface}.{member}({a1}, {a2}, ...));
  void writeCall(const std::string& macro, const std::string& error,
                 const std::string& interfaceName, const std::string& member,
                 const std::vector<std::string>& arguments);
  // writeCall with "VALIDATE", "error" and "interface".
  void writeApiCall(const std::string& member, const std::vector<std::string>& arguments);

  void writeDeclaration(const std::string& type, const std::string& name);
  void writeNullDeclaration(const std::string& type, const std::string& name);
  void writeArrayInitializer(const std::string& type, const std::string& name,
                             const std::vector<std::string>& elements);
  void writeArrayInitializer(const std::string& type, const std::string& name,
                             const std::vector<int32_t>& elements);
  void writeArrayInitializer(const std::string& type, const std::string& name,
                             const std::vector<float>& elements);
  void writeStructInitializer(const std::string& type, const std::string& name,
                              std::initializer_list<Field> fields);
  void writeStructInitializer(const std::string& type, const std::string& name,
                              const std::vector<Field>& fields);

  // Statements that move bulk data through files.
  void writeStaticArrayRead(const std::string& type, const std::string& name,
                            uint64_t elementSize, uint64_t elementCount,
                            const std::string& file);
  // writeStaticArrayRead, and the blob those lines read, queued in block order.
  void writeBlobRead(const std::string& type, const std::string& name, uint64_t elementSize,
                     uint64_t elementCount, const std::string& file, const void* data);
  // Without declare, the variable exists already and is assigned.
  void writeMallocDeclaration(const std::string& type, const std::string& name,
                              const std::string& size, bool declare = true);
  void writeFileOpen(const std::string& file, const std::string& path, const std::string& mode,
                     bool declare = true);
  void writeFwrite(const std::string& buffer, uint64_t elementSize, const std::string& count,
                   const std::string& file);
  void writeFclose(const std::string& file);
  void writeFree(const std::string& name);

  void writeLine(const std::string& text);
  void writeBlankLine();

  // The whole block; with the flag, one more newline is appended first.
  std::string takeText(bool addFinalNewline);
  // The blobs the block reads, in the order of its fread statements.
  const std::vector<Blob>& blobs() const { return blobs_; }

 private:
  void beginLine();

  std::string text_;
  std::vector<Blob> blobs_;
  std::string indentation_;
};

}  // namespace zeb
