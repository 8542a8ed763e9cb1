#include "record/tensor.h"

#include "emit/statement_builder.h"
#include "record/family_common.h"
#include "record/graph.h"
#include "record/tensor_description.h"

namespace zeb::record {
namespace {

constexpr BlockCodes kTensorCodes{ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL,
                                  ZEB_CONTEXT_ERROR_GENERAL};

// The id in the written description is the one the client's description held
// at the call; registration comes after.
Zeb_ErrorHandle_t composeTensorCreate(std::string_view variable, const Zeb_Tensor_t& tensor,
                                      const char* member, const std::string& owner,
                                      StatementBuilder& builder) {
  if (auto code = writeTensor(tensor, variable, builder, "fp", nullptr)) return code;
  builder.writeApiCall(member, owner, AddressPiece{variable});
  return ZEB_SUCCESS;
}

}  // namespace

Zeb_ErrorHandle_t tensorCreateContextTensor(Recorder& recorder, ScribeContext& context,
                                            Zeb_Tensor_t& tensor) {
  const std::string_view variable = context.newTensorName();
  StatementBuilder builder;
  if (auto code = composeTensorCreate(variable, tensor, "tensorCreateContextTensor", context.name,
                                      builder))
    return code;
  if (auto code = writeBlock(recorder, builder, kTensorCodes)) return code;
  return context.registerTensor(tensor, variable);
}

Zeb_ErrorHandle_t tensorCreateGraphTensor(Recorder& recorder, ScribeGraph& graph,
                                          Zeb_Tensor_t& tensor) {
  const std::string_view variable = graph.newTensorName();
  StatementBuilder builder;
  const std::string& owner = graphVariable(graph, builder);
  if (auto code = composeTensorCreate(variable, tensor, "tensorCreateGraphTensor", owner, builder))
    return code;
  if (auto code = writeGraphBlock(recorder, builder, graph, kTensorCodes)) return code;
  return graph.registerTensor(tensor, variable);
}

}  // namespace zeb::record
