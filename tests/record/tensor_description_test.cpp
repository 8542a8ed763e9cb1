// The written form of tensor descriptions, row by row from the documented
// shapes: every encoding, both versions, the data types and the refusals.
#include "record/tensor_description.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/session.h"

namespace zeb::record {
namespace {

uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
uint32_t dims[] = {1, 4};
Zeb_ScaleOffset_t pairs[] = {{0.5f, -3}, {0.1f, 7}};
float scales[] = {0.25f, 3.0e-7f};
int32_t offsets[] = {-128, 127};
uint8_t dynamic[] = {1, 0};

Zeb_Tensor_t floatTensor() {
  Zeb_Tensor_t t{};
  t.version = ZEB_TENSOR_VERSION_1;
  t.v1.name = "in";
  t.v1.dataType = ZEB_DATATYPE_FLOAT_32;
  t.v1.quantizeParams.encodingDefinition = ZEB_DEFINITION_DEFINED;
  t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET;
  t.v1.quantizeParams.scaleOffsetEncoding = {0.5f, 0};
  t.v1.rank = 2;
  t.v1.dimensions = dims;
  t.v1.clientBuf = {bytes, 16};
  return t;
}

template <class Change>
Zeb_Tensor_t floatTensorWith(Change change) {
  Zeb_Tensor_t t = floatTensor();
  change(t);
  return t;
}

struct Written {
  Zeb_ErrorHandle_t code;
  std::vector<std::string> lines;  // without the block's indentation
  std::vector<uint64_t> blobBytes;
};

Written write(const Zeb_Tensor_t& tensor, const ScribeContext* ids = nullptr) {
  StatementBuilder builder(3);
  Written written{writeTensor(tensor, "B", builder, "fp", ids), {}, {}};
  std::istringstream text(builder.takeText(false));
  for (std::string line; std::getline(text, line);) written.lines.push_back(line.substr(3));
  for (const Blob& blob : builder.blobs())
    written.blobBytes.push_back(blob.elementSize * blob.elementCount);
  return written;
}

const std::string kQuantized =
    "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
    "(Zeb_QuantizationEncoding_t)0, .scaleOffsetEncoding = {0.5, 0}};";
const std::string kUndefinedQuantization =
    "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)2147483647, "
    "(Zeb_QuantizationEncoding_t)2147483647, .scaleOffsetEncoding = {0.0, 0}};";
const std::string kData[] = {"static float B_data[4];", "fread(B_data, 4, 4, fp);",
                             "Zeb_ClientBuffer_t B_clientBuf = {(void*)B_data, 16};"};
const std::string kOuterV1 = "Zeb_Tensor_t B = {(Zeb_TensorVersion_t)1, .v1 = B_v1};";

std::string bodyV1(const std::string& name, const std::string& dims, int dataType = 562) {
  return "Zeb_TensorV1_t B_v1 = {0, " + name + ", (Zeb_TensorType_t)0, 0, (Zeb_DataType_t)" +
         std::to_string(dataType) + ", B_quantizeParams, 2, " + dims +
         ", (Zeb_TensorMemType_t)0, B_clientBuf};";
}

struct FormRow {
  const char* what;
  Zeb_Tensor_t tensor;
  std::vector<std::string> lines;
  std::vector<uint64_t> blobBytes;
};

std::vector<FormRow> formRows() {
  const std::string dimsLine = "uint32_t B_dims[] = {1, 4};";
  return {
      {"float tensor with scale-offset and data",
       floatTensor(),
       {dimsLine, kQuantized, kData[0], kData[1], kData[2], bodyV1("\"in\"", "B_dims"), kOuterV1},
       {16}},
      {"no dimensions and no name",
       floatTensorWith([](Zeb_Tensor_t& t) { t.v1.dimensions = nullptr, t.v1.name = nullptr; }),
       {kQuantized, kData[0], kData[1], kData[2], bodyV1("NULL", "NULL"), kOuterV1},
       {16}},
      {"no data, whatever the size",
       floatTensorWith([](Zeb_Tensor_t& t) { t.v1.clientBuf = {nullptr, 100}; }),
       {dimsLine, kQuantized, "Zeb_ClientBuffer_t B_clientBuf = {NULL, 0};",
        bodyV1("\"in\"", "B_dims"), kOuterV1},
       {}},
      {"10 float bytes carry two elements",
       floatTensorWith([](Zeb_Tensor_t& t) { t.v1.clientBuf.dataSize = 10; }),
       {dimsLine, kQuantized, "static float B_data[2];", "fread(B_data, 4, 2, fp);",
        "Zeb_ClientBuffer_t B_clientBuf = {(void*)B_data, 10};", bodyV1("\"in\"", "B_dims"),
        kOuterV1},
       {8}},
      {"unsigned 4-bit, one byte per element",
       floatTensorWith([](Zeb_Tensor_t& t) {
         t.v1.dataType = ZEB_DATATYPE_UFIXED_POINT_4, t.v1.clientBuf.dataSize = 5;
       }),
       {dimsLine, kQuantized,
        "// Reading 4-bit fixed point tensor data into a byte array since there is not a native "
        "4-bit datatype.",
        "static uint8_t B_data[5];", "fread(B_data, 1, 5, fp);",
        "Zeb_ClientBuffer_t B_clientBuf = {(void*)B_data, 5};",
        bodyV1("\"in\"", "B_dims", 1028), kOuterV1},
       {5}},
      {"undefined encoding, rank 0",
       floatTensorWith([](Zeb_Tensor_t& t) {
         t.v1.quantizeParams.encodingDefinition = ZEB_DEFINITION_UNDEFINED;
         t.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
         t.v1.rank = 0, t.v1.clientBuf = {nullptr, 0};
       }),
       {"uint32_t B_dims[] = {};", kUndefinedQuantization,
        "Zeb_ClientBuffer_t B_clientBuf = {NULL, 0};",
        "Zeb_TensorV1_t B_v1 = {0, \"in\", (Zeb_TensorType_t)0, 0, (Zeb_DataType_t)562, "
        "B_quantizeParams, 0, B_dims, (Zeb_TensorMemType_t)0, B_clientBuf};",
        kOuterV1},
       {}},
  };
}

class TensorForms : public testing::TestWithParam<FormRow> {};

TEST_P(TensorForms, WriteTheDocumentedLinesAndBlobs) {
  const Written written = write(GetParam().tensor);
  EXPECT_EQ(written.code, 0u);
  EXPECT_EQ(written.lines, GetParam().lines);
  EXPECT_EQ(written.blobBytes, GetParam().blobBytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, TensorForms, testing::ValuesIn(formRows()),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

// The quantisation lines of each encoding; the rest of the tensor is the
// float example's.
TEST(TensorEncodings, DeclareTheirArraysBeforeTheParameters) {
  const struct {
    Zeb_QuantizeParams_t params;
    std::vector<std::string> lines;
  } rows[] = {
      {[] {
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET, {}};
         q.axisScaleOffsetEncoding = {-1, 2, pairs};
         return q;
       }(),
       {"Zeb_ScaleOffset_t B_quantizeParams_scaleOffsets[] = {{0.5, -3}, {0.100000001, 7}};",
        "Zeb_AxisScaleOffset_t B_quantizeParams_axisScaleOffset = {-1, 2, "
        "B_quantizeParams_scaleOffsets};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
        "(Zeb_QuantizationEncoding_t)1, .axisScaleOffsetEncoding = "
        "B_quantizeParams_axisScaleOffset};"}},
      {[] {
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET, {}};
         q.axisScaleOffsetEncoding = {0, 0, pairs};
         return q;
       }(),
       {"Zeb_ScaleOffset_t B_quantizeParams_scaleOffsets[] = {};",
        "Zeb_AxisScaleOffset_t B_quantizeParams_axisScaleOffset = {0, 0, "
        "B_quantizeParams_scaleOffsets};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
        "(Zeb_QuantizationEncoding_t)1, .axisScaleOffsetEncoding = "
        "B_quantizeParams_axisScaleOffset};"}},
      {[] {  // pairs the client left NULL are not read
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET, {}};
         q.axisScaleOffsetEncoding = {2, 3, nullptr};
         return q;
       }(),
       {"Zeb_AxisScaleOffset_t B_quantizeParams_axisScaleOffset = {2, 3, NULL};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
        "(Zeb_QuantizationEncoding_t)1, .axisScaleOffsetEncoding = "
        "B_quantizeParams_axisScaleOffset};"}},
      {[] {
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_IMPL_GENERATED, ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET, {}};
         q.bwScaleOffsetEncoding = {4, 1.5f, -8};
         return q;
       }(),
       {"Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)0, "
        "(Zeb_QuantizationEncoding_t)2, .bwScaleOffsetEncoding = {4, 1.5, -8}};"}},
      {[] {
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET, {}};
         q.bwAxisScaleOffsetEncoding = {8, -2, 2, scales, offsets};
         return q;
       }(),
       {"float B_quantizeParams_bwAxisScaleOffset_scales[] = {0.25, 3.00000011e-07};",
        "int32_t B_quantizeParams_bwAxisScaleOffset_offsets[] = {-128, 127};",
        "Zeb_BwAxisScaleOffset_t B_quantizeParams_bwAxisScaleOffset = {8, -2, 2, "
        "B_quantizeParams_bwAxisScaleOffset_scales, B_quantizeParams_bwAxisScaleOffset_offsets};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
        "(Zeb_QuantizationEncoding_t)3, .bwAxisScaleOffsetEncoding = "
        "B_quantizeParams_bwAxisScaleOffset};"}},
      {[] {  // offsets the client left NULL are not read
         Zeb_QuantizeParams_t q{ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET, {}};
         q.bwAxisScaleOffsetEncoding = {8, 1, 2, nullptr, nullptr};
         return q;
       }(),
       {"Zeb_BwAxisScaleOffset_t B_quantizeParams_bwAxisScaleOffset = {8, 1, 2, NULL, NULL};",
        "Zeb_QuantizeParams_t B_quantizeParams = {(Zeb_Definition_t)1, "
        "(Zeb_QuantizationEncoding_t)3, .bwAxisScaleOffsetEncoding = "
        "B_quantizeParams_bwAxisScaleOffset};"}},
  };
  for (const auto& row : rows) {
    const Written written = write(floatTensorWith([&](Zeb_Tensor_t& t) {
      t.v1.quantizeParams = row.params;
      t.v1.dimensions = nullptr;
    }));
    ASSERT_EQ(written.code, 0u);
    const std::vector<std::string> quantization(written.lines.begin(),
                                                written.lines.begin() + row.lines.size());
    EXPECT_EQ(quantization, row.lines);
    EXPECT_EQ(written.lines[row.lines.size()], kData[0]);
  }
}

TEST(TensorVersion2, AddsDynamicDimensionsSparseLayoutAndProducedFlag) {
  Zeb_Tensor_t t{};
  t.version = ZEB_TENSOR_VERSION_2;
  const Zeb_TensorV1_t v1 = floatTensor().v1;
  t.v2 = {7,         v1.name,   v1.type,      v1.dataFormat, v1.dataType,
          v1.quantizeParams, 2, nullptr,      v1.memType,    {nullptr, 0},
          dynamic,   {ZEB_SPARSE_LAYOUT_HYBRID_COO, {{5}, {2}}}, 1};
  const Written written = write(t);
  ASSERT_EQ(written.code, 0u);
  const std::vector<std::string> expected = {
      kQuantized, "Zeb_ClientBuffer_t B_clientBuf = {NULL, 0};",
      "uint8_t B_isDynamicDimensions[] = {1, 0};",
      "Zeb_TensorV2_t B_v2 = {7, \"in\", (Zeb_TensorType_t)0, 0, (Zeb_DataType_t)562, "
      "B_quantizeParams, 2, NULL, (Zeb_TensorMemType_t)0, B_clientBuf, B_isDynamicDimensions, "
      "{(Zeb_SparseLayoutType_t)0,{5,2}}, 1};",
      "Zeb_Tensor_t B = {(Zeb_TensorVersion_t)2, .v2 = B_v2};"};
  EXPECT_EQ(written.lines, expected);
}

TEST(TensorDataTypes, ReadWholeElementsOfTheirCType) {
  const struct {
    Zeb_DataType_t dataType;
    const char* cType;
    uint64_t size;
  } rows[] = {
      {ZEB_DATATYPE_INT_8, "int8_t", 1},           {ZEB_DATATYPE_INT_16, "int16_t", 2},
      {ZEB_DATATYPE_INT_32, "int32_t", 4},         {ZEB_DATATYPE_INT_64, "int64_t", 8},
      {ZEB_DATATYPE_UINT_8, "uint8_t", 1},         {ZEB_DATATYPE_UINT_16, "uint16_t", 2},
      {ZEB_DATATYPE_UINT_32, "uint32_t", 4},       {ZEB_DATATYPE_UINT_64, "uint64_t", 8},
      {ZEB_DATATYPE_FLOAT_32, "float", 4},         {ZEB_DATATYPE_FLOAT_64, "double", 8},
      {ZEB_DATATYPE_SFIXED_POINT_4, "uint8_t", 1}, {ZEB_DATATYPE_SFIXED_POINT_8, "int8_t", 1},
      {ZEB_DATATYPE_SFIXED_POINT_16, "int16_t", 2}, {ZEB_DATATYPE_SFIXED_POINT_32, "int32_t", 4},
      {ZEB_DATATYPE_UFIXED_POINT_4, "uint8_t", 1}, {ZEB_DATATYPE_UFIXED_POINT_8, "uint8_t", 1},
      {ZEB_DATATYPE_UFIXED_POINT_16, "uint16_t", 2}, {ZEB_DATATYPE_UFIXED_POINT_32, "uint32_t", 4},
  };
  for (const auto& row : rows) {
    const std::string count = std::to_string(16 / row.size);
    const Written written = write(floatTensorWith([&](Zeb_Tensor_t& t) {
      t.v1.dataType = row.dataType;
      t.v1.dimensions = nullptr;
    }));
    ASSERT_EQ(written.code, 0u) << row.cType;
    const bool fourBit = row.dataType == ZEB_DATATYPE_SFIXED_POINT_4 ||
                         row.dataType == ZEB_DATATYPE_UFIXED_POINT_4;
    const std::size_t at = fourBit ? 2 : 1;
    EXPECT_EQ(written.lines[at], "static " + std::string(row.cType) + " B_data[" + count + "];");
    EXPECT_EQ(written.lines[at + 1],
              "fread(B_data, " + std::to_string(row.size) + ", " + count + ", fp);");
    EXPECT_EQ(written.blobBytes, std::vector<uint64_t>{16}) << row.cType;
  }
}

TEST(TensorRefusals, LogAndReturnTheirCodes) {
  const struct {
    Zeb_Tensor_t tensor;
    Zeb_ErrorHandle_t code;
    std::vector<std::string> messages;
  } rows[] = {
      {floatTensorWith([](Zeb_Tensor_t& t) { t.v1.memType = ZEB_TENSORMEMTYPE_MEMHANDLE; }), 6004,
       {"Failed to parse Zeb_Tensor_t, MemHandle is not supported."}},
      {floatTensorWith([](Zeb_Tensor_t& t) {
         t.v1.quantizeParams.quantizationEncoding = static_cast<Zeb_QuantizationEncoding_t>(7);
       }),
       1000, {"Unsupported quantization encoding: 7.\n"}},
      {floatTensorWith([](Zeb_Tensor_t& t) { t.version = static_cast<Zeb_TensorVersion_t>(3); }),
       1000, {"Unsupported tensor version 3.\n", "Unsupported tensor version: 3.\n"}},
      {floatTensorWith([](Zeb_Tensor_t& t) { t.v1.dataType = ZEB_DATATYPE_FLOAT_16; }), 7999,
       {"Invalid Zeb_DataType_t provided: 534"}},
      {floatTensorWith([](Zeb_Tensor_t& t) {
         t.v1.dataType = ZEB_DATATYPE_FLOAT_16, t.v1.clientBuf = {nullptr, 8};
       }),
       0, {}},
  };
  for (const auto& row : rows) {
    test::LogCapture log;
    EXPECT_EQ(write(row.tensor).code, row.code);
    EXPECT_EQ(log.texts(), row.messages);
  }
}

TEST(TensorIds, ReferToTheVariableRegisteredUnderThem) {
  ScribeContext context("context_0");
  Zeb_Tensor_t registered = floatTensor();
  const std::string& name = context.newTensorName();
  ASSERT_EQ(context.registerTensor(registered, name), 0u);

  Zeb_Tensor_t known = floatTensorWith([](Zeb_Tensor_t& t) { t.v1.clientBuf = {nullptr, 0}; });
  known.v1.id = registered.v1.id;
  EXPECT_EQ(write(known, &context).lines[3].rfind("Zeb_TensorV1_t B_v1 = {context_0_tensor_0.v1.id, ", 0), 0u);
  known.v1.id = registered.v1.id + 1000;
  EXPECT_EQ(write(known, &context).lines[3].rfind(
                "Zeb_TensorV1_t B_v1 = {" + std::to_string(known.v1.id) + ", ", 0),
            0u);
}

}  // namespace
}  // namespace zeb::record
