// The recorder's table writing to the null device, and a builder of the API's structures
// from the fuzzer's bytes: counts match their arrays and strings end; only values are the fuzzer's.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ZebInterface.h"
#include "ZebScribe.h"
#include "pal/pal.h"

namespace zeb::fuzz {

using Api = ZEB_INTERFACE_VER_TYPE;

// The table of the recorder linked in; its files open on the null device.
inline const Api& api() {
  static const Api table = [] {
    pal::streamOps().open = [](const char*) { return std::fopen("/dev/null", "ab"); };
    const ZebInterface_t** providers = nullptr; uint32_t count = 0;
    ZebInterface_getProviders(&providers, &count);
    return providers[0]->ZEB_INTERFACE_VER_NAME;
  }();
  return table;
}

// A backend, a context and a graph in it, freed again at the end of an input.
struct Session {
  Session() {
    api().backendCreate(nullptr, nullptr, &backend);
    api().contextCreate(backend, nullptr, nullptr, &context);
    api().graphCreate(context, "g", nullptr, &graph);
  }
  ~Session() { api().contextFree(context, nullptr), api().backendFree(backend); }
  Zeb_BackendHandle_t backend = nullptr; Zeb_ContextHandle_t context = nullptr; Zeb_GraphHandle_t graph = nullptr;
};

inline const std::initializer_list<int32_t> kDataTypes = {
    ZEB_DATATYPE_INT_8,  ZEB_DATATYPE_INT_16,  ZEB_DATATYPE_INT_32,  ZEB_DATATYPE_INT_64,  ZEB_DATATYPE_UINT_8,
    ZEB_DATATYPE_UINT_16, ZEB_DATATYPE_UINT_32, ZEB_DATATYPE_UINT_64, ZEB_DATATYPE_FLOAT_16, ZEB_DATATYPE_FLOAT_32,
    ZEB_DATATYPE_FLOAT_64, ZEB_DATATYPE_SFIXED_POINT_4, ZEB_DATATYPE_SFIXED_POINT_8, ZEB_DATATYPE_UFIXED_POINT_4,
    ZEB_DATATYPE_UFIXED_POINT_16, ZEB_DATATYPE_BOOL_8, ZEB_DATATYPE_STRING, ZEB_DATATYPE_UNDEFINED};

class Builder {
 public:
  explicit Builder(FuzzedDataProvider& data) : data(data) {}
  FuzzedDataProvider& data;

  // Mostly one of the valid values, sometimes any.
  int32_t choose(std::initializer_list<int32_t> valid) {
    if (data.ConsumeIntegralInRange(0, 7) == 0) return data.ConsumeIntegral<int32_t>();
    return valid.begin()[data.ConsumeIntegralInRange<std::size_t>(0, valid.size() - 1)];
  }
  uint32_t count(uint32_t most) { return data.ConsumeIntegralInRange<uint32_t>(0, most); }
  template <class T> T any() { return data.ConsumeIntegral<T>(); }
  float real() { return data.ConsumeFloatingPoint<float>(); }
  // NULL now and then.
  const char* string() {
    if (data.ConsumeIntegralInRange(0, 7) == 0) return nullptr;
    return strings_.emplace_back(data.ConsumeRandomLengthString(40)).c_str();
  }
  // NULL now and then when empty.
  template <class T, class Make> T* array(uint32_t count, Make make) {
    if (count == 0 && data.ConsumeBool()) return nullptr;
    auto elements = std::make_shared<std::vector<T>>();
    for (uint32_t i = 0; i < count; ++i) elements->push_back(make());
    kept_.push_back(elements);
    return elements->data();
  }
  // NULL-terminated.
  template <class T, class Make> const T** list(uint32_t count, Make make) {
    T* records = array<T>(count, make);
    return array<const T*>(count + 1, [&, i = 0u]() mutable { return i < count ? &records[i++] : nullptr; });
  }
  // NULL, or something the recorder must not read.
  template <class Pointer> Pointer opaque() {
    static unsigned char dummy[8];
    return data.ConsumeBool() ? reinterpret_cast<Pointer>(dummy) : nullptr;
  }

  Zeb_QuantizeParams_t quantization() {
    Zeb_QuantizeParams_t params{};
    params.encodingDefinition = Zeb_Definition_t(choose({0, 1, ZEB_DEFINITION_UNDEFINED}));
    params.quantizationEncoding = Zeb_QuantizationEncoding_t(choose({0, 1, 2, 3, ZEB_QUANTIZATION_ENCODING_UNDEFINED}));
    const uint32_t n = count(6);
    const auto whole = [&] { return any<int32_t>(); };
    const auto pair = [&] { return Zeb_ScaleOffset_t{real(), whole()}; };
    if (params.quantizationEncoding == ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET)
      params.axisScaleOffsetEncoding = {whole(), n, array<Zeb_ScaleOffset_t>(n, pair)};
    else if (params.quantizationEncoding == ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET)
      params.bwAxisScaleOffsetEncoding = {any<uint32_t>(), whole(), n, array<float>(n, [&] { return real(); }),
                                          array<int32_t>(n, whole)};
    else
      params.bwScaleOffsetEncoding = {any<uint32_t>(), real(), whole()};
    return params;
  }

  // Both versions begin alike, so version 2's view fills version 1's fields too.
  Zeb_Tensor_t tensor() {
    Zeb_Tensor_t tensor{};
    tensor.version = Zeb_TensorVersion_t(choose({ZEB_TENSOR_VERSION_1, ZEB_TENSOR_VERSION_2}));
    Zeb_TensorV2_t& v = tensor.v2;
    v.id = data.ConsumeBool() ? 0 : any<uint32_t>();
    v.name = string();
    v.type = Zeb_TensorType_t(choose({0, 1, 2, 3, 4, 5}));
    v.dataFormat = any<uint32_t>();
    v.dataType = Zeb_DataType_t(choose(kDataTypes));
    v.quantizeParams = quantization();
    v.rank = count(5);
    v.dimensions = array<uint32_t>(v.rank, [&] { return any<uint32_t>(); });
    v.memType = Zeb_TensorMemType_t(choose({0, 0, 0, 1}));
    const uint32_t size = count(64);
    v.clientBuf = {array<unsigned char>(size, [&] { return any<unsigned char>(); }), size};
    v.isDynamicDimensions = array<uint8_t>(v.rank, [&] { return any<uint8_t>(); });
    v.sparseParams = {Zeb_SparseLayoutType_t(choose({0, 1})), {{any<uint32_t>()}, {any<uint32_t>()}}};
    v.isProduced = any<uint8_t>();
    return tensor;
  }

  Zeb_Param_t param() {
    Zeb_Param_t param{};
    param.paramType = Zeb_ParamType_t(choose({ZEB_PARAMTYPE_SCALAR, ZEB_PARAMTYPE_TENSOR}));
    param.name = string();
    if (param.paramType == ZEB_PARAMTYPE_TENSOR) return param.tensorParam = tensor(), param;
    param.scalarParam.dataType = Zeb_DataType_t(choose(kDataTypes));
    if (param.scalarParam.dataType == ZEB_DATATYPE_STRING) param.scalarParam.stringValue = string();
    else param.scalarParam.uint64Value = any<uint64_t>();
    return param;
  }

  Zeb_OpConfig_t opConfig() {
    Zeb_OpConfig_t config{};
    config.version = Zeb_OpConfigVersion_t(choose({ZEB_OPCONFIG_VERSION_1}));
    Zeb_OpConfigV1_t& v1 = config.v1;
    v1.name = string(), v1.packageName = string(), v1.typeName = string();
    v1.numOfParams = count(4);
    v1.params = array<Zeb_Param_t>(v1.numOfParams, [&] { return param(); });
    v1.numOfInputs = count(3);
    v1.inputTensors = array<Zeb_Tensor_t>(v1.numOfInputs, [&] { return tensor(); });
    v1.numOfOutputs = count(3);
    v1.outputTensors = array<Zeb_Tensor_t>(v1.numOfOutputs, [&] { return tensor(); });
    return config;
  }

 private:
  std::deque<std::string> strings_;
  std::vector<std::shared_ptr<void>> kept_;
};

}  // namespace zeb::fuzz
