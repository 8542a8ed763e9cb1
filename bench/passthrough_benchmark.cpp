// Pass-through beside its floor: the same calls made directly on the echo
// backend, and the blocks the recording writes, each with one write and one
// flush. ZebScribe forwards to the echo backend that this bench loads too, so
// both sides share its state; its log is off.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include <dlfcn.h>

#include "check.h"
#include "client_objects.h"
#include "scribe_session.h"
#include "side_by_side.h"

namespace zeb::bench {
namespace {

using Api = ZEB_INTERFACE_VER_TYPE;

const Api& echoApi() {
  static const Api* api = [] {
    void* library = dlopen(ZEB_BENCH_ECHO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    void* symbol = library ? dlsym(library, "ZebInterface_getProviders") : nullptr;
    ZebInterface_GetProvidersFn_t getProviders = nullptr;
    std::memcpy(&getProviders, &symbol, sizeof getProviders);
    const ZebInterface_t** providers = nullptr;
    uint32_t count = 0;
    if (!getProviders || getProviders(&providers, &count) != 0 || count == 0)
      throw std::runtime_error("cannot load the echo backend");
    return &providers[0]->v2_15;
  }();
  return *api;
}


// One side's objects: its backend, a context with a graph, and the convolution's tensors.
struct Side : ConvolutionTensors {
  Side(const Api& api, Zeb_BackendHandle_t backend) : api(api), backend(backend) {
    check(api.contextCreate(backend, nullptr, nullptr, &context));
    check(api.graphCreate(context, "bench graph", nullptr, &graph));
    for (Zeb_Tensor_t* tensor : {&input, &weights, &bias, &output}) check(api.tensorCreateGraphTensor(graph, tensor));
    check(api.graphFinalize(graph, nullptr, nullptr));
  }
  ~Side() { api.contextFree(context, nullptr); }

  const Api& api;
  Zeb_BackendHandle_t backend;
  Zeb_ContextHandle_t context = nullptr, madeContext = nullptr;
  Zeb_BackendHandle_t madeBackend = nullptr;
  Zeb_DeviceHandle_t madeDevice = nullptr;
  Zeb_ProfileHandle_t madeProfile = nullptr;
  Zeb_GraphHandle_t graph = nullptr;
  Zeb_Tensor_t table{};
  Zeb_Tensor_t inputs[3]{}, outputs[2]{};
  Zeb_OpConfig_t convolution{};
};

// What a client hands in, shared by both sides.
struct Arguments {
  ContextConfigs contextConfigs;
  BackendConfigs backendConfigs;
  DeviceConfigs deviceConfigs;
  std::vector<float> kibibyte = std::vector<float>(256, 1.5f), outputData = std::vector<float>(256, 0.0f);
  const uint32_t tableDims[1] = {256}, pairDims[1] = {2}, padDims[2] = {2, 2};
  const uint32_t stride[2] = {1, 1}, padding[4] = {1, 1, 1, 1};
  Zeb_Param_t params[5] = {tensorParam("stride", pairDims, 1, stride, 2), tensorParam("pad_amount", padDims, 2, padding, 4),
                           uintScalarParam("group", 1), floatScalarParam("alpha", 0.25f), boolScalarParam("use_bias", 1)};
};

using Workload = std::vector<Step> (*)(Side& side, Arguments& arguments);

std::vector<Step> contextPair(Side& s, Arguments& a) {
  return {[&] { check(s.api.contextCreate(s.backend, nullptr, a.contextConfigs.list, &s.madeContext)); },
          [&] { check(s.api.contextFree(s.madeContext, nullptr)); }};
}

std::vector<Step> backendPair(Side& s, Arguments& a) {
  return {[&] { check(s.api.backendCreate(nullptr, a.backendConfigs.list, &s.madeBackend)); },
          [&] { check(s.api.backendFree(s.madeBackend)); }};
}

std::vector<Step> devicePair(Side& s, Arguments& a) {
  return {[&] { check(s.api.deviceCreate(nullptr, a.deviceConfigs.list, &s.madeDevice)); },
          [&] { check(s.api.deviceFree(s.madeDevice)); }};
}

std::vector<Step> profilePair(Side& s, Arguments&) {
  return {[&] { check(s.api.profileCreate(s.backend, ZEB_PROFILE_LEVEL_BASIC, &s.madeProfile)); },
          [&] { check(s.api.profileFree(s.madeProfile)); }};
}

std::vector<Step> tensorWithData(Side& s, Arguments& a) {
  return {[&] {
    s.table = floatTensor("weights", ZEB_TENSOR_TYPE_STATIC, a.tableDims, 1, a.kibibyte.data(), 1024);
    check(s.api.tensorCreateContextTensor(s.context, &s.table));
  }};
}

std::vector<Step> convolutionNode(Side& s, Arguments& a) {
  s.inputs[0] = s.input, s.inputs[1] = s.weights, s.inputs[2] = s.bias, s.outputs[0] = s.output;
  s.convolution = opConfig("conv1", "Conv2d", a.params, 5, s.inputs, 3, s.outputs, 1);
  return {[&] { check(s.api.graphAddNode(s.graph, s.convolution)); }};
}

std::vector<Step> executeFourTensors(Side& s, Arguments& a) {
  const auto withData = [&](Zeb_Tensor_t tensor, std::vector<float>& values) {
    tensor.v1.clientBuf = {values.data(), 1024};
    return tensor;
  };
  s.inputs[0] = withData(s.input, a.kibibyte), s.inputs[1] = withData(s.weights, a.kibibyte);
  s.outputs[0] = withData(s.output, a.outputData), s.outputs[1] = withData(s.bias, a.outputData);
  return {[&] { check(s.api.graphExecute(s.graph, s.inputs, 2, s.outputs, 2, nullptr, nullptr)); }};
}

// The output buffers are filled by the backend: both sides fill the same ones.
void PassThrough(benchmark::State& state, const char* tag, Workload workload, Ratio ratio) {
  static Arguments arguments;
  Zeb_BackendHandle_t echoBackend = nullptr;
  check(echoApi().backendCreate(nullptr, nullptr, &echoBackend));
  {
    Side forwarded(ScribeSession::instance().api(), ScribeSession::instance().backend());
    Side direct(echoApi(), echoBackend);
    runSideBySide(state, tag, workload(forwarded, arguments), ratio, workload(direct, arguments));
  }
  check(echoApi().backendFree(echoBackend));
}

}  // namespace

BENCHMARK_CAPTURE(PassThrough, ContextPair, "context", contextPair, Ratio::Time)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, BackendPair, "backend", backendPair, Ratio::Time)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, DevicePair, "device", devicePair, Ratio::Time)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, ProfilePair, "profile", profilePair, Ratio::Time)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, TensorWithData1KiB, "tensor", tensorWithData, Ratio::Throughput)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, ConvolutionNode, "node", convolutionNode, Ratio::Time)->Apply(withSpread);
BENCHMARK_CAPTURE(PassThrough, ExecuteFourTensors, "execute", executeFourTensors, Ratio::Time)->Apply(withSpread);

}  // namespace zeb::bench

// The recorder reads its configuration when it is made, at the first call.
int main(int argc, char** argv) {
  setenv("ZEBSCRIBE_FORWARD", ZEB_BENCH_ECHO_LIBRARY, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
