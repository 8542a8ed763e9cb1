#include "emit/statement_builder.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

TEST(StatementBuilder, WritesCallsWithAndWithoutArguments) {
  StatementBuilder builder;
  builder.writeApiCall("deviceFree", {"device_0"});
  builder.writeApiCall("graphFinalize", {"g", "NULL", "NULL"});
  builder.writeApiCall("backendFree", {});
  builder.writeCall("M", "e", "i", "f", {"a"});
  EXPECT_EQ(builder.takeText(false),
            "   VALIDATE(error, interface.deviceFree(device_0));\n"
            "   VALIDATE(error, interface.graphFinalize(g, NULL, NULL));\n"
            "   VALIDATE(error, interface.backendFree());\n"
            "   M(e, i.f(a));\n");
}

TEST(StatementBuilder, WritesDeclarationsLinesAndBlankLines) {
  StatementBuilder builder;
  builder.writeDeclaration("Zeb_GraphHandle_t", "g");
  builder.writeNullDeclaration("Zeb_ContextHandle_t", "context_0");
  builder.writeBlankLine();
  builder.writeLine("x = 1;");
  EXPECT_EQ(builder.takeText(true),
            "   Zeb_GraphHandle_t g;\n"
            "   Zeb_ContextHandle_t context_0 = NULL;\n"
            "\n"
            "   x = 1;\n"
            "\n");
}

TEST(StatementBuilder, IndentationFollowsTheWidth) {
  StatementBuilder flush(0);
  flush.writeLine("a;");
  EXPECT_EQ(flush.takeText(false), "a;\n");
  StatementBuilder deep(5);
  deep.writeFclose("f");
  EXPECT_EQ(deep.takeText(false), "     fclose(f);\n");
}

TEST(StatementBuilder, WritesArraysOnOneLine) {
  StatementBuilder builder;
  builder.writeArrayInitializer("uint32_t", "context_0_tensor_0_dims",
                                std::vector<std::string>{"4"});
  builder.writeArrayInitializer("uint32_t", "empty", std::vector<std::string>{});
  builder.writeArrayInitializer("int32_t", "offsets", std::vector<int32_t>{0, -1, 2147483647});
  builder.writeArrayInitializer("float", "scales", std::vector<float>{0.1f, 1.0f, 3.0e-7f});
  builder.writeArrayInitializer("float", "noScales", std::vector<float>{});
  std::vector<int32_t> many(40, 7);
  builder.writeArrayInitializer("int32_t", "many", many);
  std::string manyLine = "   int32_t many[] = {7";
  for (int i = 1; i < 40; ++i) manyLine += ", 7";
  EXPECT_EQ(builder.takeText(false),
            "   uint32_t context_0_tensor_0_dims[] = {4};\n"
            "   uint32_t empty[] = {};\n"
            "   int32_t offsets[] = {0, -1, 2147483647};\n"
            "   float scales[] = {0.100000001, 1, 3.00000011e-07};\n"
            "   float noScales[] = {};\n" +
                manyLine + "};\n");
}

TEST(StatementBuilder, WritesStructuresPositionally) {
  StatementBuilder builder;
  builder.writeStructInitializer("Zeb_ClientBuffer_t", "b", {std::string("NULL"), std::string("0")});
  builder.writeStructInitializer("Zeb_AxisScaleOffset_t", "a",
                                 {int32_t{-1}, uint32_t{4294967295u}, std::string("s")});
  builder.writeStructInitializer("T", "t", std::vector<StatementBuilder::Field>{
                                               std::string(".v1 = context_0_tensor_0_v1")});
  builder.writeStructInitializer("E", "e", std::vector<StatementBuilder::Field>{});
  EXPECT_EQ(builder.takeText(false),
            "   Zeb_ClientBuffer_t b = {NULL, 0};\n"
            "   Zeb_AxisScaleOffset_t a = {-1, 4294967295, s};\n"
            "   T t = {.v1 = context_0_tensor_0_v1};\n"
            "   E e = {};\n");
}

TEST(StatementBuilder, ReadsStaticArraysFromTheDataFile) {
  StatementBuilder builder;
  builder.writeStaticArrayRead("uint8_t", "t_data", 1, 6, "fp");
  builder.writeStaticArrayRead("float", "u_data", 4, 2, "fp");
  EXPECT_EQ(builder.takeText(false),
            "   static uint8_t t_data[6];\n"
            "   fread(t_data, 1, 6, fp);\n"
            "   static float u_data[2];\n"
            "   fread(u_data, 4, 2, fp);\n");
}

TEST(StatementBuilder, WritesABufferOutAtReplayTime) {
  StatementBuilder builder;
  builder.writeMallocDeclaration("uint8_t*", "context_0_binary", "context_0_binarySize");
  builder.writeFileOpen("context_0_file", "context_0.bin", "wb");
  builder.writeFwrite("context_0_binary", 1, "context_0_binarySize", "context_0_file");
  builder.writeFclose("context_0_file");
  builder.writeFree("context_0_binary");
  EXPECT_EQ(builder.takeText(true),
            "   uint8_t* context_0_binary = (uint8_t*)malloc(context_0_binarySize);\n"
            "   FILE* context_0_file = fopen(\"context_0.bin\", \"wb\");\n"
            "   if (!context_0_file) {\n"
            "      printf(\"ERROR: File open of context_0.bin failed on line: %d\\n\", __LINE__);\n"
            "      return -1;\n"
            "   }\n"
            "   fwrite(context_0_binary, 1, context_0_binarySize, context_0_file);\n"
            "   fclose(context_0_file);\n"
            "   free(context_0_binary);\n"
            "\n");
}

}  // namespace
}  // namespace zeb
