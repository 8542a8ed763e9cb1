/* Zeb API: tensor descriptions and their quantisation. */
#ifndef ZEB_TENSOR_H
#define ZEB_TENSOR_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef ZEB_ENUM(Zeb_DataType) {
  ZEB_DATATYPE_INT_8 = 0x0008,
  ZEB_DATATYPE_INT_16 = 0x0016,
  ZEB_DATATYPE_INT_32 = 0x0032,
  ZEB_DATATYPE_INT_64 = 0x0064,
  ZEB_DATATYPE_UINT_8 = 0x0108,
  ZEB_DATATYPE_UINT_16 = 0x0116,
  ZEB_DATATYPE_UINT_32 = 0x0132,
  ZEB_DATATYPE_UINT_64 = 0x0164,
  ZEB_DATATYPE_FLOAT_16 = 0x0216,
  ZEB_DATATYPE_FLOAT_32 = 0x0232,
  ZEB_DATATYPE_FLOAT_64 = 0x0264,
  ZEB_DATATYPE_SFIXED_POINT_4 = 0x0304,
  ZEB_DATATYPE_SFIXED_POINT_8 = 0x0308,
  ZEB_DATATYPE_SFIXED_POINT_16 = 0x0316,
  ZEB_DATATYPE_SFIXED_POINT_32 = 0x0332,
  ZEB_DATATYPE_UFIXED_POINT_4 = 0x0404,
  ZEB_DATATYPE_UFIXED_POINT_8 = 0x0408,
  ZEB_DATATYPE_UFIXED_POINT_16 = 0x0416,
  ZEB_DATATYPE_UFIXED_POINT_32 = 0x0432,
  ZEB_DATATYPE_BOOL_8 = 0x0508,
  ZEB_DATATYPE_STRING = 0x0608,
  ZEB_DATATYPE_UNDEFINED = 0x7FFFFFFF
} Zeb_DataType_t;

typedef ZEB_ENUM(Zeb_TensorVersion) {
  ZEB_TENSOR_VERSION_1 = 1,
  ZEB_TENSOR_VERSION_2 = 2,
  ZEB_TENSOR_VERSION_UNDEFINED = 0x7FFFFFFF
} Zeb_TensorVersion_t;

typedef ZEB_ENUM(Zeb_TensorType) {
  ZEB_TENSOR_TYPE_APP_WRITE = 0,
  ZEB_TENSOR_TYPE_APP_READ = 1,
  ZEB_TENSOR_TYPE_APP_READWRITE = 2,
  ZEB_TENSOR_TYPE_NATIVE = 3,
  ZEB_TENSOR_TYPE_STATIC = 4,
  ZEB_TENSOR_TYPE_NULL = 5,
  ZEB_TENSOR_TYPE_UNDEFINED = 0x7FFFFFFF
} Zeb_TensorType_t;

typedef uint32_t Zeb_TensorDataFormat_t;

typedef ZEB_ENUM(Zeb_TensorMemType) {
  ZEB_TENSORMEMTYPE_RAW = 0,
  ZEB_TENSORMEMTYPE_MEMHANDLE = 1,
  ZEB_TENSORMEMTYPE_UNDEFINED = 0x7FFFFFFF
} Zeb_TensorMemType_t;

typedef ZEB_ENUM(Zeb_Definition) {
  ZEB_DEFINITION_IMPL_GENERATED = 0,
  ZEB_DEFINITION_DEFINED = 1,
  ZEB_DEFINITION_UNDEFINED = 0x7FFFFFFF
} Zeb_Definition_t;

typedef ZEB_ENUM(Zeb_QuantizationEncoding) {
  ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET = 0,
  ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET = 1,
  ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET = 2,
  ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET = 3,
  ZEB_QUANTIZATION_ENCODING_UNDEFINED = 0x7FFFFFFF
} Zeb_QuantizationEncoding_t;

typedef ZEB_ENUM(Zeb_SparseLayoutType) {
  ZEB_SPARSE_LAYOUT_HYBRID_COO = 0,
  ZEB_SPARSE_LAYOUT_UNDEFINED = 0x7FFFFFFF
} Zeb_SparseLayoutType_t;

typedef struct {
  float scale;
  int32_t offset;
} Zeb_ScaleOffset_t;

typedef struct {
  int32_t axis;
  uint32_t numScaleOffsets;
  Zeb_ScaleOffset_t* scaleOffset;
} Zeb_AxisScaleOffset_t;

typedef struct {
  uint32_t bitwidth;
  float scale;
  int32_t offset;
} Zeb_BwScaleOffset_t;

typedef struct {
  uint32_t bitwidth;
  int32_t axis;
  uint32_t numElements;
  float* scales;
  int32_t* offsets;
} Zeb_BwAxisScaleOffset_t;

typedef struct {
  Zeb_Definition_t encodingDefinition;
  Zeb_QuantizationEncoding_t quantizationEncoding;
  union {
    Zeb_ScaleOffset_t scaleOffsetEncoding;
    Zeb_AxisScaleOffset_t axisScaleOffsetEncoding;
    Zeb_BwScaleOffset_t bwScaleOffsetEncoding;
    Zeb_BwAxisScaleOffset_t bwAxisScaleOffsetEncoding;
  };
} Zeb_QuantizeParams_t;

typedef struct {
  void* data;
  uint32_t dataSize;
} Zeb_ClientBuffer_t;

/* Each count sits in a one-member union so that the written form
 * {{specified},{sparseDims}} initialises both counts. */
typedef struct {
  union {
    uint32_t numSpecifiedElements;
  };
  union {
    uint32_t numSparseDimensions;
  };
} Zeb_SparseLayoutHybridCoo_t;

typedef struct {
  Zeb_SparseLayoutType_t type;
  Zeb_SparseLayoutHybridCoo_t hybridCoo;
} Zeb_SparseParams_t;

typedef struct {
  uint32_t id;
  const char* name;
  Zeb_TensorType_t type;
  Zeb_TensorDataFormat_t dataFormat;
  Zeb_DataType_t dataType;
  Zeb_QuantizeParams_t quantizeParams;
  uint32_t rank;
  uint32_t* dimensions;
  Zeb_TensorMemType_t memType;
  Zeb_ClientBuffer_t clientBuf;
} Zeb_TensorV1_t;

typedef struct {
  uint32_t id;
  const char* name;
  Zeb_TensorType_t type;
  Zeb_TensorDataFormat_t dataFormat;
  Zeb_DataType_t dataType;
  Zeb_QuantizeParams_t quantizeParams;
  uint32_t rank;
  uint32_t* dimensions;
  Zeb_TensorMemType_t memType;
  Zeb_ClientBuffer_t clientBuf;
  uint8_t* isDynamicDimensions;
  Zeb_SparseParams_t sparseParams;
  uint8_t isProduced;
} Zeb_TensorV2_t;

typedef struct {
  Zeb_TensorVersion_t version;
  union {
    Zeb_TensorV1_t v1;
    Zeb_TensorV2_t v2;
  };
} Zeb_Tensor_t;

typedef ZEB_ENUM(ZebTensor_Error) {
  ZEB_TENSOR_ERROR_NAME_DUPLICATED = 7003,
  ZEB_TENSOR_ERROR_INVALID_POINTER = 7004,
  ZEB_TENSOR_ERROR_NAME_HASH_COLLISION = 7006,
  ZEB_TENSOR_ERROR_GENERAL = 7999
} ZebTensor_Error_t;

#ifdef __cplusplus
}
#endif

#endif
