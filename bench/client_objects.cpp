#include "client_objects.h"

#include <cstring>

namespace zeb::bench {

Zeb_Tensor_t floatTensor(const char* name, Zeb_TensorType_t type, const uint32_t* dims,
                         uint32_t rank, const float* data, uint32_t bytes) {
  Zeb_Tensor_t tensor;
  std::memset(&tensor, 0, sizeof tensor);
  tensor.version = ZEB_TENSOR_VERSION_1;
  tensor.v1.name = name;
  tensor.v1.type = type;
  tensor.v1.dataType = ZEB_DATATYPE_FLOAT_32;
  tensor.v1.quantizeParams.encodingDefinition = ZEB_DEFINITION_UNDEFINED;
  tensor.v1.quantizeParams.quantizationEncoding = ZEB_QUANTIZATION_ENCODING_UNDEFINED;
  tensor.v1.rank = rank;
  tensor.v1.dimensions = const_cast<uint32_t*>(dims);
  tensor.v1.memType = ZEB_TENSORMEMTYPE_RAW;
  tensor.v1.clientBuf.data = const_cast<float*>(data);
  tensor.v1.clientBuf.dataSize = data ? bytes : 0;
  return tensor;
}

Zeb_Param_t tensorParam(const char* name, const uint32_t* dims, uint32_t rank,
                        const uint32_t* data, uint32_t count) {
  Zeb_Param_t param;
  std::memset(&param, 0, sizeof param);
  param.paramType = ZEB_PARAMTYPE_TENSOR;
  param.name = name;
  param.tensorParam = floatTensor(name, ZEB_TENSOR_TYPE_STATIC, dims, rank, nullptr, 0);
  param.tensorParam.v1.dataType = ZEB_DATATYPE_UINT_32;
  param.tensorParam.v1.clientBuf.data = const_cast<uint32_t*>(data);
  param.tensorParam.v1.clientBuf.dataSize = count * static_cast<uint32_t>(sizeof(uint32_t));
  return param;
}

namespace {

Zeb_Param_t scalarParam(const char* name, Zeb_DataType_t dataType) {
  Zeb_Param_t param;
  std::memset(&param, 0, sizeof param);
  param.paramType = ZEB_PARAMTYPE_SCALAR;
  param.name = name;
  param.scalarParam.dataType = dataType;
  return param;
}

}  // namespace

Zeb_Param_t uintScalarParam(const char* name, uint32_t value) {
  Zeb_Param_t param = scalarParam(name, ZEB_DATATYPE_UINT_32);
  param.scalarParam.uint32Value = value;
  return param;
}

Zeb_Param_t floatScalarParam(const char* name, float value) {
  Zeb_Param_t param = scalarParam(name, ZEB_DATATYPE_FLOAT_32);
  param.scalarParam.floatValue = value;
  return param;
}

Zeb_Param_t boolScalarParam(const char* name, uint8_t value) {
  Zeb_Param_t param = scalarParam(name, ZEB_DATATYPE_BOOL_8);
  param.scalarParam.bool8Value = value;
  return param;
}

Zeb_OpConfig_t opConfig(const char* name, const char* typeName, Zeb_Param_t* params,
                        uint32_t numParams, Zeb_Tensor_t* inputs, uint32_t numInputs,
                        Zeb_Tensor_t* outputs, uint32_t numOutputs) {
  Zeb_OpConfig_t op;
  std::memset(&op, 0, sizeof op);
  op.version = ZEB_OPCONFIG_VERSION_1;
  op.v1 = {name, "zeb.bench", typeName, numParams, params, numInputs, inputs, numOutputs, outputs};
  return op;
}

ContextConfigs::ContextConfigs() : list{&priority, &reporting, &memoryLimit, nullptr} {
  priority.option = ZEB_CONTEXT_CONFIG_OPTION_PRIORITY;
  priority.priority = ZEB_PRIORITY_HIGH;
  reporting.option = ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING;
  reporting.errorConfig = {ZEB_ERROR_REPORTING_LEVEL_DETAILED, 64};
  memoryLimit.option = ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT;
  memoryLimit.memoryLimitHint = 1u << 30;
}

BackendConfigs::BackendConfigs() : list{&reporting, &platform, nullptr} {
  reporting.option = ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING;
  reporting.errorConfig = {ZEB_ERROR_REPORTING_LEVEL_BRIEF, 0};
  platform.option = ZEB_BACKEND_CONFIG_OPTION_PLATFORM;
  platform.platformOption = "soc_model=42";
}

DeviceConfigs::DeviceConfigs() : list{&config, nullptr} {
  for (uint32_t i = 0; i < 2; ++i) {
    cores[i].version = ZEB_DEVICE_CORE_INFO_VERSION_1;
    cores[i].v1 = {i, 0, nullptr};
  }
  hardware.version = ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1;
  hardware.v1 = {0, 1, 2, cores, nullptr};
  platform.version = ZEB_DEVICE_PLATFORM_INFO_VERSION_1;
  platform.v1 = {1, &hardware};
  config.option = ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO;
  config.hardwareInfo = &platform;
}

}  // namespace zeb::bench
