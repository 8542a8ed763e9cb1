#include "record/device_config.h"

#include <cstdint>

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

template <class Node>
using NodeWriter = Zeb_ErrorHandle_t (*)(const Node&, std::string_view, StatementBuilder&);

// Only version 1 of each tree node is known; anything else ends the recording.
bool isVersionOne(int32_t version, const char* node) {
  if (version == 1) return true;
  zeb::log::error("Unsupported %s version: %d", node, static_cast<int>(version));
  return false;
}

// The extension's layout is backend-specific, so the written program passes NULL.
void warnIfExtension(const void* extension, const char* node) {
  if (extension != nullptr) {
    zeb::log::warning("Parsing of backend-specific %s extensions not supported", node);
  }
}

// `{type}_t {name} = {...}`, selecting the body `{name}_v1` written before it.
template <std::size_t TypeSize>
void writeVersionHeader(StatementBuilder& builder, const char (&type)[TypeSize],
                        std::string_view name, int32_t version) {
  builder.writeLineOf(type, "_t ", name, " = {(", type, "Version_t)", version, ", .v1 = ", name,
                      "_v1};");
}

// Declares each child under `{parent}_{kind}_{i}`, then the array
// `{parent}_{kind}s` of their values. `reference` names that array, or is
// "NULL" without children.
template <class Node>
Zeb_ErrorHandle_t serializeChildren(const Node* nodes, uint32_t count, std::string_view type,
                                    std::string_view parent, std::string_view kind,
                                    NodeWriter<Node> write, StatementBuilder& builder,
                                    TextBuffer& reference) {
  reference = "NULL";
  if (nodes == nullptr) return ZEB_SUCCESS;
  TextBuffer& names = builder.scratch();
  for (uint32_t i = 0; i < count; ++i) {
    TextBuffer& name = builder.scratch();
    appendAll(name, parent, "_", kind, "_", i);
    if (auto result = write(nodes[i], name, builder)) return result;
    appendAll(names, separatorBefore(i), name);
  }
  reference.clear();
  appendAll(reference, parent, "_", kind, "s");
  builder.writeJoinedArray(type, reference, names);
  return ZEB_SUCCESS;
}

void declareConfig(StatementBuilder& builder, TextBuffer& elements, std::string_view name,
                   std::string_view option, std::string_view value) {
  writeConfigEntry(builder, "ZebDevice_Config_t", name, option, value, elements);
}

TextBuffer& takeName(StatementBuilder& builder, ScribeDevice& device, std::string_view word,
                     DeviceWord counter) {
  return composeNumberedName(builder, device.name, word, device.wordCounters[counter]);
}

Zeb_ErrorHandle_t serializePlatformInfoConfig(ScribeDevice& device,
                                              const ZebDevice_PlatformInfo_t* info,
                                              TextBuffer& elements, StatementBuilder& builder) {
  const TextBuffer& infoName =
      takeName(builder, device, "hardwareInfo", DeviceWord::hardwareInfo);
  TextBuffer& value = builder.scratch();
  value = ".hardwareInfo = NULL";
  if (info != nullptr) {
    if (auto result = serializePlatformInfo(*info, infoName, builder)) return result;
    value.clear();
    appendAll(value, ".hardwareInfo = &", infoName);
  }
  declareConfig(builder, elements, composeName(builder, infoName, "config"),
                "ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO", value);
  return ZEB_SUCCESS;
}

// A custom configuration's content is opaque: only its absence can be written.
Zeb_ErrorHandle_t serializeCustomConfig(Recorder& recorder, ScribeDevice& device,
                                        ZebDevice_CustomConfig_t customConfig,
                                        TextBuffer& elements, StatementBuilder& builder) {
  const TextBuffer& name = takeName(builder, device, "customConfig", DeviceWord::customConfig);
  if (customConfig != nullptr) {
    if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
    zeb::log::error("Custom device config parsing not supported for chosen backend ID");
    return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  }
  declareConfig(builder, elements, name, "ZEB_DEVICE_CONFIG_OPTION_CUSTOM",
                ".customConfig = NULL");
  return ZEB_SUCCESS;
}

}  // namespace

Zeb_ErrorHandle_t serializeDeviceConfig(Recorder& recorder, ScribeDevice& device,
                                        const ZebDevice_Config_t& config, TextBuffer& elements,
                                        StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO:
      return serializePlatformInfoConfig(device, config.hardwareInfo, elements, builder);
    case ZEB_DEVICE_CONFIG_OPTION_CUSTOM:
      return serializeCustomConfig(recorder, device, config.customConfig, elements, builder);
    default:
      zeb::log::error("Unknown config option provided: %d", static_cast<int>(config.option));
      return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  }
}

Zeb_ErrorHandle_t serializePlatformInfo(const ZebDevice_PlatformInfo_t& info,
                                        std::string_view name, StatementBuilder& builder) {
  if (!isVersionOne(info.version, "platformInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_PlatformInfoV1_t& body = info.v1;
  TextBuffer& hwDevices = builder.scratch();
  if (auto result = serializeChildren<ZebDevice_HardwareDeviceInfo_t>(
          body.hwDevices, body.numHwDevices, "ZebDevice_HardwareDeviceInfo_t", name, "hwDevice",
          serializeHardwareDeviceInfo, builder, hwDevices)) {
    return result;
  }
  builder.writeLineOf("ZebDevice_PlatformInfoV1_t ", name, "_v1 = {", body.numHwDevices, ", ",
                      hwDevices, "};");
  writeVersionHeader(builder, "ZebDevice_PlatformInfo", name, info.version);
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t serializeHardwareDeviceInfo(const ZebDevice_HardwareDeviceInfo_t& info,
                                              std::string_view name, StatementBuilder& builder) {
  if (!isVersionOne(info.version, "deviceInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_HardwareDeviceInfoV1_t& body = info.v1;
  TextBuffer& cores = builder.scratch();
  if (auto result = serializeChildren<ZebDevice_CoreInfo_t>(body.cores, body.numCores,
                                                            "ZebDevice_CoreInfo_t", name, "core",
                                                            serializeCoreInfo, builder, cores)) {
    return result;
  }
  warnIfExtension(body.deviceInfoExtension, "deviceInfo");
  builder.writeLineOf("ZebDevice_HardwareDeviceInfoV1_t ", name, "_v1 = {", body.deviceId, ", ",
                      body.deviceType, ", ", body.numCores, ", ", cores, ", NULL};");
  writeVersionHeader(builder, "ZebDevice_HardwareDeviceInfo", name, info.version);
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t serializeCoreInfo(const ZebDevice_CoreInfo_t& info, std::string_view name,
                                    StatementBuilder& builder) {
  if (!isVersionOne(info.version, "coreInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_CoreInfoV1_t& body = info.v1;
  warnIfExtension(body.coreInfoExtension, "coreInfo");
  builder.writeLineOf("ZebDevice_CoreInfoV1_t ", name, "_v1 = {", body.coreId, ", ", body.coreType,
                      ", NULL};");
  writeVersionHeader(builder, "ZebDevice_CoreInfo", name, info.version);
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
