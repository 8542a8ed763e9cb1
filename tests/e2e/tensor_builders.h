// Makers for tensor descriptions, parameters and operation configurations,
// whose anonymous unions C++17 cannot initialise by member name. Shared by
// the hand-written and the random scenarios.
#pragma once

#include <cstdint>

#include "ZebInterface.h"

namespace zeb::e2e {

inline Zeb_QuantizeParams_t noQuantization() {
  Zeb_QuantizeParams_t params{};
  params.encodingDefinition = ZEB_DEFINITION_UNDEFINED;
  params.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  return params;
}

inline Zeb_QuantizeParams_t scaleOffset(float scale, int32_t offset) {
  Zeb_QuantizeParams_t params{};
  params.encodingDefinition = ZEB_DEFINITION_DEFINED;
  params.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET;
  params.scaleOffsetEncoding = {scale, offset};
  return params;
}

inline Zeb_QuantizeParams_t axisScaleOffset(int32_t axis, uint32_t count,
                                            Zeb_ScaleOffset_t* pairs) {
  Zeb_QuantizeParams_t params{};
  params.encodingDefinition = ZEB_DEFINITION_DEFINED;
  params.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET;
  params.axisScaleOffsetEncoding = {axis, count, pairs};
  return params;
}

inline Zeb_QuantizeParams_t bwScaleOffset(uint32_t bitwidth, float scale, int32_t offset) {
  Zeb_QuantizeParams_t params{};
  params.encodingDefinition = ZEB_DEFINITION_IMPL_GENERATED;
  params.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET;
  params.bwScaleOffsetEncoding = {bitwidth, scale, offset};
  return params;
}

inline Zeb_QuantizeParams_t bwAxisScaleOffset(uint32_t bitwidth, int32_t axis, uint32_t count,
                                              float* scales, int32_t* offsets) {
  Zeb_QuantizeParams_t params{};
  params.encodingDefinition = ZEB_DEFINITION_DEFINED;
  params.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET;
  params.bwAxisScaleOffsetEncoding = {bitwidth, axis, count, scales, offsets};
  return params;
}

// A version-1 tensor; data may be NULL.
inline Zeb_Tensor_t tensorV1(const char* name, Zeb_TensorType_t type, Zeb_DataType_t dataType,
                             uint32_t rank, uint32_t* dimensions, void* data, uint32_t dataSize,
                             Zeb_QuantizeParams_t quantization = noQuantization()) {
  Zeb_Tensor_t tensor{};
  tensor.version = ZEB_TENSOR_VERSION_1;
  Zeb_TensorV1_t& v1 = tensor.v1;
  v1.name = name;
  v1.type = type;
  v1.dataType = dataType;
  v1.quantizeParams = quantization;
  v1.rank = rank;
  v1.dimensions = dimensions;
  v1.memType = ZEB_TENSORMEMTYPE_RAW;
  v1.clientBuf = {data, dataSize};
  return tensor;
}

// The same description as version 2, with its extra fields.
inline Zeb_Tensor_t tensorV2(const Zeb_Tensor_t& v1Tensor, uint8_t* isDynamic,
                             Zeb_SparseParams_t sparse, uint8_t isProduced) {
  Zeb_Tensor_t tensor{};
  tensor.version = ZEB_TENSOR_VERSION_2;
  const Zeb_TensorV1_t& v1 = v1Tensor.v1;
  tensor.v2 = {v1.id,   v1.name,       v1.type,       v1.dataFormat, v1.dataType,
               v1.quantizeParams, v1.rank, v1.dimensions, v1.memType, v1.clientBuf,
               isDynamic, sparse, isProduced};
  return tensor;
}

inline Zeb_Scalar_t scalarOf(Zeb_DataType_t dataType) {
  Zeb_Scalar_t scalar{};
  scalar.dataType = dataType;
  return scalar;
}

inline Zeb_Param_t scalarParam(const char* name, Zeb_Scalar_t scalar) {
  Zeb_Param_t param{};
  param.paramType = ZEB_PARAMTYPE_SCALAR;
  param.name = name;
  param.scalarParam = scalar;
  return param;
}

inline Zeb_Param_t tensorParam(const char* name, const Zeb_Tensor_t& tensor) {
  Zeb_Param_t param{};
  param.paramType = ZEB_PARAMTYPE_TENSOR;
  param.name = name;
  param.tensorParam = tensor;
  return param;
}

inline Zeb_OpConfig_t opConfig(const char* name, const char* package, const char* type,
                               uint32_t numParams, Zeb_Param_t* params, uint32_t numInputs,
                               Zeb_Tensor_t* inputs, uint32_t numOutputs, Zeb_Tensor_t* outputs) {
  Zeb_OpConfig_t config{};
  config.version = ZEB_OPCONFIG_VERSION_1;
  config.v1 = {name, package, type, numParams, params, numInputs, inputs, numOutputs, outputs};
  return config;
}

inline ZebGraph_Config_t graphPriority(int32_t priority) {
  ZebGraph_Config_t config{};
  config.option = ZEB_GRAPH_CONFIG_OPTION_PRIORITY;
  config.priority = static_cast<Zeb_Priority_t>(priority);
  return config;
}

inline ZebGraph_Config_t graphCustomNull() {
  ZebGraph_Config_t config{};
  config.option = ZEB_GRAPH_CONFIG_OPTION_CUSTOM;
  config.customConfig = nullptr;
  return config;
}

}  // namespace zeb::e2e
