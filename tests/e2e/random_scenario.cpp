// A table of actions, one possible action per step. Every draw is a statement of
// its own (argument order is unspecified) from our own generator, so a seed names
// one sequence everywhere. Objects are related by the client's numbers, never by
// handle, so a direct run and a replay compare; graph names start with a unique
// number; tensor ids are the context's or ones no backend hands out; profile
// configuration lists are NULL or not empty (ZebScribe writes an empty one as NULL).
#include <algorithm>
#include <cfloat>
#include <cstring>
#include <memory>
#include <tuple>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

struct Prng {  // SplitMix64
  uint64_t state;
  uint64_t next() {
    uint64_t z = state += 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }
  uint32_t next32() { return static_cast<uint32_t>(next() >> 32); }
  bool oneIn(uint32_t n) { return below(n) == 0; }
  template <class T, std::size_t N> T pick(const T (&values)[N]) { return values[below(N)]; }
};

// Owns what arguments point into; an empty list is NULL unless addressed.
struct Arena {
  std::vector<std::shared_ptr<void>> items;
  template <class T> T* own(T value) { return static_cast<T*>(items.emplace_back(std::make_shared<T>(std::move(value))).get()); }
  template <class T> T* keep(std::vector<T> values, bool addressed = false) {
    if (values.empty() && !addressed) return nullptr;
    if (values.empty()) values.resize(1);
    return own(std::move(values))->data();
  }
  const char* text(std::string value) { return own(std::move(value))->c_str(); }
};

template <class Handle> struct Live { uint32_t id; Handle handle; };
struct LiveContext { uint32_t id; Zeb_ContextHandle_t handle; uint32_t backend, device; Zeb_ContextBinarySize_t binarySize; };
struct LiveProfile { uint32_t id; Zeb_ProfileHandle_t handle; uint32_t backend; };
struct LiveGraph { Zeb_GraphHandle_t handle; uint32_t context; std::string name; bool byName; };
// A registered tensor as the backend left it; what it points to is kept.
struct LiveTensor { uint32_t context; bool ofGraph; Zeb_Tensor_t description; };

struct World {
  World(const ZebApi& zebApi, uint64_t seed) : api(zebApi), rng{seed} {}
  const ZebApi& api;
  Prng rng;
  bool withQueries = !rng.oneIn(2);
  Arena arena, kept;
  Zeb_LogHandle_t logger = nullptr;
  bool logging = false;  // not the handle's value: scenarios never branch on results
  uint32_t lastId = 0, lastGraphName = 0;
  std::vector<Live<Zeb_BackendHandle_t>> backends;
  std::vector<Live<Zeb_DeviceHandle_t>> devices;
  std::vector<LiveContext> contexts;
  std::vector<LiveProfile> profiles;
  std::vector<LiveGraph> graphs;
  std::vector<LiveTensor> tensors;

  template <class T> T& any(std::vector<T>& items) { return items[rng.below(uint32_t(items.size()))]; }
  template <class T, class Pred> std::vector<T> where(std::vector<T> items, Pred pred) {
    items.erase(std::remove_if(items.begin(), items.end(), [&](const T& item) { return !pred(item); }), items.end());
    return items;
  }
  template <class T> T take(std::vector<T>& items) {
    const auto at = items.begin() + rng.below(uint32_t(items.size()));
    const T item = *at;
    items.erase(at);
    return item;
  }
  // A handle of the list, or NULL when it is empty or now and then.
  template <class T> auto anyOrNull(std::vector<T>& items, uint32_t nullOneIn) -> decltype(items[0].handle) {
    return items.empty() || rng.oneIn(nullOneIn) ? nullptr : any(items).handle;
  }
  template <class T> T* maybeOutput(T& output) { return rng.oneIn(3) ? nullptr : &output; }
  // A counted array: NULL now and then (also with a nonzero count), else count values of draw().
  template <class T, class Draw> T* maybeList(uint32_t count, Draw draw, Arena& in) {
    return rng.oneIn(5) ? nullptr : some<T>(count, draw, true, &in);
  }
  // count values of draw(), kept for this call unless told otherwise.
  template <class T, class Draw> T* some(uint32_t count, Draw draw, bool addressed = true, Arena* in = nullptr) {
    std::vector<T> values;
    while (values.size() < count) values.push_back(draw());
    return (in ? in : &arena)->keep(std::move(values), addressed);
  }
  // A NULL-terminated list of atLeast to most configurations.
  template <class Config, class Draw> const Config** configs(uint32_t atLeast, uint32_t most, Draw draw) {
    const uint32_t count = atLeast + rng.below(most - atLeast + 1);
    const Config* stored = some<Config>(count, draw);
    std::vector<const Config*> pointers(count + 1);
    for (uint32_t i = 0; i < count; ++i) pointers[i] = stored + i;
    return arena.keep(std::move(pointers));
  }

  // Printable, unchanged inside C quotes: no '"' or '\', never "??" (a trigraph).
  std::string awkwardText() {
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !#$%&'()*+,-./:;<=>?@[]^_`{|}~";
    std::string text;
    for (uint32_t length = rng.below(17); text.size() < length;) {
      const char c = alphabet[rng.below(sizeof alphabet - 1)];
      if (c != '?' || text.empty() || text.back() != '?') text += c;
    }
    return text;
  }
  const char* maybeText(Arena& in) { return rng.oneIn(5) ? nullptr : in.text(awkwardText()); }
  const char* maybeText() { return maybeText(arena); }
  int32_t anyInt32() {
    static const int32_t special[] = {0, 1, 2, 100, -1, INT32_MIN, INT32_MAX};
    return rng.oneIn(2) ? rng.pick(special) : int32_t(rng.next32());
  }
  uint64_t anyUint64() {
    static const uint64_t special[] = {0, 1, 0xFFFFFFFFu, UINT64_C(0x100000000), UINT64_C(1) << 63, UINT64_MAX};
    return rng.oneIn(2) ? rng.pick(special) : rng.next();
  }
  // Named, tiny and huge values, or any bit pattern that is not infinite or NaN.
  float anyFloat() {
    static const float special[] = {0.0f, 1.0f, 0.5f, -1.25f, 0.0039215689f, 3.0e-7f, 1e9f,
                                    FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, 123456792.0f};
    if (rng.oneIn(2)) return rng.pick(special);
    uint32_t bits = rng.next32();
    if ((bits & 0x7F800000u) == 0x7F800000u) bits &= ~0x00800000u;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  uint8_t anyFlag() { return uint8_t(rng.oneIn(4) ? rng.next32() : rng.below(2)); }
  int32_t anyPriority() {
    static const int32_t priorities[] = {ZEB_PRIORITY_LOW, ZEB_PRIORITY_NORMAL, ZEB_PRIORITY_NORMAL_HIGH, ZEB_PRIORITY_HIGH, -1};
    return rng.oneIn(2) ? rng.pick(priorities) : anyInt32();
  }
  // "net 7/abc", "7-Qx": a number no other graph name has, a separator, letters.
  std::string graphName(const char* word) {
    std::string name = rng.oneIn(4) ? "" : std::string(word) + " ";
    name += std::to_string(++lastGraphName) + " /|-:;.,+"[rng.below(9)];
    for (uint32_t letters = 1 + rng.below(5); letters > 0; --letters) name += char('a' + rng.below(26));
    if (rng.oneIn(4)) name += "()[]<>!#$%&'*=@^`{}~"[rng.below(20)];
    return name;
  }

  const BackendConfig** backendConfigs() {
    return configs<BackendConfig>(0, 4, [&] {
      if (rng.oneIn(3)) return backendCustomNull();
      if (rng.oneIn(2)) return backendPlatform(maybeText());
      const int32_t level = anyInt32();
      return backendErrorReporting(level, rng.next32());
    });
  }
  const ContextConfig** contextConfigs() {
    return configs<ContextConfig>(0, 6, [&] {
      switch (rng.below(8)) {
        case 0: return contextCustomNull();
        case 1: return contextPriority(anyPriority());
        case 2: { const int32_t level = anyInt32(); return contextErrorReporting(level, rng.next32()); }
        case 3: return contextOemString(arena.text(awkwardText()));
        case 4: return contextAsyncDepth(rng.next32());
        case 5: {
          if (rng.oneIn(4)) return contextEnableGraphs(nullptr);
          std::vector<const char*> names(rng.below(4) + 1);
          for (auto& name : names) name = &name == &names.back() ? nullptr : arena.text(awkwardText());
          return contextEnableGraphs(arena.keep(std::move(names)));
        }
        case 6: return contextMemoryLimitHint(anyUint64());
        default: return contextPersistentBinary(uint8_t(rng.below(256)));
      }
    });
  }
  // A level of a platform tree: up to 3 nodes; an empty one is NULL or an array without elements.
  template <class Node, class Draw> Node* level(uint32_t& count, Draw draw) {
    count = rng.below(4);
    return some<Node>(count, draw, count == 0 && rng.oneIn(3));
  }
  const ZebDevice_Config_t** deviceConfigs() {
    return configs<ZebDevice_Config_t>(0, 3, [&] {
      if (rng.oneIn(4)) return deviceCustomNull();
      if (rng.oneIn(4)) return devicePlatformInfo(nullptr);
      uint32_t numDevices = 0;
      auto* devices = level<ZebDevice_HardwareDeviceInfo_t>(numDevices, [&] {
        const uint32_t id = rng.next32(), type = rng.next32();
        uint32_t numCores = 0;
        auto* cores = level<ZebDevice_CoreInfo_t>(numCores, [&] { const uint32_t id = rng.next32(); return deviceCore(id, rng.next32()); });
        return hardwareDevice(id, type, numCores, cores);
      });
      return devicePlatformInfo(arena.keep(std::vector{platformInfo(numDevices, devices)}));
    });
  }
  const ZebProfile_Config_t** profileConfigs() {
    if (rng.oneIn(4)) return nullptr;
    return configs<ZebProfile_Config_t>(1, 3, [&] { return rng.oneIn(3) ? profileCustomNull() : profileMaxEvents(anyUint64()); });
  }
  const ZebGraph_Config_t** graphConfigs() {
    return configs<ZebGraph_Config_t>(0, 3, [&] { return rng.oneIn(3) ? graphCustomNull() : graphPriority(anyPriority()); });
  }

  // Bytes per element; 0 for a data type that carries no data.
  static uint32_t elementSize(int32_t dataType) {
    if (dataType == ZEB_DATATYPE_FLOAT_16 || dataType > ZEB_DATATYPE_UFIXED_POINT_32) return 0;
    switch (dataType & 0xFF) { case 0x16: return 2; case 0x32: return 4; case 0x64: return 8; default: return 1; }
  }
  // Up to 16 whole elements of random bytes, or none (a size without data means nothing).
  Zeb_ClientBuffer_t clientBuffer(int32_t dataType, bool withData, Arena& in) {
    const uint32_t size = elementSize(dataType);
    if (!withData || size == 0) return {nullptr, rng.oneIn(3) ? rng.below(64) : 0};
    const uint32_t bytes = size * rng.below(17);
    return {some<uint8_t>(bytes, [&] { return uint8_t(rng.next32()); }, true, &in), bytes};
  }
  Q quantization(Arena& in) {
    static const Zeb_Definition_t definitions[] = {ZEB_DEFINITION_IMPL_GENERATED, ZEB_DEFINITION_DEFINED, ZEB_DEFINITION_UNDEFINED};
    static const uint32_t bitwidths[] = {4, 8, 16, 32, 0, 0xFFFFFFFFu};
    const auto definition = rng.pick(definitions);
    const auto pair = [&] { const float scale = anyFloat(); return Zeb_ScaleOffset_t{scale, anyInt32()}; };
    Q params = noQuantization();
    const uint32_t count = rng.below(4);
    const int32_t axis = anyInt32();
    switch (rng.below(5)) {
      case 1: { const auto p = pair(); params = scaleOffset(p.scale, p.offset); break; }
      case 2: params = axisScaleOffset(axis, count, maybeList<Zeb_ScaleOffset_t>(count, pair, in)); break;
      case 3: { const uint32_t bitwidth = rng.pick(bitwidths); const auto p = pair(); params = bwScaleOffset(bitwidth, p.scale, p.offset); break; }
      case 4: {
        const uint32_t bitwidth = rng.oneIn(2) ? 4u : rng.next32();
        float* scales = maybeList<float>(count, [&] { return anyFloat(); }, in);
        int32_t* offsets = maybeList<int32_t>(count, [&] { return anyInt32(); }, in);
        params = bwAxisScaleOffset(bitwidth, axis, count, scales, offsets);
      }
    }
    params.encodingDefinition = definition;
    return params;
  }
  // Version 1 or 2, any type, data type and encoding, NULL or present arrays.
  Zeb_Tensor_t freshTensor(Arena& in) {
    static const int32_t unsized[] = {ZEB_DATATYPE_FLOAT_16, ZEB_DATATYPE_BOOL_8, ZEB_DATATYPE_STRING, ZEB_DATATYPE_UNDEFINED};
    static const int32_t types[] = {0, 1, 2, 3, 4, 5, ZEB_TENSOR_TYPE_UNDEFINED};
    const bool version2 = rng.oneIn(2);
    const uint32_t id = rng.oneIn(4) ? 0x80000000u | rng.next32() : 0;
    const char* name = maybeText(in);
    const auto type = Zeb_TensorType_t(rng.pick(types));
    const uint32_t dataFormat = rng.oneIn(4) ? rng.next32() : 0;
    const bool withData = !rng.oneIn(3);
    const auto dataType = Zeb_DataType_t(!withData && rng.oneIn(4) ? rng.pick(unsized) : rng.pick(kSizedDataTypes));
    const Q quantizeParams = quantization(in);
    const uint32_t rank = rng.below(5);
    const auto dimension = [&] { return rng.oneIn(6) ? rng.pick({0u, 1u, 0xFFFFFFFFu}) : 1 + rng.below(8); };
    uint32_t* dims = rng.oneIn(5) ? nullptr : some<uint32_t>(rank, dimension, false, &in);
    const Zeb_ClientBuffer_t buffer = clientBuffer(dataType, withData, in);
    Zeb_Tensor_t tensor = tensorV1(name, type, dataType, rank, dims, buffer.data, buffer.dataSize, quantizeParams);
    std::tie(tensor.v1.id, tensor.v1.dataFormat) = std::pair{id, dataFormat};
    if (!version2) return tensor;
    uint8_t* dynamic = maybeList<uint8_t>(rank, [&] { return anyFlag(); }, in);
    const auto layout = rng.oneIn(3) ? ZEB_SPARSE_LAYOUT_UNDEFINED : ZEB_SPARSE_LAYOUT_HYBRID_COO;
    const uint32_t specified = rng.oneIn(2) ? rng.below(16) : rng.next32();
    const uint32_t sparseDimensions = rng.below(5);
    return tensorV2(tensor, dynamic, {layout, {{specified}, {sparseDimensions}}}, anyFlag());
  }
  std::vector<LiveTensor> tensorsOf(uint32_t context, bool graphTensorsOnly) {
    return where(tensors, [&](const LiveTensor& t) { return t.context == context && (t.ofGraph || !graphTensorsOnly); });
  }
  // A copy of a tensor registered in the context, with its id, or a fresh one.
  Zeb_Tensor_t nodeTensor(uint32_t context) {
    auto registered = tensorsOf(context, false);
    return !registered.empty() && !rng.oneIn(3) ? any(registered).description : freshTensor(arena);
  }
  Zeb_Param_t parameter(uint32_t context) {
    const char* name = maybeText();
    if (rng.oneIn(4)) return tensorParam(name, nodeTensor(context));
    using S = Zeb_Scalar_t;
    switch (rng.below(9)) {
      case 0: return scalarParam(name, scalar(ZEB_DATATYPE_INT_8, &S::int8Value, rng.next32()));
      case 1: return scalarParam(name, scalar(ZEB_DATATYPE_INT_16, &S::int16Value, rng.next32()));
      case 2: return scalarParam(name, scalar(ZEB_DATATYPE_INT_32, &S::int32Value, anyInt32()));
      case 3: return scalarParam(name, scalar(ZEB_DATATYPE_UINT_8, &S::uint8Value, rng.next32()));
      case 4: return scalarParam(name, scalar(ZEB_DATATYPE_UINT_16, &S::uint16Value, rng.next32()));
      case 5: return scalarParam(name, scalar(ZEB_DATATYPE_UINT_32, &S::uint32Value, rng.oneIn(3) ? UINT32_MAX : rng.next32()));
      case 6: return scalarParam(name, scalar(ZEB_DATATYPE_FLOAT_32, &S::floatValue, anyFloat()));
      case 7: return scalarParam(name, scalar(ZEB_DATATYPE_BOOL_8, &S::bool8Value, anyFlag()));
      default: return scalarParam(name, scalar(ZEB_DATATYPE_STRING, &S::stringValue, rng.oneIn(2) ? nullptr : maybeText()));
    }
  }
  // count descriptions, or NULL now and then (also with a nonzero count).
  Zeb_Tensor_t* nodeTensors(uint32_t context, uint32_t count) {
    return rng.oneIn(8) ? nullptr : some<Zeb_Tensor_t>(count, [&] { return nodeTensor(context); });
  }
  // "conv", "add/relu", "pool (": words, separators, dropped characters; NULL now and then.
  const char* nodeName() {
    static const char* const words[] = {"conv", "relu", "pool", "add", "matmul", "softmax", "reshape", "concat", "gather", "norm"};
    if (rng.oneIn(6)) return nullptr;
    std::string name = rng.pick(words);
    if (rng.oneIn(2)) name += " /|-:;.,+"[rng.below(9)], name += rng.pick(words);
    if (rng.oneIn(4)) name += "()[]<>!#"[rng.below(8)];
    return arena.text(name);
  }
  // An operation whose tensors come from the context (0: fresh ones only).
  Zeb_OpConfig_t operation(uint32_t context) {
    const char *name = nodeName(), *package = maybeText(), *type = maybeText();
    const uint32_t numParams = rng.below(5);
    Zeb_Param_t* params = rng.oneIn(8) ? nullptr : some<Zeb_Param_t>(numParams, [&] { return parameter(context); });
    const uint32_t numInputs = rng.below(4);
    Zeb_Tensor_t* inputs = nodeTensors(context, numInputs);
    const uint32_t numOutputs = rng.below(4);
    return opConfig(name, package, type, numParams, params, numInputs, inputs, numOutputs, nodeTensors(context, numOutputs));
  }
  // Copies of the context's graph tensors with fresh data; none now and then, as an empty array or as NULL.
  Zeb_Tensor_t* executionTensors(uint32_t context, uint32_t& count) {
    auto registered = tensorsOf(context, true);
    count = registered.empty() ? 0 : rng.below(4);
    if (count == 0 && rng.oneIn(2)) return nullptr;
    return some<Zeb_Tensor_t>(count, [&] {
      Zeb_Tensor_t tensor = any(registered).description;
      const bool withData = !rng.oneIn(4);
      tensor.v1.clientBuf = clientBuffer(tensor.v1.dataType, withData, arena);  // same place in both versions
      return tensor;
    });
  }
  // A binary the client hands in: random bytes, sometimes none at all.
  const uint8_t* anyBinary(Zeb_ContextBinarySize_t& size) {
    size = rng.below(48);
    return rng.oneIn(5) ? nullptr : some<uint8_t>(size + 1, [&] { return uint8_t(rng.next32()); });
  }
  Live<Zeb_DeviceHandle_t> maybeDevice(bool wanted) {
    return wanted && !devices.empty() ? any(devices) : Live<Zeb_DeviceHandle_t>{0, nullptr};
  }
  template <class T> std::vector<T> unused(const std::vector<T>& items) {
    return where(items, [&](const T& item) {
      return std::none_of(contexts.begin(), contexts.end(), [&](auto& c) { return c.backend == item.id || c.device == item.id; }) &&
             std::none_of(profiles.begin(), profiles.end(), [&](auto& p) { return p.backend == item.id; });
    });
  }
  template <class T, class Free> void freeUnused(std::vector<T>& items, Free free) {
    auto candidates = unused(items);
    const T item = any(candidates);
    items.erase(std::find_if(items.begin(), items.end(), [&](const T& i) { return i.id == item.id; }));
    free(item.handle);
  }
  Zeb_ProfileHandle_t profileOf(uint32_t backend) {  // or NULL
    auto mine = where(profiles, [&](const LiveProfile& p) { return p.backend == backend; });
    return anyOrNull(mine, 2);
  }
  // Forgets the context's graphs and tensors with it.
  void freeContext() {
    const LiveContext context = take(contexts);
    const auto profile = profileOf(context.backend);
    graphs = where(graphs, [&](const LiveGraph& g) { return g.context != context.id; });
    tensors = where(tensors, [&](const LiveTensor& t) { return t.context != context.id; });
    api.contextFree(context.handle, profile);
  }
};

struct Action { bool isQuery; bool (*possible)(World&); void (*perform)(World&); };

constexpr bool kQuery = true, kCall = false;
bool always(World&) { return true; }
bool hasBackend(World& w) { return !w.backends.empty(); }
bool hasDevice(World& w) { return !w.devices.empty(); }
bool hasContext(World& w) { return !w.contexts.empty(); }
bool hasProfile(World& w) { return !w.profiles.empty(); }
bool hasGraph(World& w) { return !w.graphs.empty(); }
bool roomForContext(World& w) { return hasBackend(w) && w.contexts.size() < 4; }
bool roomForGraph(World& w) { return hasContext(w) && w.graphs.size() < 6; }

// Each row: a query (left out by scenarios that make none), when it is possible, what it does.
const Action kActions[] = {
    {kCall, [](World& w) { return w.logging; }, [](World& w) { w.api.logSetLogLevel(w.logger, ZebLog_Level_t(1 + w.rng.below(5))); }},
    // backends and properties
    {kCall, [](World& w) { return w.backends.size() < 3; }, [](World& w) {
       Zeb_BackendHandle_t backend = nullptr; w.api.backendCreate(w.logger, w.backendConfigs(), &backend);
       w.backends.push_back({++w.lastId, backend});
     }},
    {kCall, hasBackend, [](World& w) { auto b = w.any(w.backends).handle; w.api.backendSetConfig(b, w.backendConfigs()); }},
    {kCall, hasBackend, [](World& w) {
       const auto b = w.any(w.backends).handle; const char *path = w.maybeText(), *provider = w.maybeText();
       w.api.backendRegisterOpPackage(b, path, provider, w.maybeText());
     }},
    {kQuery, hasBackend, [](World& w) {
       static uint32_t count; static const ZebBackend_OperationName_t* operations;
       const auto b = w.any(w.backends).handle; auto* countOut = w.maybeOutput(count);
       w.api.backendGetSupportedOperations(b, countOut, w.maybeOutput(operations));
     }},
    {kQuery, always, [](World& w) { w.api.propertyHasCapability(w.rng.next32()); }},
    {kCall, [](World& w) { return !w.unused(w.backends).empty(); }, [](World& w) { w.freeUnused(w.backends, w.api.backendFree); }},
    // devices
    {kCall, [](World& w) { return w.devices.size() < 3; }, [](World& w) {
       Zeb_DeviceHandle_t device = nullptr; w.api.deviceCreate(w.logger, w.deviceConfigs(), &device);
       w.devices.push_back({++w.lastId, device});
     }},
    {kCall, hasDevice, [](World& w) { auto d = w.any(w.devices).handle; w.api.deviceSetConfig(d, w.deviceConfigs()); }},
    {kCall, [](World& w) { return !w.unused(w.devices).empty(); }, [](World& w) { w.freeUnused(w.devices, w.api.deviceFree); }},
    // the queries of a family together, each of them now and then
    {kQuery, always, [](World& w) {
       const uint32_t which = 1 + w.rng.below(hasDevice(w) ? 7 : 3);
       static const ZebDevice_PlatformInfo_t* info; static ZebDevice_Infrastructure_t infrastructure;
       if (which & 1) w.api.deviceGetPlatformInfo(w.logger, w.maybeOutput(info));
       if (which & 2) w.api.deviceGetInfrastructure(w.maybeOutput(infrastructure));
       if (!(which & 4)) return;
       auto d = w.any(w.devices).handle; w.api.deviceGetInfo(d, w.maybeOutput(info));
     }},
    // contexts and binaries
    {kCall, hasContext, [](World& w) { auto c = w.any(w.contexts).handle; w.api.contextSetConfig(c, w.contextConfigs()); }},
    {kCall, hasContext, [](World& w) { w.freeContext(); }},
    // a context made plainly, from a binary, or from a binary with a signal argument
    {kCall, roomForContext, [](World& w) {
       const auto backend = w.any(w.backends);
       const auto device = w.maybeDevice(!w.rng.oneIn(3));
       const auto configs = w.contextConfigs();
       Zeb_ContextBinarySize_t size = 0; const uint8_t* binary = w.anyBinary(size);
       const auto profile = w.profileOf(backend.id);
       Zeb_ContextHandle_t c = nullptr; const auto [b, d] = std::pair{backend.handle, device.handle};
       switch (w.rng.below(3)) {
         case 0: w.api.contextCreate(b, d, configs, &c); break;
         case 1: w.api.contextCreateFromBinary(b, d, configs, binary, size, &c, profile); break;
         default: w.api.contextCreateFromBinaryWithSignal(b, d, configs, binary, size, &c, profile, nullptr);
       }
       w.contexts.push_back({++w.lastId, c, backend.id, device.id, 512});
     }},
    {kCall, hasBackend, [](World& w) {
       const auto backend = w.anyOrNull(w.backends, 2);
       const auto device = w.maybeDevice(w.rng.oneIn(2)).handle;
       const auto configs = w.contextConfigs();
       Zeb_ContextBinarySize_t size = 0; const uint8_t* binary = w.anyBinary(size);
       w.api.contextValidateBinary(backend, device, configs, binary, size);
     }},
    // the size the client passes: what the backend answered when asked, else its own guess
    {kQuery, hasContext, [](World& w) {
       LiveContext& context = w.any(w.contexts);
       const uint32_t which = 1 + w.rng.below(3);
       if (which & 1) w.api.contextGetBinarySize(context.handle, w.maybeOutput(context.binarySize));
       static uint8_t buffer[1024]; static Zeb_ContextBinarySize_t written;
       if (which & 2) w.api.contextGetBinary(context.handle, buffer, context.binarySize, w.maybeOutput(written));
     }},
    // profiles
    {kCall, [](World& w) { return hasBackend(w) && w.profiles.size() < 3; }, [](World& w) {
       const auto backend = w.any(w.backends);
       const int32_t level = w.rng.oneIn(4) ? w.anyInt32() : ZEB_PROFILE_LEVEL_BASIC + w.rng.below(2);
       Zeb_ProfileHandle_t profile = nullptr; w.api.profileCreate(backend.handle, ZebProfile_Level_t(level), &profile);
       w.profiles.push_back({++w.lastId, profile, backend.id});
     }},
    {kCall, hasProfile, [](World& w) { auto p = w.any(w.profiles).handle; w.api.profileSetConfig(p, w.profileConfigs()); }},
    {kCall, hasProfile, [](World& w) { w.api.profileFree(w.take(w.profiles).handle); }},
    {kQuery, always, [](World& w) {
       static const ZebProfile_EventId_t* events; static uint32_t count;
       static ZebProfile_EventData_t data; static ZebProfile_ExtendedEventData_t extended;
       if (hasProfile(w)) {
         const auto p = w.any(w.profiles).handle; auto* eventsOut = w.maybeOutput(events);
         w.api.profileGetEvents(p, eventsOut, w.maybeOutput(count));
       }
       const ZebProfile_EventId_t event = w.anyUint64();
       const uint32_t which = w.rng.below(3);
       auto* eventsOut = w.maybeOutput(events);
       if (which == 0) w.api.profileGetSubEvents(event, eventsOut, w.maybeOutput(count));
       if (which == 1) w.api.profileGetEventData(event, w.maybeOutput(data));
       if (which == 2) w.api.profileGetExtendedEventData(event, w.maybeOutput(extended));
     }},
    // tensors and graphs
    {kCall, [](World& w) { return hasContext(w) && w.tensors.size() < 24; }, [](World& w) {
       const auto context = w.any(w.contexts);
       Zeb_Tensor_t tensor = w.freshTensor(w.kept); w.api.tensorCreateContextTensor(context.handle, &tensor);
       w.tensors.push_back({context.id, false, tensor});
     }},
    {kCall, [](World& w) { return hasGraph(w) && w.tensors.size() < 24; }, [](World& w) {
       const auto graph = w.any(w.graphs);
       Zeb_Tensor_t tensor = w.freshTensor(w.kept); w.api.tensorCreateGraphTensor(graph.handle, &tensor);
       w.tensors.push_back({graph.context, true, tensor});
     }},
    {kCall, roomForGraph, [](World& w) {
       const auto context = w.any(w.contexts);
       const std::string name = w.graphName("net");
       const auto configs = w.graphConfigs();
       Zeb_GraphHandle_t graph = nullptr; w.api.graphCreate(context.handle, name.c_str(), configs, &graph);
       w.graphs.push_back({graph, context.id, name, true});
     }},
    {kCall, [](World& w) { return hasGraph(w) && w.graphs.size() < 6; }, [](World& w) {
       const auto parent = w.any(w.graphs);
       const std::string name = w.graphName("sub");
       Zeb_GraphHandle_t subgraph = nullptr; w.api.graphCreateSubgraph(parent.handle, name.c_str(), &subgraph);
       w.graphs.push_back({subgraph, parent.context, name, false});
     }},
    {kCall, hasGraph, [](World& w) { auto g = w.any(w.graphs).handle; w.api.graphSetConfig(g, w.graphConfigs()); }},
    // by the name of a graph of the context, of another context, or a new name
    {kCall, roomForGraph, [](World& w) {
       const auto context = w.any(w.contexts);
       const uint32_t choice = w.rng.below(3);
       auto named = w.where(w.graphs, [&](const LiveGraph& g) { return g.byName && (g.context == context.id) == (choice == 0); });
       const std::string name = choice < 2 && !named.empty() ? w.any(named).name : w.graphName("net");
       Zeb_GraphHandle_t graph = nullptr; w.api.graphRetrieve(context.handle, name.c_str(), &graph);
       w.graphs.push_back({graph, context.id, name, true});
     }},
    {kCall, hasGraph, [](World& w) { auto g = w.any(w.graphs); w.api.graphAddNode(g.handle, w.operation(g.context)); }},
    {kCall, hasBackend, [](World& w) { auto b = w.any(w.backends).handle; w.api.backendValidateOpConfig(b, w.operation(0)); }},
    {kCall, hasGraph, [](World& w) {
       const auto graph = w.any(w.graphs);
       uint32_t numInputs = 0, numOutputs = 0;
       const Zeb_Tensor_t* inputs = w.executionTensors(graph.context, numInputs);
       Zeb_Tensor_t* outputs = w.executionTensors(graph.context, numOutputs);
       w.api.graphExecute(graph.handle, inputs, numInputs, outputs, numOutputs, w.anyOrNull(w.profiles, 2), nullptr);
     }},
    {kCall, hasGraph, [](World& w) { auto g = w.any(w.graphs).handle; w.api.graphFinalize(g, w.anyOrNull(w.profiles, 2), nullptr); }},
};

}  // namespace

void runRandomScenario(const ZebApi& api, uint64_t seed) {
  World w(api, seed);
  if ((w.logging = w.rng.oneIn(4))) w.api.logCreate(nullptr, ZebLog_Level_t(1 + w.rng.below(5)), &w.logger);
  for (uint32_t steps = 10 + w.rng.below(61); steps > 0; --steps) {
    const Action* action = nullptr;
    do action = &kActions[w.rng.below(std::size(kActions))];
    while ((action->isQuery && !w.withQueries) || !action->possible(w));
    action->perform(w);
    w.arena.items.clear();
  }
  // Queries once more; contexts are freed first since they may name a profile.
  for (const Action& action : kActions)
    if (action.isQuery && w.withQueries && action.possible(w)) action.perform(w), w.arena.items.clear();
  while (hasContext(w)) w.freeContext();
  while (hasProfile(w)) w.api.profileFree(w.take(w.profiles).handle);
  while (hasDevice(w)) w.freeUnused(w.devices, w.api.deviceFree);
  while (hasBackend(w)) w.freeUnused(w.backends, w.api.backendFree);
  if (w.logging) w.api.logFree(w.logger);
}

// The same first draw as World's.
bool randomScenarioRoundTrips(uint64_t seed) { return Prng{seed}.oneIn(2); }

}  // namespace zeb::e2e
