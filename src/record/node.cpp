#include "record/node.h"

#include <string>
#include <vector>

#include "emit/statement_builder.h"
#include "log/logger.h"
#include "record/backend.h"
#include "record/family_common.h"
#include "record/graph.h"
#include "record/graph_names.h"
#include "record/tensor_description.h"

namespace zeb::record {
namespace {

// A tensor whose data cannot be written fails as its description does.
constexpr BlockCodes kNodeCodes{ZEB_SUCCESS, ZEB_BACKEND_ERROR_GENERAL,
                                ZEB_CONTEXT_ERROR_GENERAL};

struct ScalarKind {
  int32_t dataType;
  const char* designator;
  std::string (*value)(const Zeb_Scalar_t& scalar);
};

constexpr ScalarKind kScalarKinds[] = {
    {ZEB_DATATYPE_INT_8, ".int8Value = ", [](const Zeb_Scalar_t& s) { return intToText(s.int8Value); }},
    {ZEB_DATATYPE_INT_16, ".int16Value = ", [](const Zeb_Scalar_t& s) { return intToText(s.int16Value); }},
    {ZEB_DATATYPE_INT_32, ".int32Value = ", [](const Zeb_Scalar_t& s) { return intToText(s.int32Value); }},
    {ZEB_DATATYPE_UINT_8, ".uint8Value = ", [](const Zeb_Scalar_t& s) { return uintToText(s.uint8Value); }},
    {ZEB_DATATYPE_UINT_16, ".uint16Value = ", [](const Zeb_Scalar_t& s) { return uintToText(s.uint16Value); }},
    {ZEB_DATATYPE_UINT_32, ".uint32Value = ", [](const Zeb_Scalar_t& s) { return uintToText(s.uint32Value); }},
    {ZEB_DATATYPE_FLOAT_32, ".floatValue = ", [](const Zeb_Scalar_t& s) { return floatToText(s.floatValue); }},
    {ZEB_DATATYPE_BOOL_8, ".bool8Value = ", [](const Zeb_Scalar_t& s) { return uintToText(s.bool8Value); }},
    {ZEB_DATATYPE_STRING, ".stringValue = ", [](const Zeb_Scalar_t& s) { return stringToText(s.stringValue); }},
};

const ScalarKind* findScalarKind(int32_t dataType) {
  for (const ScalarKind& kind : kScalarKinds) {
    if (kind.dataType == dataType) return &kind;
  }
  return nullptr;
}

// Declares the parameter's scalar or tensor and returns the union member
// that selects it; nothing (with *code set) when it cannot be recorded.
std::optional<std::string> writeParamValue(const Zeb_Param_t& param, const std::string& name,
                                           StatementBuilder& builder, const ScribeContext* ids,
                                           Zeb_ErrorHandle_t& code) {
  if (param.paramType == ZEB_PARAMTYPE_SCALAR) {
    const Zeb_Scalar_t& scalar = param.scalarParam;
    const ScalarKind* kind = findScalarKind(scalar.dataType);
    if (kind == nullptr) {
      zeb::log::error("Invalid Zeb_DataType_t provided: %ld", static_cast<long>(scalar.dataType));
      code = ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
      return std::nullopt;
    }
    const std::string scalarName = name + "_scalar";
    builder.writeStructInitializer(
        "Zeb_Scalar_t", scalarName,
        {enumToText("Zeb_DataType_t", scalar.dataType), kind->designator + kind->value(scalar)});
    return ".scalarParam = " + scalarName;
  }
  if (param.paramType == ZEB_PARAMTYPE_TENSOR) {
    const std::string tensorName = name + "_tensor";
    code = writeTensor(param.tensorParam, tensorName, builder, "fp", ids);
    if (code != ZEB_SUCCESS) return std::nullopt;
    return ".tensorParam = " + tensorName;
  }
  zeb::log::error("Invalid Zeb_ParamType_t provided: %ld\n", static_cast<long>(param.paramType));
  code = ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
  return std::nullopt;
}

Zeb_ErrorHandle_t writeParam(const Zeb_Param_t& param, const std::string& name,
                             StatementBuilder& builder, const ScribeContext* ids) {
  Zeb_ErrorHandle_t code = ZEB_SUCCESS;
  const auto value = writeParamValue(param, name, builder, ids, code);
  if (!value) return code;
  builder.writeStructInitializer(
      "Zeb_Param_t", name,
      {enumToText("Zeb_ParamType_t", param.paramType), stringToText(param.name), *value});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeParams(const Zeb_OpConfigV1_t& v1, bool readable, const std::string& op,
                              StatementBuilder& builder, const ScribeContext* ids) {
  const std::string array = op + "_params";
  if (!readable || v1.params == nullptr) {
    builder.writeNullDeclaration("Zeb_Param_t*", array);
    return ZEB_SUCCESS;
  }
  std::vector<std::string> names;
  for (uint32_t i = 0; i < v1.numOfParams; ++i) {
    names.push_back(op + "_param_" + uintToText(i));
    if (auto code = writeParam(v1.params[i], names.back(), builder, ids)) return code;
    builder.writeBlankLine();
  }
  builder.writeArrayInitializer("Zeb_Param_t", array, names);
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeTensors(const Zeb_Tensor_t* tensors, uint32_t count, bool readable,
                               const std::string& array, const std::string& element,
                               StatementBuilder& builder, const ScribeContext* ids) {
  if (!readable || tensors == nullptr) {
    builder.writeNullDeclaration("Zeb_Tensor_t*", array);
    return ZEB_SUCCESS;
  }
  std::vector<std::string> names;
  if (auto code = writeTensorList(tensors, count, element, builder, ids, names)) return code;
  builder.writeArrayInitializer("Zeb_Tensor_t", array, names);
  return ZEB_SUCCESS;
}

// Declares `Zeb_OpConfig_t {op}` with its parameters, inputs and outputs.
// Tensor ids that ids knows are written as references to their variables.
Zeb_ErrorHandle_t writeOpConfig(const Zeb_OpConfig_t& config, const std::string& op,
                                StatementBuilder& builder, const ScribeContext* ids) {
  const bool readable = config.version == ZEB_OPCONFIG_VERSION_1;
  const Zeb_OpConfigV1_t& v1 = config.v1;
  if (auto code = writeParams(v1, readable, op, builder, ids)) return code;
  if (auto code = writeTensors(v1.inputTensors, v1.numOfInputs, readable, op + "_inputs",
                               op + "_input_", builder, ids))
    return code;
  if (auto code = writeTensors(v1.outputTensors, v1.numOfOutputs, readable, op + "_outputs",
                               op + "_output_", builder, ids))
    return code;
  if (!readable) {
    zeb::log::error("Unsupported opconfig version: %d.\n", static_cast<int>(config.version));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  builder.writeStructInitializer(
      "Zeb_OpConfigV1_t", op + "_v1",
      {stringToText(v1.name), stringToText(v1.packageName), stringToText(v1.typeName),
       v1.numOfParams, op + "_params", v1.numOfInputs, op + "_inputs", v1.numOfOutputs,
       op + "_outputs"});
  builder.writeStructInitializer("Zeb_OpConfig_t", op,
                                 {enumToText("Zeb_OpConfigVersion_t", config.version),
                                  ".v1 = " + op + "_v1"});
  return ZEB_SUCCESS;
}

// The node's name as an identifier, or "opConfig" when it has none.
std::string opBaseName(const Zeb_OpConfig_t& config) {
  if (config.version == ZEB_OPCONFIG_VERSION_1 && config.v1.name != nullptr)
    return makeIdentifier(config.v1.name);
  return "opConfig";
}

}  // namespace

Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, ScribeGraph& graph,
                               const Zeb_OpConfig_t& opConfig) {
  StatementBuilder builder(3);
  const std::string name = graphVariable(graph, builder);
  const std::string op = recorder.makeVariableName(graph.name + "_" + opBaseName(opConfig));
  if (auto code = writeOpConfig(opConfig, op, builder, graph.context)) return code;
  builder.writeApiCall("graphAddNode", {name, op});
  return writeGraphBlock(recorder, builder, graph, kNodeCodes);
}

// The op configuration comes first: a configuration that cannot be recorded is
// refused whatever the backend.
Zeb_ErrorHandle_t backendValidateOpConfig(Recorder& recorder, uint64_t backend,
                                          const Zeb_OpConfig_t& opConfig) {
  StatementBuilder builder(3);
  const std::string op = recorder.makeVariableName(opBaseName(opConfig));
  if (auto code = writeOpConfig(opConfig, op, builder, nullptr)) return code;
  const auto backendName = backendVariable(recorder, backend);
  if (!backendName) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  builder.writeApiCall("backendValidateOpConfig", {*backendName, op});
  return writeBlock(recorder, builder, kNodeCodes);
}

}  // namespace zeb::record
