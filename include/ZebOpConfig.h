/* Zeb API: operation configurations with their parameters. */
#ifndef ZEB_OP_CONFIG_H
#define ZEB_OP_CONFIG_H

#include "ZebTensor.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
  Zeb_DataType_t dataType;
  union {
    float floatValue;
    double doubleValue;
    uint64_t uint64Value;
    int64_t int64Value;
    uint32_t uint32Value;
    uint16_t uint16Value;
    uint8_t uint8Value;
    int32_t int32Value;
    int16_t int16Value;
    int8_t int8Value;
    uint8_t bool8Value;
    const char* stringValue;
  };
} Zeb_Scalar_t;

typedef ZEB_ENUM(Zeb_ParamType) {
  ZEB_PARAMTYPE_SCALAR = 0,
  ZEB_PARAMTYPE_TENSOR = 1,
  ZEB_PARAMTYPE_UNDEFINED = 0x7FFFFFFF
} Zeb_ParamType_t;

typedef struct {
  Zeb_ParamType_t paramType;
  const char* name;
  union {
    Zeb_Scalar_t scalarParam;
    Zeb_Tensor_t tensorParam;
  };
} Zeb_Param_t;

typedef struct {
  const char* name;
  const char* packageName;
  const char* typeName;
  uint32_t numOfParams;
  Zeb_Param_t* params;
  uint32_t numOfInputs;
  Zeb_Tensor_t* inputTensors;
  uint32_t numOfOutputs;
  Zeb_Tensor_t* outputTensors;
} Zeb_OpConfigV1_t;

typedef ZEB_ENUM(Zeb_OpConfigVersion) {
  ZEB_OPCONFIG_VERSION_1 = 1,
  ZEB_OPCONFIG_VERSION_UNDEFINED = 0x7FFFFFFF
} Zeb_OpConfigVersion_t;

typedef struct {
  Zeb_OpConfigVersion_t version;
  union {
    Zeb_OpConfigV1_t v1;
  };
} Zeb_OpConfig_t;

#ifdef __cplusplus
}
#endif

#endif
