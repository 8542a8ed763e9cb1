// Makers for the API's records, whose anonymous unions C++17 cannot initialise by
// member name: a zeroed record with one union member set through a member pointer.
#pragma once

#include <array>
#include <cstdint>

#include "ZebInterface.h"

namespace zeb::e2e {

template <class Record, class Option>
Record withOption(Option option) {
  Record record{};
  record.option = option;
  return record;
}
template <class Record, class Option, class Member, class Value>
Record withOption(Option option, Member Record::*member, Value value) {
  Record record = withOption<Record>(option);
  record.*member = static_cast<Member>(value);
  return record;
}

// The NULL-terminated list of pointers to the configurations given.
template <class Config, std::size_t N>
std::array<const Config*, N + 1> listOf(const Config (&configs)[N]) {
  std::array<const Config*, N + 1> list{};
  for (std::size_t i = 0; i < N; ++i) list[i] = &configs[i];
  return list;
}
// Lists without a configuration: empty rather than NULL, as the program writes either.
inline const ZebBackend_Config_t* kNoBackendConfigs[] = {nullptr};
inline const ZebContext_Config_t* kNoContextConfigs[] = {nullptr};
inline const ZebGraph_Config_t* kNoGraphConfigs[] = {nullptr};

// The configuration as a custom one, pointing at something of the client's.
template <class Config> Config custom(Config config) {
  static int opaque;
  config.customConfig = reinterpret_cast<decltype(config.customConfig)>(&opaque);
  return config;
}

using BackendConfig = ZebBackend_Config_t;
using ContextConfig = ZebContext_Config_t;
using Q = Zeb_QuantizeParams_t;
using ErrorConfig = Zeb_ErrorReportingConfig_t;

// A configuration of an option without a value, and one with its value.
#define ZEB_CONFIG_MAKER(name, Record, OPTION) \
  inline Record name() { return withOption<Record>(OPTION); }
#define ZEB_VALUE_MAKER(name, Record, OPTION, Type, member) \
  inline Record name(Type value) { return withOption(OPTION, &Record::member, value); }
ZEB_CONFIG_MAKER(backendCustomNull, BackendConfig, ZEB_BACKEND_CONFIG_OPTION_CUSTOM)
ZEB_VALUE_MAKER(backendPlatform, BackendConfig, ZEB_BACKEND_CONFIG_OPTION_PLATFORM, const char*, platformOption)
ZEB_CONFIG_MAKER(contextCustomNull, ContextConfig, ZEB_CONTEXT_CONFIG_OPTION_CUSTOM)
ZEB_VALUE_MAKER(contextPriority, ContextConfig, ZEB_CONTEXT_CONFIG_OPTION_PRIORITY, int32_t, priority)
ZEB_VALUE_MAKER(contextOemString, ContextConfig, ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING, const char*, oemString)
ZEB_VALUE_MAKER(contextEnableGraphs, ContextConfig, ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS, const char* const*, enableGraphs)
ZEB_VALUE_MAKER(contextMemoryLimitHint, ContextConfig, ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT, uint64_t, memoryLimitHint)
ZEB_VALUE_MAKER(contextPersistentBinary, ContextConfig, ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY, uint8_t, isPersistentBinary)
ZEB_VALUE_MAKER(devicePlatformInfo, ZebDevice_Config_t, ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO,
                const ZebDevice_PlatformInfo_t*, hardwareInfo)
ZEB_CONFIG_MAKER(deviceCustomNull, ZebDevice_Config_t, ZEB_DEVICE_CONFIG_OPTION_CUSTOM)
ZEB_VALUE_MAKER(profileMaxEvents, ZebProfile_Config_t, ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS, uint64_t, numMaxEvents)
ZEB_CONFIG_MAKER(profileCustomNull, ZebProfile_Config_t, ZEB_PROFILE_CONFIG_OPTION_CUSTOM)
ZEB_VALUE_MAKER(graphPriority, ZebGraph_Config_t, ZEB_GRAPH_CONFIG_OPTION_PRIORITY, int32_t, priority)
ZEB_CONFIG_MAKER(graphCustomNull, ZebGraph_Config_t, ZEB_GRAPH_CONFIG_OPTION_CUSTOM)
#undef ZEB_CONFIG_MAKER
#undef ZEB_VALUE_MAKER

inline BackendConfig backendErrorReporting(int32_t level, uint32_t limit) {
  return withOption(ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING, &BackendConfig::errorConfig,
                    ErrorConfig{Zeb_ErrorReportingLevel_t(level), limit});
}
inline ContextConfig contextErrorReporting(int32_t level, uint32_t limit) {
  return withOption(ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING, &ContextConfig::errorConfig,
                    ErrorConfig{Zeb_ErrorReportingLevel_t(level), limit});
}
inline ContextConfig contextAsyncDepth(uint32_t depth) {
  return withOption(ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH, &ContextConfig::asyncExeQueueDepth,
                    ZebContext_AsyncExecutionQueueDepth_t{ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, depth});
}
inline ZebDevice_CoreInfo_t deviceCore(uint32_t id, uint32_t type) { return {ZEB_DEVICE_CORE_INFO_VERSION_1, {id, type, nullptr}}; }
inline ZebDevice_HardwareDeviceInfo_t hardwareDevice(uint32_t id, uint32_t type, uint32_t numCores,
                                                     ZebDevice_CoreInfo_t* cores) {
  return {ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1, {id, type, numCores, cores, nullptr}};
}
inline ZebDevice_PlatformInfo_t platformInfo(uint32_t count, ZebDevice_HardwareDeviceInfo_t* devices) {
  return {ZEB_DEVICE_PLATFORM_INFO_VERSION_1, {count, devices}};
}

// Quantisation of an encoding, with its union member set.
template <class Member, class Value>
Q quantized(Zeb_Definition_t definition, Zeb_QuantizationEncoding_t encoding, Member Q::*member, Value value) {
  Q params{};
  params.encodingDefinition = definition, params.quantizationEncoding = encoding, params.*member = value;
  return params;
}
inline Q noQuantization() {
  return quantized(ZEB_DEFINITION_UNDEFINED, ZEB_QUANTIZATION_ENCODING_UNDEFINED, &Q::scaleOffsetEncoding, Zeb_ScaleOffset_t{});
}
inline Q scaleOffset(float scale, int32_t offset) {
  return quantized(ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET, &Q::scaleOffsetEncoding,
                   Zeb_ScaleOffset_t{scale, offset});
}
inline Q axisScaleOffset(int32_t axis, uint32_t count, Zeb_ScaleOffset_t* pairs) {
  return quantized(ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET,
                   &Q::axisScaleOffsetEncoding, Zeb_AxisScaleOffset_t{axis, count, pairs});
}
inline Q bwScaleOffset(uint32_t bitwidth, float scale, int32_t offset) {
  return quantized(ZEB_DEFINITION_IMPL_GENERATED, ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET,
                   &Q::bwScaleOffsetEncoding, Zeb_BwScaleOffset_t{bitwidth, scale, offset});
}
inline Q bwAxisScaleOffset(uint32_t bitwidth, int32_t axis, uint32_t count, float* scales, int32_t* offsets) {
  return quantized(ZEB_DEFINITION_DEFINED, ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET,
                   &Q::bwAxisScaleOffsetEncoding, Zeb_BwAxisScaleOffset_t{bitwidth, axis, count, scales, offsets});
}

// Every data type whose elements have a size.
inline constexpr int32_t kSizedDataTypes[] = {0x08,  0x16,  0x32,  0x64,  0x108, 0x116, 0x132, 0x164, 0x232,
                                              0x264, 0x304, 0x308, 0x316, 0x332, 0x404, 0x408, 0x416, 0x432};

// A version-1 tensor in raw memory; data may be NULL.
inline Zeb_Tensor_t tensorV1(const char* name, Zeb_TensorType_t type, Zeb_DataType_t dataType, uint32_t rank,
                             uint32_t* dimensions, void* data, uint32_t size, Q quantization = noQuantization()) {
  Zeb_Tensor_t tensor{ZEB_TENSOR_VERSION_1, {}};
  tensor.v1 = {0, name, type, 0, dataType, quantization, rank, dimensions, ZEB_TENSORMEMTYPE_RAW, {data, size}};
  return tensor;
}
// The same description as version 2, with its extra fields.
inline Zeb_Tensor_t tensorV2(const Zeb_Tensor_t& t, uint8_t* isDynamic, Zeb_SparseParams_t sparse, uint8_t isProduced) {
  const Zeb_TensorV1_t& v = t.v1;
  Zeb_Tensor_t tensor{ZEB_TENSOR_VERSION_2, {}};
  tensor.v2 = {v.id, v.name, v.type, v.dataFormat, v.dataType, v.quantizeParams, v.rank, v.dimensions,
               v.memType, v.clientBuf, isDynamic, sparse, isProduced};
  return tensor;
}

template <class Member, class Value>
Zeb_Scalar_t scalar(Zeb_DataType_t dataType, Member Zeb_Scalar_t::*member, Value value) {
  Zeb_Scalar_t scalar{};
  scalar.dataType = dataType, scalar.*member = static_cast<Member>(value);
  return scalar;
}
template <class Member>
Zeb_Param_t param(Zeb_ParamType_t type, const char* name, Member Zeb_Param_t::*member, const Member& value) {
  Zeb_Param_t param{};
  param.paramType = type, param.name = name, param.*member = value;
  return param;
}
inline Zeb_Param_t scalarParam(const char* name, Zeb_Scalar_t value) {
  return param(ZEB_PARAMTYPE_SCALAR, name, &Zeb_Param_t::scalarParam, value);
}
inline Zeb_Param_t tensorParam(const char* name, const Zeb_Tensor_t& tensor) {
  return param(ZEB_PARAMTYPE_TENSOR, name, &Zeb_Param_t::tensorParam, tensor);
}
inline Zeb_OpConfig_t opConfig(const char* name, const char* package, const char* type, uint32_t numParams,
                               Zeb_Param_t* params, uint32_t numInputs, Zeb_Tensor_t* inputs,
                               uint32_t numOutputs, Zeb_Tensor_t* outputs) {
  Zeb_OpConfig_t config{ZEB_OPCONFIG_VERSION_1, {}};
  config.v1 = {name, package, type, numParams, params, numInputs, inputs, numOutputs, outputs};
  return config;
}

// A backend and a context of it, made without configurations and freed with the object.
struct PlainContext {
  using Api = ZEB_INTERFACE_VER_TYPE;
  explicit PlainContext(const Api& zebApi) : api(zebApi) {
    api.backendCreate(nullptr, kNoBackendConfigs, &backend);
    api.contextCreate(backend, nullptr, kNoContextConfigs, &context);
  }
  PlainContext(const PlainContext&) = delete;
  ~PlainContext() { api.contextFree(context, nullptr), api.backendFree(backend); }
  Zeb_GraphHandle_t graph(const char* name) const {  // without configurations
    Zeb_GraphHandle_t graph = nullptr;
    api.graphCreate(context, name, kNoGraphConfigs, &graph);
    return graph;
  }
  const Api& api;
  Zeb_BackendHandle_t backend = nullptr;
  Zeb_ContextHandle_t context = nullptr;
};

}  // namespace zeb::e2e
