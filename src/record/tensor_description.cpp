#include "record/tensor_description.h"

#include <vector>

#include "log/logger.h"

namespace zeb::record {
namespace {

using Fields = std::vector<StatementBuilder::Field>;

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

std::string writeDimensions(const uint32_t* dimensions, uint32_t rank, const std::string& name,
                            StatementBuilder& builder) {
  if (dimensions == nullptr) return "NULL";
  std::vector<std::string> elements;
  for (uint32_t i = 0; i < rank; ++i) elements.push_back(uintToText(dimensions[i]));
  builder.writeArrayInitializer("uint32_t", name, elements);
  return name;
}

std::string writeAxisScaleOffset(const Zeb_AxisScaleOffset_t& axis, const std::string& quantize,
                                 StatementBuilder& builder) {
  std::string pairs = "NULL";
  if (!missing(axis.scaleOffset, axis.numScaleOffsets)) {
    pairs = quantize + "_scaleOffsets";
    std::vector<std::string> elements;
    for (uint32_t i = 0; i < axis.numScaleOffsets; ++i) {
      const Zeb_ScaleOffset_t& pair = axis.scaleOffset[i];
      elements.push_back("{" + floatToText(pair.scale) + ", " + intToText(pair.offset) + "}");
    }
    builder.writeArrayInitializer("Zeb_ScaleOffset_t", pairs, elements);
  }
  const std::string name = quantize + "_axisScaleOffset";
  builder.writeStructInitializer("Zeb_AxisScaleOffset_t", name,
                                 {axis.axis, axis.numScaleOffsets, pairs});
  return name;
}

std::string writeBwAxisScaleOffset(const Zeb_BwAxisScaleOffset_t& axis,
                                   const std::string& quantize, StatementBuilder& builder) {
  const std::string name = quantize + "_bwAxisScaleOffset";
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
  builder.writeStructInitializer("Zeb_BwAxisScaleOffset_t", name,
                                 {axis.bitwidth, axis.axis, axis.numElements, scales, offsets});
  return name;
}

// The designated union member of the encoding, declaring its arrays first;
// nothing for an encoding that cannot be written.
std::optional<std::string> encodingMember(const Zeb_QuantizeParams_t& params,
                                          const std::string& name, StatementBuilder& builder) {
  switch (params.quantizationEncoding) {
    case ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET: {
      const Zeb_ScaleOffset_t& so = params.scaleOffsetEncoding;
      return ".scaleOffsetEncoding = {" + floatToText(so.scale) + ", " + intToText(so.offset) + "}";
    }
    case ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET:
      return ".axisScaleOffsetEncoding = " +
             writeAxisScaleOffset(params.axisScaleOffsetEncoding, name, builder);
    case ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET: {
      const Zeb_BwScaleOffset_t& bw = params.bwScaleOffsetEncoding;
      return ".bwScaleOffsetEncoding = {" + uintToText(bw.bitwidth) + ", " +
             floatToText(bw.scale) + ", " + intToText(bw.offset) + "}";
    }
    case ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET:
      return ".bwAxisScaleOffsetEncoding = " +
             writeBwAxisScaleOffset(params.bwAxisScaleOffsetEncoding, name, builder);
    case ZEB_QUANTIZATION_ENCODING_UNDEFINED:
      return std::string(".scaleOffsetEncoding = {0.0, 0}");
  }
  return std::nullopt;
}

Zeb_ErrorHandle_t writeQuantizeParams(const Zeb_QuantizeParams_t& params, const std::string& name,
                                      StatementBuilder& builder) {
  const auto member = encodingMember(params, name, builder);
  if (!member) {
    zeb::log::error("Unsupported quantization encoding: %d.\n",
                    static_cast<int>(params.quantizationEncoding));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  builder.writeStructInitializer(
      "Zeb_QuantizeParams_t", name,
      {enumToText("Zeb_Definition_t", params.encodingDefinition),
       enumToText("Zeb_QuantizationEncoding_t", params.quantizationEncoding), *member});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeClientBuffer(const Zeb_ClientBuffer_t& buffer, int32_t dataType,
                                    const std::string& base, const std::string& fileVariable,
                                    StatementBuilder& builder) {
  const std::string name = base + "_clientBuf";
  if (buffer.data == nullptr) {
    builder.writeStructInitializer("Zeb_ClientBuffer_t", name, {"NULL", "0"});
    return ZEB_SUCCESS;
  }
  const auto element = dataTypeToCType(dataType);
  if (!element) {
    zeb::log::error("Invalid Zeb_DataType_t provided: %ld", static_cast<long>(dataType));
    return ZEB_TENSOR_ERROR_GENERAL;
  }
  if (isFourBit(dataType)) builder.writeLine(kFourBitComment);
  // Trailing bytes that do not fill an element are neither written nor read.
  const std::string data = base + "_data";
  builder.writeBlobRead(element->cType, data, element->size, buffer.dataSize / element->size,
                        fileVariable, buffer.data);
  builder.writeStructInitializer("Zeb_ClientBuffer_t", name,
                                 {"(void*)" + data, buffer.dataSize});
  return ZEB_SUCCESS;
}

// The texts of one tensor that its versioned body needs.
struct BodyTexts {
  std::string id;
  std::string dimensions;
  std::string quantizeParams;
  std::string clientBuffer;
};

// The fields both versions begin with, in declaration order.
template <class Body>
Fields commonFields(const Body& body, const BodyTexts& texts) {
  return {texts.id,
          stringToText(body.name),
          enumToText("Zeb_TensorType_t", body.type),
          body.dataFormat,
          enumToText("Zeb_DataType_t", body.dataType),
          texts.quantizeParams,
          body.rank,
          texts.dimensions,
          enumToText("Zeb_TensorMemType_t", body.memType),
          texts.clientBuffer};
}

std::string sparseText(const Zeb_SparseParams_t& sparse) {
  return "{" + enumToText("Zeb_SparseLayoutType_t", sparse.type) + ",{" +
         uintToText(sparse.hybridCoo.numSpecifiedElements) + "," +
         uintToText(sparse.hybridCoo.numSparseDimensions) + "}}";
}

void writeBodyV1(const Zeb_TensorV1_t& body, const BodyTexts& texts, const std::string& name,
                 StatementBuilder& builder) {
  builder.writeStructInitializer("Zeb_TensorV1_t", name, commonFields(body, texts));
}

void writeBodyV2(const Zeb_TensorV2_t& body, const BodyTexts& texts, const std::string& base,
                 const std::string& name, StatementBuilder& builder) {
  std::string dynamic = "NULL";
  if (body.isDynamicDimensions != nullptr) {
    dynamic = base + "_isDynamicDimensions";
    std::vector<std::string> flags;
    for (uint32_t i = 0; i < body.rank; ++i) flags.push_back(uintToText(body.isDynamicDimensions[i]));
    builder.writeArrayInitializer("uint8_t", dynamic, flags);
  }
  Fields fields = commonFields(body, texts);
  fields.insert(fields.end(), {dynamic, sparseText(body.sparseParams), uintToText(body.isProduced)});
  builder.writeStructInitializer("Zeb_TensorV2_t", name, fields);
}

std::string idText(uint32_t id, const ScribeContext* ids, const std::string& suffix) {
  const std::string* variable = ids ? ids->findTensorName(id) : nullptr;
  return variable ? *variable + "." + suffix + ".id" : uintToText(id);
}

// The statements shared by both versions, up to the versioned body.
template <class Body>
Zeb_ErrorHandle_t writeParts(const Body& body, const std::string& base,
                             const std::string& fileVariable, StatementBuilder& builder,
                             BodyTexts& texts) {
  texts.dimensions = writeDimensions(body.dimensions, body.rank, base + "_dims", builder);
  texts.quantizeParams = base + "_quantizeParams";
  if (auto code = writeQuantizeParams(body.quantizeParams, texts.quantizeParams, builder))
    return code;
  if (body.memType != ZEB_TENSORMEMTYPE_RAW) {
    zeb::log::error("Failed to parse Zeb_Tensor_t, MemHandle is not supported.");
    return ZEB_GRAPH_ERROR_INVALID_TENSOR;
  }
  texts.clientBuffer = base + "_clientBuf";
  return writeClientBuffer(body.clientBuf, body.dataType, base, fileVariable, builder);
}

}  // namespace

std::optional<ElementType> dataTypeToCType(int32_t dataType) {
  for (const DataType& entry : kDataTypes) {
    if (entry.value == dataType) return entry.element;
  }
  return std::nullopt;
}

Zeb_ErrorHandle_t writeTensor(const Zeb_Tensor_t& tensor, const std::string& baseName,
                              StatementBuilder& builder, const std::string& fileVariable,
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
  const std::string suffix = version == ZEB_TENSOR_VERSION_1 ? "v1" : "v2";
  const std::string body = baseName + "_" + suffix;
  texts.id = idText(tensor.v1.id, ids, suffix);
  if (version == ZEB_TENSOR_VERSION_1) {
    writeBodyV1(tensor.v1, texts, body, builder);
  } else {
    writeBodyV2(tensor.v2, texts, baseName, body, builder);
  }
  builder.writeStructInitializer(
      "Zeb_Tensor_t", baseName,
      {enumToText("Zeb_TensorVersion_t", version), "." + suffix + " = " + body});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeTensorList(const Zeb_Tensor_t* tensors, uint32_t count,
                                  const std::string& prefix, StatementBuilder& builder,
                                  const ScribeContext* ids, std::vector<std::string>& names) {
  for (uint32_t i = 0; i < count; ++i) {
    names.push_back(prefix + uintToText(i));
    if (auto code = writeTensor(tensors[i], names.back(), builder, "fp", ids)) return code;
    builder.writeBlankLine();
  }
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
