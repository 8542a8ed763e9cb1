#include "record/tensor_description.h"

#include <vector>

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

struct DataType {
  int32_t value;
  ElementType element;
};

// 4-bit types travel as one byte per element.
constexpr DataType kDataTypes[] = {
    {ZEB_DATATYPE_INT_8, {"int8_t", 1}},           {ZEB_DATATYPE_INT_16, {"int16_t", 2}},
    {ZEB_DATATYPE_INT_32, {"int32_t", 4}},         {ZEB_DATATYPE_INT_64, {"int64_t", 8}},
    {ZEB_DATATYPE_UINT_8, {"uint8_t", 1}},         {ZEB_DATATYPE_UINT_16, {"uint16_t", 2}},
    {ZEB_DATATYPE_UINT_32, {"uint32_t", 4}},       {ZEB_DATATYPE_UINT_64, {"uint64_t", 8}},
    {ZEB_DATATYPE_FLOAT_32, {"float", 4}},         {ZEB_DATATYPE_FLOAT_64, {"double", 8}},
    {ZEB_DATATYPE_SFIXED_POINT_4, {"uint8_t", 1}}, {ZEB_DATATYPE_SFIXED_POINT_8, {"int8_t", 1}},
    {ZEB_DATATYPE_SFIXED_POINT_16, {"int16_t", 2}}, {ZEB_DATATYPE_SFIXED_POINT_32, {"int32_t", 4}},
    {ZEB_DATATYPE_UFIXED_POINT_4, {"uint8_t", 1}}, {ZEB_DATATYPE_UFIXED_POINT_8, {"uint8_t", 1}},
    {ZEB_DATATYPE_UFIXED_POINT_16, {"uint16_t", 2}}, {ZEB_DATATYPE_UFIXED_POINT_32, {"uint32_t", 4}},
};

constexpr const char* kFourBitComment =
    "// Reading 4-bit fixed point tensor data into a byte array since there is not a native "
    "4-bit datatype.";

bool isFourBit(int32_t dataType) {
  return dataType == ZEB_DATATYPE_SFIXED_POINT_4 || dataType == ZEB_DATATYPE_UFIXED_POINT_4;
}

// A counted array that the client left NULL is written as NULL rather than read.
bool missing(const void* items, uint32_t count) { return items == nullptr && count > 0; }

// The name of the dimensions array, or NULL.
std::string_view writeDimensions(const uint32_t* dimensions, uint32_t rank, std::string_view base,
                                 StatementBuilder& builder) {
  if (dimensions == nullptr) return "NULL";
  const TextBuffer& name = composeName(builder, base, "dims");
  TextBuffer& elements = builder.scratch();
  for (uint32_t i = 0; i < rank; ++i) appendAll(elements, i > 0 ? ", " : "", dimensions[i]);
  builder.writeJoinedArray("uint32_t", name, elements);
  return name;
}

std::string writeAxisScaleOffset(const Zeb_AxisScaleOffset_t& axis, std::string_view quantize,
                                 StatementBuilder& builder) {
  std::string pairs = "NULL";
  if (!missing(axis.scaleOffset, axis.numScaleOffsets)) {
    pairs = composeName(builder, quantize, "scaleOffsets");
    std::vector<std::string> elements;
    for (uint32_t i = 0; i < axis.numScaleOffsets; ++i) {
      const Zeb_ScaleOffset_t& pair = axis.scaleOffset[i];
      elements.push_back("{" + floatToText(pair.scale) + ", " + intToText(pair.offset) + "}");
    }
    builder.writeArrayInitializer("Zeb_ScaleOffset_t", pairs, elements);
  }
  const std::string name(composeName(builder, quantize, "axisScaleOffset"));
  builder.writeLineOf("Zeb_AxisScaleOffset_t ", name, " = {", axis.axis, ", ",
                      axis.numScaleOffsets, ", ", pairs, "};");
  return name;
}

std::string writeBwAxisScaleOffset(const Zeb_BwAxisScaleOffset_t& axis,
                                   std::string_view quantize, StatementBuilder& builder) {
  const std::string name(composeName(builder, quantize, "bwAxisScaleOffset"));
  std::string scales = "NULL";
  if (!missing(axis.scales, axis.numElements)) {
    scales = name + "_scales";
    builder.writeArrayInitializer(
        "float", scales, std::vector<float>(axis.scales, axis.scales + axis.numElements));
  }
  std::string offsets = "NULL";
  if (!missing(axis.offsets, axis.numElements)) {
    offsets = name + "_offsets";
    builder.writeArrayInitializer(
        "int32_t", offsets, std::vector<int32_t>(axis.offsets, axis.offsets + axis.numElements));
  }
  builder.writeLineOf("Zeb_BwAxisScaleOffset_t ", name, " = {", axis.bitwidth, ", ", axis.axis,
                      ", ", axis.numElements, ", ", scales, ", ", offsets, "};");
  return name;
}

// Appends the designated union member of the encoding to member, declaring
// its arrays first; false for an encoding that cannot be written.
bool appendEncodingMember(TextBuffer& member, const Zeb_QuantizeParams_t& params,
                          std::string_view name, StatementBuilder& builder) {
  switch (params.quantizationEncoding) {
    case ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET: {
      const Zeb_ScaleOffset_t& so = params.scaleOffsetEncoding;
      member += ".scaleOffsetEncoding = {";
      appendFloat(member, so.scale);
      appendAll(member, ", ", so.offset, "}");
      return true;
    }
    case ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET:
      appendAll(member, ".axisScaleOffsetEncoding = ",
                writeAxisScaleOffset(params.axisScaleOffsetEncoding, name, builder));
      return true;
    case ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET: {
      const Zeb_BwScaleOffset_t& bw = params.bwScaleOffsetEncoding;
      appendAll(member, ".bwScaleOffsetEncoding = {", bw.bitwidth, ", ");
      appendFloat(member, bw.scale);
      appendAll(member, ", ", bw.offset, "}");
      return true;
    }
    case ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET:
      appendAll(member, ".bwAxisScaleOffsetEncoding = ",
                writeBwAxisScaleOffset(params.bwAxisScaleOffsetEncoding, name, builder));
      return true;
    case ZEB_QUANTIZATION_ENCODING_UNDEFINED:
      member += ".scaleOffsetEncoding = {0.0, 0}";
      return true;
  }
  return false;
}

Zeb_ErrorHandle_t writeQuantizeParams(const Zeb_QuantizeParams_t& params, std::string_view name,
                                      StatementBuilder& builder) {
  TextBuffer& fields = builder.scratch();
  appendEnum(fields, "Zeb_Definition_t", params.encodingDefinition);
  fields += ", ";
  appendEnum(fields, "Zeb_QuantizationEncoding_t", params.quantizationEncoding);
  fields += ", ";
  if (!appendEncodingMember(fields, params, name, builder)) {
    zeb::log::error("Unsupported quantization encoding: %d.\n",
                    static_cast<int>(params.quantizationEncoding));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  builder.writeLineOf("Zeb_QuantizeParams_t ", name, " = {", fields, "};");
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeClientBuffer(const Zeb_ClientBuffer_t& buffer, int32_t dataType,
                                    std::string_view base, std::string_view name,
                                    std::string_view fileVariable, StatementBuilder& builder) {
  if (buffer.data == nullptr) {
    builder.writeLineOf("Zeb_ClientBuffer_t ", name, " = {NULL, 0};");
    return ZEB_SUCCESS;
  }
  const auto element = dataTypeToCType(dataType);
  if (!element) {
    zeb::log::error("Invalid Zeb_DataType_t provided: %ld", static_cast<long>(dataType));
    return ZEB_TENSOR_ERROR_GENERAL;
  }
  if (isFourBit(dataType)) builder.writeLine(kFourBitComment);
  // Trailing bytes that do not fill an element are neither written nor read.
  const TextBuffer& data = composeName(builder, base, "data");
  builder.writeBlobRead(element->cType, data, element->size, buffer.dataSize / element->size,
                        fileVariable, buffer.data);
  builder.writeStructWith("Zeb_ClientBuffer_t", name, [&](TextBuffer& fields) {
    appendAll(fields, "(void*)", data, ", ", buffer.dataSize);
  });
  return ZEB_SUCCESS;
}

// The texts of one tensor that its versioned body needs.
struct BodyTexts {
  std::string_view id;
  std::string_view dimensions;
  std::string_view quantizeParams;
  std::string_view clientBuffer;
};

// The fields both versions begin with, in declaration order.
template <class Body>
void appendCommonFields(TextBuffer& text, const Body& body, const BodyTexts& texts) {
  appendAll(text, texts.id, ", ");
  appendString(text, body.name);
  text += ", ";
  appendEnum(text, "Zeb_TensorType_t", body.type);
  appendAll(text, ", ", body.dataFormat, ", ");
  appendEnum(text, "Zeb_DataType_t", body.dataType);
  appendAll(text, ", ", texts.quantizeParams, ", ", body.rank, ", ", texts.dimensions, ", ");
  appendEnum(text, "Zeb_TensorMemType_t", body.memType);
  appendAll(text, ", ", texts.clientBuffer);
}

void appendSparse(TextBuffer& text, const Zeb_SparseParams_t& sparse) {
  text += "{";
  appendEnum(text, "Zeb_SparseLayoutType_t", sparse.type);
  appendAll(text, ",{", sparse.hybridCoo.numSpecifiedElements, ",",
            sparse.hybridCoo.numSparseDimensions, "}}");
}

void writeBodyV1(const Zeb_TensorV1_t& body, const BodyTexts& texts, std::string_view name,
                 StatementBuilder& builder) {
  builder.writeStructWith("Zeb_TensorV1_t", name,
                          [&](TextBuffer& fields) { appendCommonFields(fields, body, texts); });
}

void writeBodyV2(const Zeb_TensorV2_t& body, const BodyTexts& texts, std::string_view base,
                 std::string_view name, StatementBuilder& builder) {
  TextBuffer& dynamic = builder.scratch();
  if (body.isDynamicDimensions == nullptr) {
    dynamic = "NULL";
  } else {
    appendAll(dynamic, base, "_isDynamicDimensions");
    TextBuffer& flags = builder.scratch();
    for (uint32_t i = 0; i < body.rank; ++i)
      appendAll(flags, i > 0 ? ", " : "", uint32_t{body.isDynamicDimensions[i]});
    builder.writeJoinedArray("uint8_t", dynamic, flags);
  }
  builder.writeStructWith("Zeb_TensorV2_t", name, [&](TextBuffer& fields) {
    appendCommonFields(fields, body, texts);
    appendAll(fields, ", ", dynamic, ", ");
    appendSparse(fields, body.sparseParams);
    appendAll(fields, ", ", uint32_t{body.isProduced});
  });
}

// The tensor's id, or a reference to the variable registered under it.
std::string_view idText(uint32_t id, const ScribeContext* ids, std::string_view suffix,
                        StatementBuilder& builder) {
  TextBuffer& text = builder.scratch();
  const std::string_view variable = ids ? ids->findTensorName(id) : std::string_view();
  if (!variable.empty()) {
    appendAll(text, variable, ".", suffix, ".id");
  } else {
    appendText(text, id);
  }
  return text;
}

// The statements shared by both versions, up to the versioned body.
template <class Body>
Zeb_ErrorHandle_t writeParts(const Body& body, std::string_view base,
                             std::string_view fileVariable, StatementBuilder& builder,
                             BodyTexts& texts) {
  texts.dimensions = writeDimensions(body.dimensions, body.rank, base, builder);
  texts.quantizeParams = composeName(builder, base, "quantizeParams");
  if (auto code = writeQuantizeParams(body.quantizeParams, texts.quantizeParams, builder))
    return code;
  if (body.memType != ZEB_TENSORMEMTYPE_RAW) {
    zeb::log::error("Failed to parse Zeb_Tensor_t, MemHandle is not supported.");
    return ZEB_GRAPH_ERROR_INVALID_TENSOR;
  }
  texts.clientBuffer = composeName(builder, base, "clientBuf");
  return writeClientBuffer(body.clientBuf, body.dataType, base, texts.clientBuffer, fileVariable,
                           builder);
}

}  // namespace

std::optional<ElementType> dataTypeToCType(int32_t dataType) {
  for (const DataType& entry : kDataTypes) {
    if (entry.value == dataType) return entry.element;
  }
  return std::nullopt;
}

Zeb_ErrorHandle_t writeTensor(const Zeb_Tensor_t& tensor, std::string_view baseName,
                              StatementBuilder& builder, std::string_view fileVariable,
                              const ScribeContext* ids) {
  BodyTexts texts;
  // Both versions share the leading fields, so version 1's view reads them
  // for any version; the body then is written by version.
  if (auto code = writeParts(tensor.v1, baseName, fileVariable, builder, texts)) return code;
  const int32_t version = tensor.version;
  if (version != ZEB_TENSOR_VERSION_1 && version != ZEB_TENSOR_VERSION_2) {
    zeb::log::error("Unsupported tensor version %d.\n", static_cast<int>(version));
    zeb::log::error("Unsupported tensor version: %d.\n", static_cast<int>(version));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  const std::string_view suffix = version == ZEB_TENSOR_VERSION_1 ? "v1" : "v2";
  const TextBuffer& body = composeName(builder, baseName, suffix);
  texts.id = idText(tensor.v1.id, ids, suffix, builder);
  if (version == ZEB_TENSOR_VERSION_1) {
    writeBodyV1(tensor.v1, texts, body, builder);
  } else {
    writeBodyV2(tensor.v2, texts, baseName, body, builder);
  }
  builder.writeStructWith("Zeb_Tensor_t", baseName, [&](TextBuffer& fields) {
    appendEnum(fields, "Zeb_TensorVersion_t", version);
    appendAll(fields, ", .", suffix, " = ", body);
  });
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeTensorList(const Zeb_Tensor_t* tensors, uint32_t count,
                                  std::string_view prefix, StatementBuilder& builder,
                                  const ScribeContext* ids, TextBuffer& names) {
  for (uint32_t i = 0; i < count; ++i) {
    TextBuffer& name = builder.scratch();
    appendAll(name, prefix, i);
    if (auto code = writeTensor(tensors[i], name, builder, "fp", ids)) return code;
    builder.writeBlankLine();
    appendAll(names, i > 0 ? ", " : "", name);
  }
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
