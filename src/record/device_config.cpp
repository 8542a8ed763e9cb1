#include "record/device_config.h"

#include <cstdint>

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

template <class Node>
using NodeWriter = Zeb_ErrorHandle_t (*)(Recorder&, const Node&, const std::string&,
                                         StatementBuilder&);

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

// `{type}V1_t {name}_v1 = {body};` and the versioned header that selects it.
void writeVersioned(StatementBuilder& builder, const std::string& type, const std::string& name,
                    int32_t version, const std::vector<StatementBuilder::Field>& body) {
  builder.writeStructInitializer(type + "V1_t", name + "_v1", body);
  builder.writeStructInitializer(
      type + "_t", name,
      {enumToText((type + "Version_t").c_str(), version), ".v1 = " + name + "_v1"});
}

// Declares each child under a fresh `{prefix}_{n}`, then the array `{prefix}s` of
// their values. `reference` names that array, or is "NULL" without children.
template <class Node>
Zeb_ErrorHandle_t serializeChildren(Recorder& recorder, const Node* nodes, uint32_t count,
                                    const std::string& type, const std::string& prefix,
                                    NodeWriter<Node> write, StatementBuilder& builder,
                                    std::string& reference) {
  reference = "NULL";
  if (nodes == nullptr) return ZEB_SUCCESS;
  std::vector<std::string> names;
  for (uint32_t i = 0; i < count; ++i) {
    names.push_back(recorder.makeVariableName(prefix));
    if (auto result = write(recorder, nodes[i], names.back(), builder)) return result;
  }
  reference = prefix + "s";
  builder.writeArrayInitializer(type, reference, names);
  return ZEB_SUCCESS;
}

void declareConfig(StatementBuilder& builder, std::vector<std::string>& elements,
                   const std::string& name, const char* option, const std::string& value) {
  writeConfigEntry(builder, "ZebDevice_Config_t", name, option, value, elements);
}

Zeb_ErrorHandle_t serializePlatformInfoConfig(Recorder& recorder, const ScribeDevice& device,
                                              const ZebDevice_PlatformInfo_t* info,
                                              std::vector<std::string>& elements,
                                              StatementBuilder& builder) {
  const std::string infoName = recorder.makeVariableName(device.name + "_hardwareInfo");
  std::string value = "NULL";
  if (info != nullptr) {
    if (auto result = serializePlatformInfo(recorder, *info, infoName, builder)) return result;
    value = "&" + infoName;
  }
  declareConfig(builder, elements, infoName + "_config", "ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO",
                ".hardwareInfo = " + value);
  return ZEB_SUCCESS;
}

// A custom configuration's content is opaque: only its absence can be written.
Zeb_ErrorHandle_t serializeCustomConfig(Recorder& recorder, const ScribeDevice& device,
                                        ZebDevice_CustomConfig_t customConfig,
                                        std::vector<std::string>& elements,
                                        StatementBuilder& builder) {
  const std::string name = recorder.makeVariableName(device.name + "_customConfig");
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

Zeb_ErrorHandle_t serializeDeviceConfig(Recorder& recorder, const ScribeDevice& device,
                                        const ZebDevice_Config_t& config,
                                        std::vector<std::string>& elements,
                                        StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_DEVICE_CONFIG_OPTION_PLATFORM_INFO:
      return serializePlatformInfoConfig(recorder, device, config.hardwareInfo, elements, builder);
    case ZEB_DEVICE_CONFIG_OPTION_CUSTOM:
      return serializeCustomConfig(recorder, device, config.customConfig, elements, builder);
    default:
      zeb::log::error("Unknown config option provided: %d", static_cast<int>(config.option));
      return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  }
}

Zeb_ErrorHandle_t serializePlatformInfo(Recorder& recorder, const ZebDevice_PlatformInfo_t& info,
                                        const std::string& name, StatementBuilder& builder) {
  if (!isVersionOne(info.version, "platformInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_PlatformInfoV1_t& body = info.v1;
  std::string hwDevices;
  if (auto result = serializeChildren<ZebDevice_HardwareDeviceInfo_t>(
          recorder, body.hwDevices, body.numHwDevices, "ZebDevice_HardwareDeviceInfo_t",
          name + "_hwDevice", serializeHardwareDeviceInfo, builder, hwDevices)) {
    return result;
  }
  writeVersioned(builder, "ZebDevice_PlatformInfo", name, info.version,
                 {body.numHwDevices, hwDevices});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t serializeHardwareDeviceInfo(Recorder& recorder,
                                              const ZebDevice_HardwareDeviceInfo_t& info,
                                              const std::string& name, StatementBuilder& builder) {
  if (!isVersionOne(info.version, "deviceInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_HardwareDeviceInfoV1_t& body = info.v1;
  std::string cores;
  if (auto result = serializeChildren<ZebDevice_CoreInfo_t>(
          recorder, body.cores, body.numCores, "ZebDevice_CoreInfo_t", name + "_core",
          serializeCoreInfo, builder, cores)) {
    return result;
  }
  warnIfExtension(body.deviceInfoExtension, "deviceInfo");
  writeVersioned(builder, "ZebDevice_HardwareDeviceInfo", name, info.version,
                 {body.deviceId, body.deviceType, body.numCores, cores, std::string("NULL")});
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t serializeCoreInfo(Recorder&, const ZebDevice_CoreInfo_t& info,
                                    const std::string& name, StatementBuilder& builder) {
  if (!isVersionOne(info.version, "coreInfo")) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  const ZebDevice_CoreInfoV1_t& body = info.v1;
  warnIfExtension(body.coreInfoExtension, "coreInfo");
  writeVersioned(builder, "ZebDevice_CoreInfo", name, info.version,
                 {body.coreId, body.coreType, std::string("NULL")});
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
