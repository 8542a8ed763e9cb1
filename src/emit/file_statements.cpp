// Statements that write a buffer out to a file of the replayed program's own.
#include "emit/statement_builder.h"

namespace zeb {

void StatementBuilder::writeMallocDeclaration(std::string_view type, std::string_view name,
                                              std::string_view size, bool declare) {
  if (declare) {
    writeLineOf(type, " ", name, " = (", type, ")malloc(", size, ");");
  } else {
    writeLineOf(name, " = (", type, ")malloc(", size, ");");
  }
}

void StatementBuilder::writeFileOpen(std::string_view file, std::string_view path,
                                     std::string_view mode, bool declare) {
  writeLineOf(declare ? "FILE* " : "", file, " = fopen(\"", path, "\", \"", mode, "\");");
  writeLineOf("if (!", file, ") {");
  writeLineOf(kIndentation, "printf(\"ERROR: File open of ", path,
              " failed on line: %d\\n\", __LINE__);");
  writeLineOf(kIndentation, "return -1;");
  writeLine("}");
}

void StatementBuilder::writeFwrite(std::string_view buffer, uint64_t elementSize,
                                   std::string_view count, std::string_view file) {
  writeLineOf("fwrite(", buffer, ", ", elementSize, ", ", count, ", ", file, ");");
}

void StatementBuilder::writeFclose(std::string_view file) { writeLineOf("fclose(", file, ");"); }

void StatementBuilder::writeFree(std::string_view name) { writeLineOf("free(", name, ");"); }

}  // namespace zeb
