#include "random_tensors.h"

#include <cfloat>
#include <cstring>
#include <vector>

#include "tensor_builders.h"

namespace zeb::e2e {
namespace {

// Data types whose elements have a size, so that a tensor of them may carry data.
constexpr Zeb_DataType_t kSizedTypes[] = {
    ZEB_DATATYPE_INT_8,           ZEB_DATATYPE_INT_16,          ZEB_DATATYPE_INT_32,
    ZEB_DATATYPE_INT_64,          ZEB_DATATYPE_UINT_8,          ZEB_DATATYPE_UINT_16,
    ZEB_DATATYPE_UINT_32,         ZEB_DATATYPE_UINT_64,         ZEB_DATATYPE_FLOAT_32,
    ZEB_DATATYPE_FLOAT_64,        ZEB_DATATYPE_SFIXED_POINT_4,  ZEB_DATATYPE_SFIXED_POINT_8,
    ZEB_DATATYPE_SFIXED_POINT_16, ZEB_DATATYPE_SFIXED_POINT_32, ZEB_DATATYPE_UFIXED_POINT_4,
    ZEB_DATATYPE_UFIXED_POINT_8,  ZEB_DATATYPE_UFIXED_POINT_16, ZEB_DATATYPE_UFIXED_POINT_32,
};

// Data types a description may name as long as it carries no data.
constexpr Zeb_DataType_t kUnsizedTypes[] = {ZEB_DATATYPE_FLOAT_16, ZEB_DATATYPE_BOOL_8,
                                            ZEB_DATATYPE_STRING, ZEB_DATATYPE_UNDEFINED};

constexpr Zeb_TensorType_t kTensorTypes[] = {
    ZEB_TENSOR_TYPE_APP_WRITE, ZEB_TENSOR_TYPE_APP_READ, ZEB_TENSOR_TYPE_APP_READWRITE,
    ZEB_TENSOR_TYPE_NATIVE,    ZEB_TENSOR_TYPE_STATIC,   ZEB_TENSOR_TYPE_NULL,
    ZEB_TENSOR_TYPE_UNDEFINED};

constexpr Zeb_Definition_t kDefinitions[] = {
    ZEB_DEFINITION_IMPL_GENERATED, ZEB_DEFINITION_DEFINED, ZEB_DEFINITION_UNDEFINED};

// Bytes per element; 0 for a data type that cannot carry data.
uint32_t elementSize(Zeb_DataType_t dataType) {
  for (const Zeb_DataType_t sized : kSizedTypes) {
    if (sized != dataType) continue;
    switch (static_cast<uint32_t>(dataType) & 0xFFu) {
      case 0x16: return 2;
      case 0x32: return 4;
      case 0x64: return 8;
      default: return 1;  // 8-bit types, and 4-bit ones carried one per byte
    }
  }
  return 0;
}

// count elements of the given type, each draw a statement of its own.
template <class T, class Draw>
T* someOf(Arena& arena, uint32_t count, Draw draw) {
  std::vector<T> values;
  for (uint32_t i = 0; i < count; ++i) values.push_back(draw());
  return arena.keepAddressed(std::move(values));
}

// A counted array: NULL now and then (also with a nonzero count), else count elements.
template <class T, class Draw>
T* maybeSomeOf(Prng& rng, Arena& arena, uint32_t count, Draw draw) {
  if (rng.oneIn(5)) return nullptr;
  return someOf<T>(arena, count, draw);
}

Zeb_QuantizeParams_t quantization(Prng& rng, Arena& arena) {
  const auto definition = rng.pick(kDefinitions);
  Zeb_QuantizeParams_t params = noQuantization();
  switch (rng.below(5)) {
    case 0: break;
    case 1: {
      const float scale = anyFloat(rng);
      const int32_t offset = anyInt32(rng);
      params = scaleOffset(scale, offset);
      break;
    }
    case 2: {
      const int32_t axis = anyInt32(rng);
      const uint32_t count = rng.below(4);
      auto* pairs = maybeSomeOf<Zeb_ScaleOffset_t>(rng, arena, count, [&] {
        const float scale = anyFloat(rng);
        const int32_t offset = anyInt32(rng);
        return Zeb_ScaleOffset_t{scale, offset};
      });
      params = axisScaleOffset(axis, count, pairs);
      break;
    }
    case 3: {
      static const uint32_t bitwidths[] = {4, 8, 16, 32, 0, 0xFFFFFFFFu};
      const uint32_t bitwidth = rng.pick(bitwidths);
      const float scale = anyFloat(rng);
      const int32_t offset = anyInt32(rng);
      params = bwScaleOffset(bitwidth, scale, offset);
      break;
    }
    default: {
      const uint32_t bitwidth = rng.oneIn(2) ? 4u : rng.next32();
      const int32_t axis = anyInt32(rng);
      const uint32_t count = rng.below(4);
      float* scales = maybeSomeOf<float>(rng, arena, count, [&] { return anyFloat(rng); });
      int32_t* offsets = maybeSomeOf<int32_t>(rng, arena, count, [&] { return anyInt32(rng); });
      params = bwAxisScaleOffset(bitwidth, axis, count, scales, offsets);
      break;
    }
  }
  params.encodingDefinition = definition;
  return params;
}

uint32_t dimension(Prng& rng) {
  static const uint32_t special[] = {0, 1, 0xFFFFFFFFu};
  return rng.oneIn(6) ? rng.pick(special) : 1 + rng.below(8);
}

// Up to 16 whole elements of random bytes, or no data at all.
Zeb_ClientBuffer_t clientBuffer(Prng& rng, Arena& arena, Zeb_DataType_t dataType, bool withData) {
  const uint32_t size = elementSize(dataType);
  if (!withData || size == 0) {
    // The size of a buffer without data means nothing; it is passed all the same.
    const uint32_t ignoredSize = rng.oneIn(3) ? rng.below(64) : 0;
    return {nullptr, ignoredSize};
  }
  const uint32_t bytes = size * rng.below(17);
  std::vector<uint8_t> data;
  for (uint32_t i = 0; i < bytes; ++i) data.push_back(static_cast<uint8_t>(rng.next32()));
  return {arena.keepAddressed(std::move(data)), bytes};
}

}  // namespace

float anyFloat(Prng& rng) {
  static const float special[] = {0.0f,        1.0f,   0.5f,   -1.25f,   0.0039215689f,
                                  3.0e-7f,     1e9f,   FLT_MAX, -FLT_MAX, FLT_MIN,
                                  FLT_TRUE_MIN, 123456792.0f};
  if (rng.oneIn(2)) return rng.pick(special);
  uint32_t bits = rng.next32();
  // An all-ones exponent would be infinity or NaN: clear its lowest bit.
  if ((bits & 0x7F800000u) == 0x7F800000u) bits &= ~0x00800000u;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint32_t unregisteredId(Prng& rng) { return rng.oneIn(4) ? 0x80000000u | rng.next32() : 0; }

Zeb_Tensor_t freshTensor(Prng& rng, Arena& arena) {
  const bool version2 = rng.oneIn(2);
  const uint32_t id = unregisteredId(rng);
  const char* name = maybeText(rng, arena);
  const Zeb_TensorType_t type = rng.pick(kTensorTypes);
  const uint32_t dataFormat = rng.oneIn(4) ? rng.next32() : 0;
  const bool withData = !rng.oneIn(3);
  const Zeb_DataType_t dataType =
      !withData && rng.oneIn(4) ? rng.pick(kUnsizedTypes) : rng.pick(kSizedTypes);
  const Zeb_QuantizeParams_t quantizeParams = quantization(rng, arena);
  const uint32_t rank = rng.below(5);
  uint32_t* dimensions = rng.oneIn(5) ? nullptr
                                      : someOf<uint32_t>(arena, rank, [&] { return dimension(rng); });
  const Zeb_ClientBuffer_t buffer = clientBuffer(rng, arena, dataType, withData);

  Zeb_Tensor_t tensor = tensorV1(name, type, dataType, rank, dimensions, buffer.data,
                                 buffer.dataSize, quantizeParams);
  tensor.v1.id = id;
  tensor.v1.dataFormat = dataFormat;
  if (!version2) return tensor;

  uint8_t* dynamic = maybeSomeOf<uint8_t>(rng, arena, rank, [&] {
    return static_cast<uint8_t>(rng.oneIn(4) ? rng.next32() : rng.below(2));
  });
  const Zeb_SparseLayoutType_t layout =
      rng.oneIn(3) ? ZEB_SPARSE_LAYOUT_UNDEFINED : ZEB_SPARSE_LAYOUT_HYBRID_COO;
  const uint32_t specified = rng.oneIn(2) ? rng.below(16) : rng.next32();
  const uint32_t sparseDimensions = rng.below(5);
  const auto isProduced = static_cast<uint8_t>(rng.oneIn(4) ? rng.next32() : rng.below(2));
  return tensorV2(tensor, dynamic, {layout, {{specified}, {sparseDimensions}}}, isProduced);
}

Zeb_Tensor_t withFreshData(Prng& rng, Arena& arena, Zeb_Tensor_t tensor) {
  // Both versions keep the fields up to the client buffer at the same place.
  Zeb_TensorV1_t& body = tensor.v1;
  const bool withData = !rng.oneIn(4);
  body.clientBuf = clientBuffer(rng, arena, body.dataType, withData);
  return tensor;
}

Zeb_Param_t scalarParameter(Prng& rng, Arena& arena) {
  const char* name = maybeText(rng, arena);
  Zeb_Scalar_t scalar{};
  switch (rng.below(9)) {
    case 0:
      scalar = scalarOf(ZEB_DATATYPE_INT_8);
      scalar.int8Value = static_cast<int8_t>(rng.next32());
      break;
    case 1:
      scalar = scalarOf(ZEB_DATATYPE_INT_16);
      scalar.int16Value = static_cast<int16_t>(rng.next32());
      break;
    case 2:
      scalar = scalarOf(ZEB_DATATYPE_INT_32);
      scalar.int32Value = anyInt32(rng);
      break;
    case 3:
      scalar = scalarOf(ZEB_DATATYPE_UINT_8);
      scalar.uint8Value = static_cast<uint8_t>(rng.next32());
      break;
    case 4:
      scalar = scalarOf(ZEB_DATATYPE_UINT_16);
      scalar.uint16Value = static_cast<uint16_t>(rng.next32());
      break;
    case 5:
      scalar = scalarOf(ZEB_DATATYPE_UINT_32);
      scalar.uint32Value = rng.oneIn(3) ? 0xFFFFFFFFu : rng.next32();
      break;
    case 6:
      scalar = scalarOf(ZEB_DATATYPE_FLOAT_32);
      scalar.floatValue = anyFloat(rng);
      break;
    case 7:
      scalar = scalarOf(ZEB_DATATYPE_BOOL_8);
      scalar.bool8Value = static_cast<uint8_t>(rng.oneIn(4) ? rng.next32() : rng.below(2));
      break;
    default:
      scalar = scalarOf(ZEB_DATATYPE_STRING);
      scalar.stringValue = maybeText(rng, arena);
      break;
  }
  return scalarParam(name, scalar);
}

}  // namespace zeb::e2e
