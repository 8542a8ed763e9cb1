// Statements that move bulk data: reading blobs back from the data file, and
// writing a buffer out to a file of the replayed program's own.
#include "emit/statement_builder.h"

namespace zeb {

void StatementBuilder::writeStaticArrayRead(const std::string& type, const std::string& name,
                                            uint64_t elementSize, uint64_t elementCount,
                                            const std::string& file) {
  const std::string count = uint64ToText(elementCount);
  writeLine("static " + type + " " + name + "[" + count + "];");
  writeLine("fread(" + name + ", " + uint64ToText(elementSize) + ", " + count + ", " + file + ");");
}

void StatementBuilder::writeBlobRead(const std::string& type, const std::string& name,
                                     uint64_t elementSize, uint64_t elementCount,
                                     const std::string& file, const void* data) {
  writeStaticArrayRead(type, name, elementSize, elementCount, file);
  blobs_.push_back({data, elementSize, elementCount});
}

void StatementBuilder::writeMallocDeclaration(const std::string& type, const std::string& name,
                                              const std::string& size, bool declare) {
  writeLine((declare ? type + " " : "") + name + " = (" + type + ")malloc(" + size + ");");
}

void StatementBuilder::writeFileOpen(const std::string& file, const std::string& path,
                                     const std::string& mode, bool declare) {
  const std::string step = indentation_;
  writeLine((declare ? "FILE* " : "") + file + " = fopen(\"" + path + "\", \"" + mode + "\");");
  writeLine("if (!" + file + ") {");
  writeLine(step + "printf(\"ERROR: File open of " + path + " failed on line: %d\\n\", __LINE__);");
  writeLine(step + "return -1;");
  writeLine("}");
}

void StatementBuilder::writeFwrite(const std::string& buffer, uint64_t elementSize,
                                   const std::string& count, const std::string& file) {
  writeLine("fwrite(" + buffer + ", " + uint64ToText(elementSize) + ", " + count + ", " + file + ");");
}

void StatementBuilder::writeFclose(const std::string& file) { writeLine("fclose(" + file + ");"); }

void StatementBuilder::writeFree(const std::string& name) { writeLine("free(" + name + ");"); }

}  // namespace zeb
