// Context binary blocks: the documented examples and edge cases, exact text.
#include "record/context_binary.h"

#include <gtest/gtest.h>

#include "record/recording_session.h"

namespace zeb::test {
namespace {

uint8_t binary[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

struct BinarySession : RecordingSession {
  BinarySession() : context(*recorder.findContext(recorder.createContext())) {}

  ScribeContext& context;
};

// contextGetBinary's block; declare: its first on the context.
std::string getBinaryBlock(const std::string& size, const std::string& written, bool declare) {
  const std::string type = declare ? "uint8_t* " : "";
  const std::string file = declare ? "FILE* " : "";
  return block({type + "context_0_buffer = (uint8_t*)malloc(" + size + ");",
                "VALIDATE(error, interface.contextGetBinary(context_0, context_0_buffer, " + size +
                    ", " + written + "));",
                file + "context_0_fp = fopen(\"context_0.bin\", \"wb\");",
                "if (!context_0_fp) {",
                "   printf(\"ERROR: File open of context_0.bin failed on line: %d\\n\", __LINE__);",
                "   return -1;",
                "}",
                "fwrite(context_0_buffer, 1, " + size + ", context_0_fp);",
                "fclose(context_0_fp);",
                "free(context_0_buffer);"});
}

TEST(ContextBinaryQueries, DeclareOnceAndPassTheSizeTheProgramReceives) {
  BinarySession s;
  Zeb_ContextBinarySize_t size = 7, written = 7;
  EXPECT_EQ(record::contextGetBinary(s.recorder, s.context, 1024, nullptr), 4950u);
  EXPECT_EQ(record::contextGetBinarySize(s.recorder, s.context, nullptr), 4950u);
  EXPECT_EQ(record::contextGetBinary(s.recorder, s.context, 1024, nullptr), 4950u);
  EXPECT_EQ(record::contextGetBinarySize(s.recorder, s.context, &size), 4950u);
  EXPECT_EQ(record::contextGetBinarySize(s.recorder, s.context, &size), 4950u);
  EXPECT_EQ(record::contextGetBinary(s.recorder, s.context, 1024, &written), 4950u);
  EXPECT_EQ(size, 7u);
  const std::string sizeVariable = "context_0_binaryBufferSize";
  const std::string expected =
      getBinaryBlock("1024", "NULL", true) +
      block({"VALIDATE(error, interface.contextGetBinarySize(context_0, NULL));"}) +
      getBinaryBlock("1024", "NULL", false) +
      block({"Zeb_ContextBinarySize_t " + sizeVariable + ";",
             "VALIDATE(error, interface.contextGetBinarySize(context_0, &" + sizeVariable + "));"}) +
      block({"VALIDATE(error, interface.contextGetBinarySize(context_0, &" + sizeVariable + "));"}) +
      "   Zeb_ContextBinarySize_t context_0_writtenBufferSize;\n" +
      getBinaryBlock(sizeVariable, "&context_0_writtenBufferSize", false);
  EXPECT_EQ(s.blocks(), expected);
}

TEST(ContextFromBinary, ReadsTheBinaryBackThroughTheDataFile) {
  BinarySession s;
  ASSERT_EQ(record::contextCreateFromBinary(s.recorder, s.context,
                                            {0, 0, nullptr, binary, 16}, 0, false),
            0u);
  ScribeContext& second = *s.recorder.findContext(s.recorder.createContext());
  ASSERT_EQ(record::contextCreateFromBinary(s.recorder, second, {0, 0, nullptr, nullptr, 32}, 0, true),
            0u);
  EXPECT_EQ(s.blocks(),
            block({"Zeb_ContextHandle_t context_0;", "static uint8_t context_0_binary[16];",
                   "fread(context_0_binary, 1, 16, fp);",
                   "const ZebContext_Config_t* context_0_config_0[] = {NULL};",
                   "VALIDATE(error, interface.contextCreateFromBinary(NULL, NULL, "
                   "context_0_config_0, context_0_binary, 16, &context_0, NULL));"}) +
                block({"Zeb_ContextHandle_t context_1;",
                       "const ZebContext_Config_t* context_1_config_0[] = {NULL};",
                       "VALIDATE(error, interface.contextCreateFromBinaryWithSignal(NULL, NULL, "
                       "context_1_config_0, NULL, 32, &context_1, NULL, NULL));"}));
  EXPECT_EQ(s.data(), std::string(reinterpret_cast<char*>(binary), 16));
}

TEST(ContextValidateBinary, NamesEachBinaryAndConfigurationArrayAfresh) {
  RecordingSession s;
  ASSERT_EQ(record::contextValidateBinary(s.recorder, {0, 0, nullptr, binary, 4}), 0u);
  ASSERT_EQ(record::contextValidateBinary(s.recorder, {0, 0, nullptr, binary + 4, 4}), 0u);
  EXPECT_EQ(s.blocks(),
            block({"static uint8_t binaryBuffer_0[4];", "fread(binaryBuffer_0, 1, 4, fp);",
                   "const ZebContext_Config_t* context_config_0[] = {NULL};",
                   "VALIDATE(error, interface.contextValidateBinary(NULL, NULL, "
                   "context_config_0, binaryBuffer_0, 4));"}) +
                block({"static uint8_t binaryBuffer_1[4];", "fread(binaryBuffer_1, 1, 4, fp);",
                       "const ZebContext_Config_t* context_config_1[] = {NULL};",
                       "VALIDATE(error, interface.contextValidateBinary(NULL, NULL, "
                       "context_config_1, binaryBuffer_1, 4));"}));
}

// Handles are checked before the binary is written, and a binary that cannot
// be written leaves no block: the data file never holds a blob nobody reads.
TEST(ContextBinaryRefusals, LeaveBothFilesUntouched) {
  const std::string notWritten =
      "Failed to write context binary to disk, ensure binaryBufferSize matches the actual "
      "buffer size.";
  const struct {
    bool validate;
    uint64_t backend;
    uint64_t device;
    bool failWrite;
    Zeb_ErrorHandle_t code;
    std::string lastMessage;
  } rows[] = {
      {false, 5, 0, false, 4011, "No backend associated with the provided handle"},
      {false, 0, 5, false, 14000, "No device associated with the provided handle"},
      {false, 0, 0, true, 5005, notWritten},
      {true, 5, 0, false, 5002, "No backend associated with the provided handle"},
      {true, 0, 5, false, 5002, "No device associated with the provided handle"},
      {true, 0, 0, true, 5999, notWritten},
  };
  for (const auto& row : rows) {
    BinarySession s;
    const record::BinarySource source{row.backend, row.device, nullptr, binary, 16};
    Zeb_ErrorHandle_t code = 0;
    {
      StreamOpsRestorer restorer;
      if (row.failWrite) pal::streamOps().write = writeOneLess;
      code = row.validate ? record::contextValidateBinary(s.recorder, source)
                          : record::contextCreateFromBinary(s.recorder, s.context, source, 0, false);
    }
    EXPECT_EQ(code, row.code);
    ASSERT_FALSE(s.log.texts().empty());
    EXPECT_EQ(s.log.texts().back(), row.lastMessage);
    EXPECT_EQ(s.blocks(), "");
    EXPECT_EQ(s.data(), "");
  }
}

}  // namespace
}  // namespace zeb::test
