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

// The variables that a tensor's statements declare are named after the tensor.
DerivedName dimensionsName(std::string_view base) { return {base, "dims"}; }
DerivedName quantizeParamsName(std::string_view base) { return {base, "quantizeParams"}; }
DerivedName clientBufferName(std::string_view base) { return {base, "clientBuf"}; }

void writeDimensions(const uint32_t* dimensions, uint32_t rank, std::string_view base,
                     StatementBuilder& builder) {
  if (dimensions == nullptr) return;
  builder.writeArrayWith("uint32_t", dimensionsName(base), [&](TextBuffer& elements) {
    for (uint32_t i = 0; i < rank; ++i) appendAll(elements, separatorBefore(i), dimensions[i]);
  });
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

// `Zeb_QuantizeParams_t {base}_quantizeParams = {...};` with the designated
// union member of the encoding as its last parts.
template <class... Member>
void writeQuantizeLine(StatementBuilder& builder, const Zeb_QuantizeParams_t& params,
                       std::string_view base, const Member&... member) {
  builder.writeLineOf("Zeb_QuantizeParams_t ", quantizeParamsName(base), " = {(Zeb_Definition_t)",
                      int32_t{params.encodingDefinition}, ", (Zeb_QuantizationEncoding_t)",
                      int32_t{params.quantizationEncoding}, ", ", member..., "};");
}

// `{base}_quantizeParams`, which the axis encodings name their structures after.
TextBuffer& quantizeParamsText(std::string_view base, StatementBuilder& builder) {
  TextBuffer& name = builder.scratch();
  appendAll(name, quantizeParamsName(base));
  return name;
}

Zeb_ErrorHandle_t writeQuantizeParams(const Zeb_QuantizeParams_t& params, std::string_view base,
                                      StatementBuilder& builder) {
  switch (params.quantizationEncoding) {
    case ZEB_QUANTIZATION_ENCODING_UNDEFINED:
      writeQuantizeLine(builder, params, base, ".scaleOffsetEncoding = {0.0, 0}");
      return ZEB_SUCCESS;
    case ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET: {
      const Zeb_ScaleOffset_t& so = params.scaleOffsetEncoding;
      writeQuantizeLine(builder, params, base, ".scaleOffsetEncoding = {", FloatPiece(so.scale),
                        ", ", so.offset, "}");
      return ZEB_SUCCESS;
    }
    case ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET: {
      const Zeb_BwScaleOffset_t& bw = params.bwScaleOffsetEncoding;
      writeQuantizeLine(builder, params, base, ".bwScaleOffsetEncoding = {", bw.bitwidth, ", ",
                        FloatPiece(bw.scale), ", ", bw.offset, "}");
      return ZEB_SUCCESS;
    }
    // The axis encodings refer to a structure of their own, declared (with its
    // arrays) before the parameters.
    case ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET: {
      const std::string structure = writeAxisScaleOffset(
          params.axisScaleOffsetEncoding, quantizeParamsText(base, builder), builder);
      writeQuantizeLine(builder, params, base, ".axisScaleOffsetEncoding = ", structure);
      return ZEB_SUCCESS;
    }
    case ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET: {
      const std::string structure = writeBwAxisScaleOffset(
          params.bwAxisScaleOffsetEncoding, quantizeParamsText(base, builder), builder);
      writeQuantizeLine(builder, params, base, ".bwAxisScaleOffsetEncoding = ", structure);
      return ZEB_SUCCESS;
    }
  }
  // The caller drops the block, so nothing is written for this encoding.
  zeb::log::error("Unsupported quantization encoding: %d.\n",
                  static_cast<int>(params.quantizationEncoding));
  return ZEB_COMMON_ERROR_NOT_SUPPORTED;
}

Zeb_ErrorHandle_t writeClientBuffer(const Zeb_ClientBuffer_t& buffer, int32_t dataType,
                                    std::string_view base, std::string_view fileVariable,
                                    StatementBuilder& builder) {
  const DerivedName name = clientBufferName(base);
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
  const DerivedName data{base, "data"};
  builder.writeBlobRead(element->cType, data, element->size, buffer.dataSize / element->size,
                        fileVariable, buffer.data);
  builder.writeLineOf("Zeb_ClientBuffer_t ", name, " = {(void*)", data, ", ", buffer.dataSize,
                      "};");
  return ZEB_SUCCESS;
}

// The tensor's id, or a reference to the variable registered under it.
struct TensorId {
  uint32_t id;
  const ScribeContext* ids;
  std::string_view suffix;
};

// A tensor id as the written description holds it.
class TensorIdPiece {
 public:
  explicit TensorIdPiece(const TensorId& id)
      : number_(id.id),
        variable_(id.ids ? id.ids->findTensorName(id.id) : std::string_view()),
        suffix_(id.suffix) {}
  std::size_t size() const {
    return variable_.empty() ? number_.size() : variable_.size() + 1 + suffix_.size() + 3;
  }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    if (variable_.empty()) {
      number_.copyTo(at);
    } else {
      TextPiece{variable_}.copyTo(at);
      *at++ = '.';
      TextPiece{suffix_}.copyTo(at);
      LiteralPiece<4>{".id"}.copyTo(at);
    }
  }

 private:
  NumberPiece number_;
  std::string_view variable_;
  std::string_view suffix_;
};

// The name of an array the tensor's statements declared, or NULL for one
// the client left out.
struct NameOrNullPiece {
  const void* array;
  DerivedNamePiece name;
  std::size_t size() const { return array ? name.size() : 4; }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    if (array) {
      name.copyTo(at);
    } else {
      LiteralPiece<5>{"NULL"}.copyTo(at);
    }
  }
};

NameOrNullPiece nameOrNull(const void* array, const DerivedName& name) {
  return {array, {name.base, name.word}};
}

// The fields both versions begin with, in declaration order.
template <class Body>
void appendCommonFields(TextBuffer& text, const Body& body, std::string_view base,
                        const TensorId& id) {
  appendAll(text, TensorIdPiece(id), ", ", QuotedPiece(body.name), ", (Zeb_TensorType_t)",
            int32_t{body.type}, ", ", body.dataFormat, ", (Zeb_DataType_t)", int32_t{body.dataType},
            ", ", quantizeParamsName(base), ", ", body.rank, ", ",
            nameOrNull(body.dimensions, dimensionsName(base)), ", (Zeb_TensorMemType_t)",
            int32_t{body.memType}, ", ", clientBufferName(base));
}

void writeBodyV1(const Zeb_TensorV1_t& body, std::string_view base, const TensorId& id,
                 StatementBuilder& builder) {
  builder.writeStructWith("Zeb_TensorV1_t", DerivedName{base, id.suffix},
                          [&](TextBuffer& fields) { appendCommonFields(fields, body, base, id); });
}

void writeBodyV2(const Zeb_TensorV2_t& body, std::string_view base, const TensorId& id,
                 StatementBuilder& builder) {
  const DerivedName dynamic{base, "isDynamicDimensions"};
  if (body.isDynamicDimensions != nullptr) {
    builder.writeArrayWith("uint8_t", dynamic, [&](TextBuffer& flags) {
      for (uint32_t i = 0; i < body.rank; ++i)
        appendAll(flags, separatorBefore(i), uint32_t{body.isDynamicDimensions[i]});
    });
  }
  builder.writeStructWith("Zeb_TensorV2_t", DerivedName{base, id.suffix}, [&](TextBuffer& fields) {
    appendCommonFields(fields, body, base, id);
    const Zeb_SparseParams_t& sparse = body.sparseParams;
    appendAll(fields, ", ", nameOrNull(body.isDynamicDimensions, dynamic),
              ", {(Zeb_SparseLayoutType_t)", int32_t{sparse.type}, ",{",
              sparse.hybridCoo.numSpecifiedElements, ",", sparse.hybridCoo.numSparseDimensions,
              "}}, ", uint32_t{body.isProduced});
  });
}

// The statements shared by both versions, up to the versioned body.
template <class Body>
Zeb_ErrorHandle_t writeParts(const Body& body, std::string_view base,
                             std::string_view fileVariable, StatementBuilder& builder) {
  writeDimensions(body.dimensions, body.rank, base, builder);
  if (auto code = writeQuantizeParams(body.quantizeParams, base, builder)) return code;
  if (body.memType != ZEB_TENSORMEMTYPE_RAW) {
    zeb::log::error("Failed to parse Zeb_Tensor_t, MemHandle is not supported.");
    return ZEB_GRAPH_ERROR_INVALID_TENSOR;
  }
  return writeClientBuffer(body.clientBuf, body.dataType, base, fileVariable, builder);
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
  // Both versions share the leading fields, so version 1's view reads them
  // for any version; the body then is written by version.
  if (auto code = writeParts(tensor.v1, baseName, fileVariable, builder)) return code;
  const int32_t version = tensor.version;
  if (version != ZEB_TENSOR_VERSION_1 && version != ZEB_TENSOR_VERSION_2) {
    zeb::log::error("Unsupported tensor version %d.\n", static_cast<int>(version));
    zeb::log::error("Unsupported tensor version: %d.\n", static_cast<int>(version));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  const TensorId id{tensor.v1.id, ids, version == ZEB_TENSOR_VERSION_1 ? "v1" : "v2"};
  if (version == ZEB_TENSOR_VERSION_1) {
    writeBodyV1(tensor.v1, baseName, id, builder);
  } else {
    writeBodyV2(tensor.v2, baseName, id, builder);
  }
  builder.writeLineOf("Zeb_Tensor_t ", baseName, " = {(Zeb_TensorVersion_t)", version, ", .",
                      id.suffix, " = ", DerivedName{baseName, id.suffix}, "};");
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
    appendAll(names, separatorBefore(i), name);
  }
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
