// Calls that carry data: a tensor with its contents, a convolution node, an
// execution; each beside its baseline.
#include <vector>

#include "check.h"
#include "client_objects.h"
#include "scribe_session.h"
#include "side_by_side.h"

namespace zeb::bench {
namespace {


// A context with one graph, and graph tensors for a convolution's operands.
struct GraphFixture : ConvolutionTensors {
  GraphFixture() {
    const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
    check(api.contextCreate(ScribeSession::instance().backend(), nullptr, nullptr, &context));
    check(api.graphCreate(context, "bench graph", nullptr, &graph));
    for (Zeb_Tensor_t* tensor : {&input, &weights, &bias, &output})
      check(api.tensorCreateGraphTensor(graph, tensor));
  }
  ~GraphFixture() { ScribeSession::instance().api().contextFree(context, nullptr); }

  Zeb_ContextHandle_t context = nullptr;
  Zeb_GraphHandle_t graph = nullptr;
};

void TensorWithData(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  const uint32_t bytes = static_cast<uint32_t>(state.range(0));
  const std::vector<float> values(bytes / sizeof(float), 0.5f);
  const uint32_t dims[] = {bytes / static_cast<uint32_t>(sizeof(float))};
  Zeb_ContextHandle_t context = nullptr;
  check(api.contextCreate(ScribeSession::instance().backend(), nullptr, nullptr, &context));
  runSideBySide(state, "TensorWithData",
                {[&] {
                  Zeb_Tensor_t tensor =
                      floatTensor("weights", ZEB_TENSOR_TYPE_STATIC, dims, 1, values.data(), bytes);
                  check(api.tensorCreateContextTensor(context, &tensor));
                }},
                Ratio::Throughput);
  check(api.contextFree(context, nullptr));
}

// Two tensor parameters with data, three scalars, three inputs, one output.
void ConvolutionNode(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  GraphFixture fixture;
  const uint32_t pairDims[] = {2}, padDims[] = {2, 2};
  const uint32_t stride[] = {1, 1}, padding[] = {1, 1, 1, 1};
  Zeb_Param_t params[] = {tensorParam("stride", pairDims, 1, stride, 2),
                          tensorParam("pad_amount", padDims, 2, padding, 4),
                          uintScalarParam("group", 1), floatScalarParam("alpha", 0.25f),
                          boolScalarParam("use_bias", 1)};
  Zeb_Tensor_t inputs[] = {fixture.input, fixture.weights, fixture.bias};
  Zeb_Tensor_t outputs[] = {fixture.output};
  const Zeb_OpConfig_t op = opConfig("conv1", "Conv2d", params, 5, inputs, 3, outputs, 1);
  runSideBySide(state, "ConvolutionNode", {[&] { check(api.graphAddNode(fixture.graph, op)); }}, Ratio::Time);
}

// Two inputs and two outputs of 1 KiB each, all holding data.
void ExecuteFourTensors(benchmark::State& state) {
  const ZEB_INTERFACE_VER_TYPE& api = ScribeSession::instance().api();
  GraphFixture fixture;
  check(api.graphFinalize(fixture.graph, nullptr, nullptr));
  static const std::vector<float> values(256, 1.5f);
  const uint32_t bytes = 256 * sizeof(float);
  const auto withData = [&](Zeb_Tensor_t tensor) {
    tensor.v1.clientBuf.data = const_cast<float*>(values.data());
    tensor.v1.clientBuf.dataSize = bytes;
    return tensor;
  };
  Zeb_Tensor_t inputs[] = {withData(fixture.input), withData(fixture.weights)};
  Zeb_Tensor_t outputs[] = {withData(fixture.output), withData(fixture.bias)};
  runSideBySide(state, "ExecuteFourTensors",
                {[&] { check(api.graphExecute(fixture.graph, inputs, 2, outputs, 2, nullptr, nullptr)); }},
                Ratio::Time);
}

}  // namespace

BENCHMARK(TensorWithData)->Arg(1 << 10)->Apply(withSpread);
BENCHMARK(TensorWithData)->Arg(16 << 20)->Iterations(40)->Apply(withSpread);
BENCHMARK(ConvolutionNode)->Apply(withSpread);
BENCHMARK(ExecuteFourTensors)->Apply(withSpread);

}  // namespace zeb::bench
