#include "canonical.h"

#include <charconv>
#include <cstring>

namespace zeb::echo {
namespace {

struct KindInfo {
  const char* name;
  bool tracked;  // untracked kinds are always written as "-"
};

constexpr std::array<KindInfo, kHandleKindCount> kKinds = {{{"backend", true},
                                                            {"context", true},
                                                            {"graph", true},
                                                            {"device", true},
                                                            {"profile", true},
                                                            {"mem", true},
                                                            {"log", false},
                                                            {"signal", false}}};

const KindInfo& info(HandleKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

std::string ordinalText(const char* prefix, uint32_t ordinal) {
  return std::string(prefix) + "#" + std::to_string(ordinal);
}

template <class T>
std::string toChars(T value, int base = 10) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, base).ptr;
  return std::string(text, end);
}

// Shortest round-trip form; a NaN by its bits, which carry its sign and
// payload: nan:0x7fc00000.
template <class T, class Bits>
std::string floatText(T value) {
  if (value != value) {
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::string hex = toChars(bits, 16);
    return "nan:0x" + std::string(2 * sizeof bits - hex.size(), '0') + hex;
  }
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// A scalar's value is read from the union member that its data type selects:
// the high byte of a data type names the kind, the low byte the width. Half
// floats have no member of their own and are written as their bits.
enum class ScalarKind { Signed, Unsigned, Float, String, None };

struct ScalarLayout {
  ScalarKind kind;
  int bytes;
};

ScalarLayout scalarLayout(Zeb_DataType_t dataType) {
  const auto value = static_cast<uint32_t>(dataType);
  int bytes = 0;
  switch (value & 0xFFu) {
    case 0x04:
    case 0x08: bytes = 1; break;
    case 0x16: bytes = 2; break;
    case 0x32: bytes = 4; break;
    case 0x64: bytes = 8; break;
    default: return {ScalarKind::None, 0};
  }
  switch (value >> 8) {
    case 0x0:
    case 0x3: return {ScalarKind::Signed, bytes};
    case 0x1:
    case 0x4:
    case 0x5: return {ScalarKind::Unsigned, bytes};
    case 0x2: return {bytes >= 4 ? ScalarKind::Float : ScalarKind::Unsigned, bytes};
    case 0x6: return {bytes == 1 ? ScalarKind::String : ScalarKind::None, bytes};
    default: return {ScalarKind::None, 0};
  }
}

}  // namespace

uint64_t fnv1a(const void* data, uint64_t size) {
  uint64_t hash = 0xcbf29ce484222325ull;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (uint64_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string Ordinals::addHandle(HandleKind kind, const void* handle) {
  if (!info(kind).tracked) return "-";
  auto& map = handles_[static_cast<std::size_t>(kind)];
  const auto ordinal = static_cast<uint32_t>(map.size() + 1);
  map.emplace(handle, ordinal);
  return ordinalText(info(kind).name, ordinal);
}

std::string Ordinals::addTensorId(uint32_t id) {
  const auto ordinal = static_cast<uint32_t>(tensorIds_.size() + 1);
  tensorIds_.emplace(id, ordinal);
  return ordinalText("tensor", ordinal);
}

std::string Ordinals::handle(HandleKind kind, const void* handle) const {
  if (!info(kind).tracked) return "-";
  if (handle == nullptr) return "NULL";
  const auto& map = handles_[static_cast<std::size_t>(kind)];
  const auto found = map.find(handle);
  return found == map.end() ? "unknown" : ordinalText(info(kind).name, found->second);
}

std::string Ordinals::tensorId(uint32_t id) const {
  const auto found = tensorIds_.find(id);
  return found == tensorIds_.end() ? "id:" + std::to_string(id)
                                   : ordinalText("tensor", found->second);
}

Line::Line(const Ordinals& ordinals, std::string_view call) : ordinals_(ordinals), out_(call) {}

Line& Line::arg(std::string_view name) {
  out_ += ' ';
  out_ += name;
  out_ += '=';
  return *this;
}

Line& Line::result(std::string_view text) {
  out_ += " -> ";
  out_ += text;
  return *this;
}

Line& Line::literal(std::string_view text) {
  out_ += text;
  return *this;
}

Line& Line::output(const void* pointer) { return literal(pointer ? "out" : "NULL"); }

Line& Line::opaque(const void* pointer) { return literal(pointer ? "ptr" : "NULL"); }

Line& Line::string(const char* text) {
  if (text == nullptr) return literal("NULL");
  out_ += '"';
  for (const char* c = text; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte == '"' || byte == '\\') {
      out_ += '\\';
      out_ += *c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      const std::string hex = toChars(static_cast<unsigned>(byte), 16);
      out_ += byte < 0x10 ? "\\x0" : "\\x";
      out_ += hex;
    } else {
      out_ += *c;
    }
  }
  out_ += '"';
  return *this;
}

Line& Line::buffer(const void* data, uint64_t size) {
  if (data == nullptr) return literal("buf(NULL)");
  const std::string hex = toChars(fnv1a(data, size), 16);
  out_ += "buf(" + std::to_string(size) + ",0x" + std::string(16 - hex.size(), '0') + hex + ")";
  return *this;
}

Line& Line::handle(HandleKind kind, const void* handle) {
  return literal(ordinals_.handle(kind, handle));
}

Line& Line::tensorId(uint32_t id) { return literal(ordinals_.tensorId(id)); }

Line& Line::integer(int64_t value) { return literal(toChars(value)); }

Line& Line::unsignedInteger(uint64_t value) { return literal(toChars(value)); }

// Equal values give equal text however they were spelled.
Line& Line::real(double value) { return literal(floatText<double, uint64_t>(value)); }

Line& Line::real(float value) { return literal(floatText<float, uint32_t>(value)); }

Line& Line::key(std::string_view name) {
  // Lists write their own separators; no value ends in one of these.
  const char last = out_.back();
  if (last != '{' && last != '[' && last != ',') out_ += ',';
  out_ += name;
  out_ += '=';
  return *this;
}

// A counted array: [] when the count is 0 (the pointer is then never read),
// NULL for a null pointer with elements, otherwise every element.
template <class T, class Each>
void Line::list(const T* items, std::size_t count, Each each) {
  if (count > 0 && items == nullptr) {
    literal("NULL");
    return;
  }
  out_ += '[';
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out_ += ',';
    each(items[i]);
  }
  out_ += ']';
}

// A NULL-terminated array of pointers; NULL itself is written as NULL.
template <class T, class Each>
void Line::nullTerminated(const T* const* items, Each each) {
  if (items == nullptr) {
    literal("NULL");
    return;
  }
  out_ += '[';
  for (const T* const* item = items; *item != nullptr; ++item) {
    if (item != items) out_ += ',';
    each(*item);
  }
  out_ += ']';
}

// ---- tensors ---------------------------------------------------------------

Line& Line::tensor(const Zeb_Tensor_t* tensor) {
  if (tensor == nullptr) return literal("NULL");
  out_ += '{';
  key("version").number(tensor->version);
  if (tensor->version == ZEB_TENSOR_VERSION_1) {
    tensorFields(tensor->v1);
  } else if (tensor->version == ZEB_TENSOR_VERSION_2) {
    const Zeb_TensorV2_t& v2 = tensor->v2;
    tensorFields(v2);
    key("dynamic");
    list(v2.isDynamicDimensions, v2.rank, [this](uint8_t flag) { number(flag); });
    key("sparse");
    out_ += '{';
    key("layout").number(v2.sparseParams.type);
    key("specified").number(v2.sparseParams.hybridCoo.numSpecifiedElements);
    key("sparseDims").number(v2.sparseParams.hybridCoo.numSparseDimensions);
    out_ += '}';
    key("isProduced").number(v2.isProduced);
  }
  out_ += '}';
  return *this;
}

template <class Body>
void Line::tensorFields(const Body& body) {
  key("id").tensorId(body.id);
  key("name").string(body.name);
  key("type").number(body.type);
  key("dataFormat").number(body.dataFormat);
  key("dataType").number(body.dataType);
  key("quant");
  quantizeParams(body.quantizeParams);
  key("rank").number(body.rank);
  key("dims");
  list(body.dimensions, body.rank, [this](uint32_t dim) { number(dim); });
  key("memType").number(body.memType);
  // Only raw client buffers carry client memory we may read.
  key("buf");
  if (body.memType == ZEB_TENSORMEMTYPE_RAW) {
    buffer(body.clientBuf.data, body.clientBuf.dataSize);
  } else {
    literal("unread");
  }
}

void Line::quantizeParams(const Zeb_QuantizeParams_t& params) {
  out_ += '{';
  key("definition").number(params.encodingDefinition);
  key("encoding").number(params.quantizationEncoding);
  switch (params.quantizationEncoding) {
    case ZEB_QUANTIZATION_ENCODING_SCALE_OFFSET:
      key("scale").number(params.scaleOffsetEncoding.scale);
      key("offset").number(params.scaleOffsetEncoding.offset);
      break;
    case ZEB_QUANTIZATION_ENCODING_AXIS_SCALE_OFFSET: {
      const Zeb_AxisScaleOffset_t& axis = params.axisScaleOffsetEncoding;
      key("axis").number(axis.axis);
      key("count").number(axis.numScaleOffsets);
      key("scaleOffsets");
      list(axis.scaleOffset, axis.numScaleOffsets, [this](const Zeb_ScaleOffset_t& pair) {
        out_ += '{';
        key("scale").number(pair.scale);
        key("offset").number(pair.offset);
        out_ += '}';
      });
      break;
    }
    case ZEB_QUANTIZATION_ENCODING_BW_SCALE_OFFSET:
      key("bitwidth").number(params.bwScaleOffsetEncoding.bitwidth);
      key("scale").number(params.bwScaleOffsetEncoding.scale);
      key("offset").number(params.bwScaleOffsetEncoding.offset);
      break;
    case ZEB_QUANTIZATION_ENCODING_BW_AXIS_SCALE_OFFSET: {
      const Zeb_BwAxisScaleOffset_t& axis = params.bwAxisScaleOffsetEncoding;
      key("bitwidth").number(axis.bitwidth);
      key("axis").number(axis.axis);
      key("count").number(axis.numElements);
      key("scales");
      list(axis.scales, axis.numElements, [this](float scale) { number(scale); });
      key("offsets");
      list(axis.offsets, axis.numElements, [this](int32_t offset) { number(offset); });
      break;
    }
    default:  // undefined encodings carry no parameters
      break;
  }
  out_ += '}';
}

Line& Line::tensors(const Zeb_Tensor_t* tensors, uint32_t count) {
  list(tensors, count, [this](const Zeb_Tensor_t& item) { tensor(&item); });
  return *this;
}

Line& Line::tensorPointers(const Zeb_Tensor_t* const* tensors, uint32_t count) {
  list(tensors, count, [this](const Zeb_Tensor_t* item) { tensor(item); });
  return *this;
}

Line& Line::memHandles(const Zeb_MemHandle_t* handles, uint32_t count) {
  list(handles, count, [this](Zeb_MemHandle_t item) { handle(HandleKind::Mem, item); });
  return *this;
}

// ---- operations ------------------------------------------------------------

Line& Line::opConfig(const Zeb_OpConfig_t& config) {
  out_ += '{';
  key("version").number(config.version);
  if (config.version == ZEB_OPCONFIG_VERSION_1) {
    const Zeb_OpConfigV1_t& v1 = config.v1;
    key("name").string(v1.name);
    key("package").string(v1.packageName);
    key("type").string(v1.typeName);
    key("numParams").number(v1.numOfParams);
    key("params");
    list(v1.params, v1.numOfParams, [this](const Zeb_Param_t& item) { param(item); });
    key("numInputs").number(v1.numOfInputs);
    key("inputs").tensors(v1.inputTensors, v1.numOfInputs);
    key("numOutputs").number(v1.numOfOutputs);
    key("outputs").tensors(v1.outputTensors, v1.numOfOutputs);
  }
  out_ += '}';
  return *this;
}

void Line::param(const Zeb_Param_t& param) {
  out_ += '{';
  key("paramType").number(param.paramType);
  key("name").string(param.name);
  if (param.paramType == ZEB_PARAMTYPE_SCALAR) {
    key("scalar");
    scalar(param.scalarParam);
  } else if (param.paramType == ZEB_PARAMTYPE_TENSOR) {
    key("tensor").tensor(&param.tensorParam);
  }
  out_ += '}';
}

void Line::scalar(const Zeb_Scalar_t& scalar) {
  out_ += '{';
  key("dataType").number(scalar.dataType);
  const ScalarLayout layout = scalarLayout(scalar.dataType);
  if (layout.kind != ScalarKind::None) key("value");
  switch (layout.kind) {
    case ScalarKind::Signed:
      switch (layout.bytes) {
        case 1: number(scalar.int8Value); break;
        case 2: number(scalar.int16Value); break;
        case 4: number(scalar.int32Value); break;
        default: number(scalar.int64Value); break;
      }
      break;
    case ScalarKind::Unsigned:
      switch (layout.bytes) {
        case 1: number(scalar.uint8Value); break;
        case 2: number(scalar.uint16Value); break;
        case 4: number(scalar.uint32Value); break;
        default: number(scalar.uint64Value); break;
      }
      break;
    case ScalarKind::Float:
      if (layout.bytes == 4) {
        number(scalar.floatValue);
      } else {
        number(scalar.doubleValue);
      }
      break;
    case ScalarKind::String: string(scalar.stringValue); break;
    case ScalarKind::None: break;
  }
  out_ += '}';
}

// ---- platform information --------------------------------------------------

Line& Line::platformInfo(const ZebDevice_PlatformInfo_t* info) {
  if (info == nullptr) return literal("NULL");
  out_ += '{';
  key("version").number(info->version);
  if (info->version == ZEB_DEVICE_PLATFORM_INFO_VERSION_1) {
    key("numHwDevices").number(info->v1.numHwDevices);
    key("hwDevices");
    list(info->v1.hwDevices, info->v1.numHwDevices,
         [this](const ZebDevice_HardwareDeviceInfo_t& device) { hardwareDevice(device); });
  }
  out_ += '}';
  return *this;
}

void Line::hardwareDevice(const ZebDevice_HardwareDeviceInfo_t& device) {
  out_ += '{';
  key("version").number(device.version);
  if (device.version == ZEB_DEVICE_HARDWARE_DEVICE_INFO_VERSION_1) {
    const ZebDevice_HardwareDeviceInfoV1_t& v1 = device.v1;
    key("deviceId").number(v1.deviceId);
    key("deviceType").number(v1.deviceType);
    key("numCores").number(v1.numCores);
    key("cores");
    list(v1.cores, v1.numCores, [this](const ZebDevice_CoreInfo_t& item) { core(item); });
    key("extension").opaque(v1.deviceInfoExtension);
  }
  out_ += '}';
}

void Line::core(const ZebDevice_CoreInfo_t& core) {
  out_ += '{';
  key("version").number(core.version);
  if (core.version == ZEB_DEVICE_CORE_INFO_VERSION_1) {
    key("coreId").number(core.v1.coreId);
    key("coreType").number(core.v1.coreType);
    key("extension").opaque(core.v1.coreInfoExtension);
  }
  out_ += '}';
}

Line& Line::environment(const ZebGraph_ExecutionEnvironment_t* const* entries) {
  nullTerminated(entries, [this](const ZebGraph_ExecutionEnvironment_t* entry) {
    out_ += '{';
    key("kind").number(entry->kind);
    key("value").opaque(entry->value);
    out_ += '}';
  });
  return *this;
}

// ---- configurations --------------------------------------------------------
// A configuration list is written as [name=value,...]; an option this API
// version does not define is written as option=<number>.

Line& Line::backendConfigs(const ZebBackend_Config_t* const* configs) {
  nullTerminated(configs, [this](const ZebBackend_Config_t* config) { backendConfig(*config); });
  return *this;
}

void Line::backendConfig(const ZebBackend_Config_t& config) {
  switch (config.option) {
    case ZEB_BACKEND_CONFIG_OPTION_CUSTOM: key("custom").opaque(config.customConfig); break;
    case ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING:
      key("errorReporting");
      out_ += '{';
      key("level").number(config.errorConfig.reportingLevel);
      key("limit").number(config.errorConfig.storageLimit);
      out_ += '}';
      break;
    case ZEB_BACKEND_CONFIG_OPTION_PLATFORM: key("platform").string(config.platformOption); break;
    default: key("option").number(config.option); break;
  }
}

Line& Line::contextConfigs(const ZebContext_Config_t* const* configs) {
  nullTerminated(configs, [this](const ZebContext_Config_t* config) { contextConfig(*config); });
  return *this;
}

void Line::contextConfig(const ZebContext_Config_t& config) {
  switch (config.option) {
    case ZEB_CONTEXT_CONFIG_OPTION_CUSTOM: key("custom").opaque(config.customConfig); break;
    case ZEB_CONTEXT_CONFIG_OPTION_PRIORITY: key("priority").number(config.priority); break;
    case ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING:
      key("errorReporting");
      out_ += '{';
      key("level").number(config.errorConfig.reportingLevel);
      key("limit").number(config.errorConfig.storageLimit);
      out_ += '}';
      break;
    case ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING: key("oemString").string(config.oemString); break;
    case ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH:
      key("asyncExeQueueDepth");
      out_ += '{';
      key("type").number(config.asyncExeQueueDepth.type);
      if (config.asyncExeQueueDepth.type == ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC) {
        key("depth").number(config.asyncExeQueueDepth.depth);
      }
      out_ += '}';
      break;
    case ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS:
      key("enableGraphs");
      nullTerminated(config.enableGraphs, [this](const char* name) { string(name); });
      break;
    case ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT:
      key("memoryLimitHint").number(config.memoryLimitHint);
      break;
    case ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY:
      key("persistentBinary").number(config.isPersistentBinary);
      break;
    default: key("option").number(config.option); break;
  }
}

Line& Line::graphConfigs(const ZebGraph_Config_t* const* configs) {
  nullTerminated(configs, [this](const ZebGraph_Config_t* config) { graphConfig(*config); });
  return *this;
}

// Profiling state and execution count have no value member in this API version.
void Line::graphConfig(const ZebGraph_Config_t& config) {
  switch (config.option) {
    case ZEB_GRAPH_CONFIG_OPTION_CUSTOM: key("custom").opaque(config.customConfig); break;
    case ZEB_GRAPH_CONFIG_OPTION_PRIORITY: key("priority").number(config.priority); break;
    default: key("option").number(config.option); break;
  }
}

Line& Line::deviceConfigs(const ZebDevice_Config_t* const* configs) {
  nullTerminated(configs, [this](const ZebDevice_Config_t* config) { deviceConfig(*config); });
  return *this;
}

void Line::deviceConfig(const ZebDevice_Config_t& config) {
  switch (config.option) {
    case ZEB_DEVICE_CONFIG_OPTION_CUSTOM: key("custom").opaque(config.customConfig); break;
    case ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO:
      key("platformInfo").platformInfo(config.hardwareInfo);
      break;
    default: key("option").number(config.option); break;
  }
}

Line& Line::profileConfigs(const ZebProfile_Config_t* const* configs) {
  nullTerminated(configs, [this](const ZebProfile_Config_t* config) { profileConfig(*config); });
  return *this;
}

void Line::profileConfig(const ZebProfile_Config_t& config) {
  switch (config.option) {
    case ZEB_PROFILE_CONFIG_OPTION_CUSTOM: key("custom").opaque(config.customConfig); break;
    case ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS: key("maxEvents").number(config.numMaxEvents); break;
    default: key("option").number(config.option); break;
  }
}

}  // namespace zeb::echo
