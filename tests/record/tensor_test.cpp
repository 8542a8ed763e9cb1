// Tensor creation: names, ids, the data file, and what a failed write leaves.
#include "record/tensor.h"

#include <gtest/gtest.h>

#include "record/graph.h"
#include "record/recording_session.h"

namespace zeb::test {
namespace {

uint8_t first[6] = {1, 2, 3, 4, 5, 6};
uint8_t second[4] = {7, 8, 9, 10};

Zeb_Tensor_t byteTensor(uint8_t* data, uint32_t size, const char* name = "t") {
  Zeb_Tensor_t t{};
  t.version = ZEB_TENSOR_VERSION_1;
  t.v1.name = name;
  t.v1.dataType = ZEB_DATATYPE_UINT_8;
  t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  t.v1.clientBuf = {data, size};
  return t;
}

struct TensorSession : RecordingSession {
  TensorSession() : contextHandle(recorder.createContext()), context(*recorder.findContext(contextHandle)) {}

  ScribeGraph& graph() {
    uint64_t handle = 0;
    EXPECT_EQ(record::graphCreate(recorder, contextHandle, context, "g", nullptr, &handle), 0u);
    return *recorder.findGraph(handle);
  }

  const uint64_t contextHandle;
  ScribeContext& context;
};

TEST(TensorCreation, NamesPerOwnerAndIdsFromOneProcessWideCounter) {
  TensorSession s;
  Zeb_Tensor_t tensors[3] = {byteTensor(nullptr, 0, "same"), byteTensor(nullptr, 0, "same"),
                             byteTensor(nullptr, 0)};
  for (Zeb_Tensor_t& t : tensors) ASSERT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, t), 0u);
  Zeb_Tensor_t inGraph = byteTensor(nullptr, 0);
  ScribeGraph& graph = s.graph();
  ASSERT_EQ(record::tensorCreateGraphTensor(s.recorder, graph, inGraph), 0u);

  EXPECT_EQ(tensors[1].v1.id, tensors[0].v1.id + 1);
  EXPECT_EQ(tensors[2].v1.id, tensors[0].v1.id + 2);
  EXPECT_EQ(inGraph.v1.id, tensors[0].v1.id + 3);
  const std::string blocks = s.blocks();
  for (const char* call : {"tensorCreateContextTensor(context_0, &context_0_tensor_0)",
                           "tensorCreateContextTensor(context_0, &context_0_tensor_1)",
                           "tensorCreateContextTensor(context_0, &context_0_tensor_2)",
                           "tensorCreateGraphTensor(context_0_g, &context_0_g_tensor_0)"}) {
    EXPECT_NE(blocks.find(call), std::string::npos) << call;
  }
  // The recorded description holds the id the client passed, not the one it got.
  EXPECT_NE(blocks.find("Zeb_TensorV1_t context_0_tensor_0_v1 = {0, \"same\""), std::string::npos);
  // A later node names registered tensors by their variables.
  EXPECT_EQ(*s.context.findTensorName(inGraph.v1.id), "context_0_g_tensor_0");
}

TEST(TensorCreation, DataFileHoldsTheBlobsBackToBackInBlockOrder) {
  TensorSession s;
  Zeb_Tensor_t a = byteTensor(first, 6), b = byteTensor(second, 4);
  ASSERT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, a), 0u);
  ASSERT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, b), 0u);
  EXPECT_EQ(s.data(), std::string("\1\2\3\4\5\6\7\10\11\12", 10));
  const std::string blocks = s.blocks();
  const auto readA = blocks.find("   static uint8_t context_0_tensor_0_data[6];\n"
                                 "   fread(context_0_tensor_0_data, 1, 6, fp);\n");
  const auto readB = blocks.find("   static uint8_t context_0_tensor_1_data[4];\n"
                                 "   fread(context_0_tensor_1_data, 1, 4, fp);\n");
  EXPECT_NE(readA, std::string::npos);
  EXPECT_NE(readB, std::string::npos);
  EXPECT_LT(readA, readB);
}

// A failed call leaves neither its block nor its blob: every fread keeps
// reading its own blob.
TEST(TensorCreation, FailedWritesLeaveBothFilesAsTheyWere) {
  const struct {
    const char* what;
    std::size_t (*write)(const void*, std::size_t, std::size_t, std::FILE*);
  } faults[] = {
      {"data write", [](const void* b, std::size_t size, std::size_t count, std::FILE* f) {
         return size == 1 && count == 6 ? 0 : std::fwrite(b, size, count, f);
       }},
      {"model write after the blob", [](const void* b, std::size_t size, std::size_t count, std::FILE* f) {
         return count > 6 ? std::fwrite(b, size, count - 1, f) : std::fwrite(b, size, count, f);
       }},
  };
  for (const auto& fault : faults) {
    TensorSession s;
    Zeb_Tensor_t kept = byteTensor(second, 4);
    ASSERT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, kept), 0u);
    const std::string blocks = s.blocks(), data = s.data();
    Zeb_Tensor_t lost = byteTensor(first, 6);
    {
      StreamOpsRestorer restorer;
      pal::streamOps().write = fault.write;
      EXPECT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, lost), 5999u) << fault.what;
    }
    EXPECT_EQ(lost.v1.id, 0u) << fault.what;
    EXPECT_EQ(s.blocks(), blocks) << fault.what;
    EXPECT_EQ(s.data(), data) << fault.what;
    Zeb_Tensor_t next = byteTensor(first, 6);
    ASSERT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, next), 0u);
    EXPECT_NE(s.blocks().find("fread(context_0_tensor_2_data, 1, 6, fp);"), std::string::npos);
    EXPECT_EQ(s.data(), data + std::string("\1\2\3\4\5\6", 6)) << fault.what;
  }
}

TEST(TensorCreation, MemoryHandlesAreRefusedAndNothingIsWritten) {
  TensorSession s;
  Zeb_Tensor_t handle = byteTensor(first, 6);
  handle.v1.memType = ZEB_TENSORMEMTYPE_MEMHANDLE;
  handle.v1.id = 42;
  EXPECT_EQ(record::tensorCreateContextTensor(s.recorder, s.context, handle), 6004u);
  EXPECT_EQ(handle.v1.id, 42u);
  EXPECT_EQ(s.blocks(), "");
  EXPECT_EQ(s.data(), "");
}

TEST(Executions, DataThatCannotBeWrittenFailsTheExecutionAndKeepsItsNumber) {
  TensorSession s;
  ScribeGraph& graph = s.graph();
  Zeb_Tensor_t input = byteTensor(first, 6);
  {
    StreamOpsRestorer restorer;
    pal::streamOps().write = writeNothing;
    EXPECT_EQ(record::graphExecute(s.recorder, graph, &input, 1, nullptr, 0, 0), 6004u);
  }
  {
    StreamOpsRestorer restorer;
    pal::streamOps().write = [](const void* b, std::size_t size, std::size_t count, std::FILE* f) {
      return count > 6 ? 0 : std::fwrite(b, size, count, f);
    };
    EXPECT_EQ(record::graphExecute(s.recorder, graph, &input, 1, nullptr, 0, 0), 5999u);
  }
  ASSERT_EQ(record::graphExecute(s.recorder, graph, &input, 1, nullptr, 0, 0), 0u);
  // The first execution never counted; the second did, though it was lost.
  EXPECT_NE(s.blocks().find("context_0_g_inputTensors_1[]"), std::string::npos);
  EXPECT_EQ(s.blocks().find("context_0_g_inputTensors_0[]"), std::string::npos);
  EXPECT_EQ(s.data(), std::string("\1\2\3\4\5\6", 6));
}

}  // namespace
}  // namespace zeb::test
