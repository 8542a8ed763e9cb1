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
  void (*append)(TextBuffer& text, const Zeb_Scalar_t& scalar);
};

constexpr ScalarKind kScalarKinds[] = {
    {ZEB_DATATYPE_INT_8, ".int8Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, int32_t{s.int8Value}); }},
    {ZEB_DATATYPE_INT_16, ".int16Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, int32_t{s.int16Value}); }},
    {ZEB_DATATYPE_INT_32, ".int32Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, int32_t{s.int32Value}); }},
    {ZEB_DATATYPE_UINT_8, ".uint8Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, uint32_t{s.uint8Value}); }},
    {ZEB_DATATYPE_UINT_16, ".uint16Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, uint32_t{s.uint16Value}); }},
    {ZEB_DATATYPE_UINT_32, ".uint32Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, uint32_t{s.uint32Value}); }},
    {ZEB_DATATYPE_FLOAT_32, ".floatValue = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendFloat(t, s.floatValue); }},
    {ZEB_DATATYPE_BOOL_8, ".bool8Value = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendText(t, uint32_t{s.bool8Value}); }},
    {ZEB_DATATYPE_STRING, ".stringValue = ", [](TextBuffer& t, const Zeb_Scalar_t& s) { appendString(t, s.stringValue); }},
};

const ScalarKind* findScalarKind(int32_t dataType) {
  for (const ScalarKind& kind : kScalarKinds) {
    if (kind.dataType == dataType) return &kind;
  }
  return nullptr;
}

// Declares the parameter's scalar or tensor and appends the union member
// that selects it to member; a code when it cannot be recorded.
Zeb_ErrorHandle_t writeParamValue(const Zeb_Param_t& param, std::string_view name,
                                  StatementBuilder& builder, const ScribeContext* ids,
                                  TextBuffer& member) {
  if (param.paramType == ZEB_PARAMTYPE_SCALAR) {
    const Zeb_Scalar_t& scalar = param.scalarParam;
    const ScalarKind* kind = findScalarKind(scalar.dataType);
    if (kind == nullptr) {
      zeb::log::error("Invalid Zeb_DataType_t provided: %ld", static_cast<long>(scalar.dataType));
      return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
    }
    const DerivedName scalarName{name, "scalar"};
    builder.writeStructWith("Zeb_Scalar_t", scalarName, [&](TextBuffer& fields) {
      appendAll(fields, "(Zeb_DataType_t)", int32_t{scalar.dataType}, ", ", kind->designator);
      kind->append(fields, scalar);
    });
    appendAll(member, ".scalarParam = ", scalarName);
    return ZEB_SUCCESS;
  }
  if (param.paramType == ZEB_PARAMTYPE_TENSOR) {
    const TextBuffer& tensorName = composeName(builder, name, "tensor");
    if (auto code = writeTensor(param.tensorParam, tensorName, builder, "fp", ids)) return code;
    appendAll(member, ".tensorParam = ", tensorName);
    return ZEB_SUCCESS;
  }
  zeb::log::error("Invalid Zeb_ParamType_t provided: %ld\n", static_cast<long>(param.paramType));
  return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
}

Zeb_ErrorHandle_t writeParam(const Zeb_Param_t& param, std::string_view name,
                             StatementBuilder& builder, const ScribeContext* ids) {
  TextBuffer& fields = builder.scratch();
  appendAll(fields, "(Zeb_ParamType_t)", int32_t{param.paramType}, ", ", QuotedPiece(param.name),
            ", ");
  if (auto code = writeParamValue(param, name, builder, ids, fields)) return code;
  builder.writeLineOf("Zeb_Param_t ", name, " = {", fields, "};");
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeParams(const Zeb_OpConfigV1_t& v1, bool readable, std::string_view op,
                              StatementBuilder& builder, const ScribeContext* ids) {
  const DerivedName array{op, "params"};
  if (!readable || v1.params == nullptr) {
    builder.writeNullDeclaration("Zeb_Param_t*", array);
    return ZEB_SUCCESS;
  }
  TextBuffer& names = builder.scratch();
  for (uint32_t i = 0; i < v1.numOfParams; ++i) {
    TextBuffer& name = builder.scratch();
    appendAll(name, op, "_param_", i);
    if (auto code = writeParam(v1.params[i], name, builder, ids)) return code;
    builder.writeBlankLine();
    appendAll(names, separatorBefore(i), name);
  }
  builder.writeJoinedArray("Zeb_Param_t", array, names);
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t writeTensors(const Zeb_Tensor_t* tensors, uint32_t count, bool readable,
                               const DerivedName& array, std::string_view element,
                               StatementBuilder& builder, const ScribeContext* ids) {
  if (!readable || tensors == nullptr) {
    builder.writeNullDeclaration("Zeb_Tensor_t*", array);
    return ZEB_SUCCESS;
  }
  TextBuffer& names = builder.scratch();
  if (auto code = writeTensorList(tensors, count, element, builder, ids, names)) return code;
  builder.writeJoinedArray("Zeb_Tensor_t", array, names);
  return ZEB_SUCCESS;
}

// Declares `Zeb_OpConfig_t {op}` with its parameters, inputs and outputs.
// Tensor ids that ids knows are written as references to their variables.
Zeb_ErrorHandle_t writeOpConfig(const Zeb_OpConfig_t& config, std::string_view op,
                                StatementBuilder& builder, const ScribeContext* ids) {
  const bool readable = config.version == ZEB_OPCONFIG_VERSION_1;
  const Zeb_OpConfigV1_t& v1 = config.v1;
  if (auto code = writeParams(v1, readable, op, builder, ids)) return code;
  const DerivedName inputs{op, "inputs"};
  if (auto code = writeTensors(v1.inputTensors, v1.numOfInputs, readable, inputs,
                               composeName(builder, op, "input_"), builder, ids))
    return code;
  const DerivedName outputs{op, "outputs"};
  if (auto code = writeTensors(v1.outputTensors, v1.numOfOutputs, readable, outputs,
                               composeName(builder, op, "output_"), builder, ids))
    return code;
  if (!readable) {
    zeb::log::error("Unsupported opconfig version: %d.\n", static_cast<int>(config.version));
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  const DerivedName body{op, "v1"};
  builder.writeStructWith("Zeb_OpConfigV1_t", body, [&](TextBuffer& fields) {
    appendAll(fields, QuotedPiece(v1.name), ", ", QuotedPiece(v1.packageName), ", ",
              QuotedPiece(v1.typeName), ", ", v1.numOfParams, ", ", op, "_params, ", v1.numOfInputs,
              ", ", inputs, ", ", v1.numOfOutputs, ", ", outputs);
  });
  builder.writeStructWith("Zeb_OpConfig_t", op, [&](TextBuffer& fields) {
    appendEnum(fields, "Zeb_OpConfigVersion_t", config.version);
    appendAll(fields, ", .v1 = ", body);
  });
  return ZEB_SUCCESS;
}

// The node's name as an identifier, or "opConfig" when it has none, in a
// scratch string of the builder.
const TextBuffer& opBaseName(const Zeb_OpConfig_t& config, StatementBuilder& builder) {
  TextBuffer& name = builder.scratch();
  if (config.version == ZEB_OPCONFIG_VERSION_1 && config.v1.name != nullptr) {
    appendIdentifier(name, config.v1.name);
  } else {
    name = "opConfig";
  }
  return name;
}

// The elements the op configuration declares, which its name must not share
// with another's.
NameShape opShape(const Zeb_OpConfig_t& config) {
  if (config.version != ZEB_OPCONFIG_VERSION_1) return {NameShape::Kind::op};
  const Zeb_OpConfigV1_t& v1 = config.v1;
  return {NameShape::Kind::op, v1.params ? v1.numOfParams : 0, v1.inputTensors ? v1.numOfInputs : 0,
          v1.outputTensors ? v1.numOfOutputs : 0};
}

}  // namespace

Zeb_ErrorHandle_t graphAddNode(Recorder& recorder, ScribeGraph& graph,
                               const Zeb_OpConfig_t& opConfig) {
  StatementBuilder builder;
  const std::string& name = graphVariable(graph, builder);
  TextBuffer& op = composeName(builder, name, opBaseName(opConfig, builder));
  graph.context->numberNode(op, opShape(opConfig));
  if (auto code = writeOpConfig(opConfig, op, builder, graph.context)) return code;
  builder.writeApiCall("graphAddNode", name, op);
  return writeGraphBlock(recorder, builder, graph, kNodeCodes);
}

// The op configuration comes first: a configuration that cannot be recorded is
// refused whatever the backend.
Zeb_ErrorHandle_t backendValidateOpConfig(Recorder& recorder, uint64_t backend,
                                          const Zeb_OpConfig_t& opConfig) {
  StatementBuilder builder;
  TextBuffer& op = builder.scratch();
  op = opBaseName(opConfig, builder);
  recorder.numberOpName(op, opShape(opConfig));
  if (auto code = writeOpConfig(opConfig, op, builder, nullptr)) return code;
  const auto backendName = backendVariable(recorder, backend);
  if (!backendName) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  builder.writeApiCall("backendValidateOpConfig", *backendName, op);
  return writeBlock(recorder, builder, kNodeCodes);
}

}  // namespace zeb::record
