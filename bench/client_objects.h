// What a client hands the API in the benchmarked calls: configurations,
// tensors and op configurations, built the way a client builds them.
#pragma once

#include <cstdint>
#include <vector>

#include "ZebInterface.h"

namespace zeb::bench {

// A float tensor of the given dimensions; data may be null (no client buffer).
Zeb_Tensor_t floatTensor(const char* name, Zeb_TensorType_t type, const uint32_t* dims,
                         uint32_t rank, const float* data, uint32_t bytes);

// A static uint32 tensor parameter holding count values.
Zeb_Param_t tensorParam(const char* name, const uint32_t* dims, uint32_t rank,
                        const uint32_t* data, uint32_t count);
Zeb_Param_t uintScalarParam(const char* name, uint32_t value);
Zeb_Param_t floatScalarParam(const char* name, float value);
Zeb_Param_t boolScalarParam(const char* name, uint8_t value);

Zeb_OpConfig_t opConfig(const char* name, const char* typeName, Zeb_Param_t* params,
                        uint32_t numParams, Zeb_Tensor_t* inputs, uint32_t numInputs,
                        Zeb_Tensor_t* outputs, uint32_t numOutputs);

// The convolution's graph tensors, without data: input, weights, bias, output.
struct ConvolutionTensors {
  static constexpr uint32_t kActivationDims[] = {1, 16, 16, 8};
  static constexpr uint32_t kWeightDims[] = {3, 3, 8, 8};
  static constexpr uint32_t kBiasDims[] = {8};
  Zeb_Tensor_t input = floatTensor("input", ZEB_TENSOR_TYPE_APP_WRITE, kActivationDims, 4, nullptr, 0);
  Zeb_Tensor_t weights = floatTensor("weights", ZEB_TENSOR_TYPE_STATIC, kWeightDims, 4, nullptr, 0);
  Zeb_Tensor_t bias = floatTensor("bias", ZEB_TENSOR_TYPE_STATIC, kBiasDims, 1, nullptr, 0);
  Zeb_Tensor_t output = floatTensor("output", ZEB_TENSOR_TYPE_APP_READ, kActivationDims, 4, nullptr, 0);
};

// The three context configurations of the context benchmark: priority,
// error reporting, memory limit hint; NULL-terminated.
struct ContextConfigs {
  ContextConfigs();
  ZebContext_Config_t priority{}, reporting{}, memoryLimit{};
  const ZebContext_Config_t* list[4];
};

// The two backend configurations of the backend benchmark: error reporting
// and platform option; NULL-terminated.
struct BackendConfigs {
  BackendConfigs();
  ZebBackend_Config_t reporting{}, platform{};
  const ZebBackend_Config_t* list[3];
};

// One device configuration: a platform of one hardware device with two cores.
struct DeviceConfigs {
  DeviceConfigs();
  ZebDevice_CoreInfo_t cores[2]{};
  ZebDevice_HardwareDeviceInfo_t hardware{};
  ZebDevice_PlatformInfo_t platform{};
  ZebDevice_Config_t config{};
  const ZebDevice_Config_t* list[2];
};

}  // namespace zeb::bench
