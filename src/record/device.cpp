#include "record/device.h"

#include <string>

#include "ZebScribe.h"
#include "emit/statement_builder.h"
#include "record/family_common.h"
#include "record/device_config.h"

namespace zeb::record {
namespace {

// Declares the configurations and then their NULL-terminated array, named in `array`.
Zeb_ErrorHandle_t writeConfigs(Recorder& recorder, ScribeDevice& device,
                               const ZebDevice_Config_t** config, StatementBuilder& builder,
                               const TextBuffer*& array) {
  TextBuffer& elements = builder.scratch();
  for (; config != nullptr && *config != nullptr; ++config) {
    if (auto result = serializeDeviceConfig(recorder, device, **config, elements, builder)) {
      return result;
    }
    builder.writeBlankLine();
  }
  TextBuffer& name =
      composeNumberedName(builder, device.name, "config", device.wordCounters[DeviceWord::config]);
  writeConfigArray(builder, "const ZebDevice_Config_t*", name, elements);
  array = &name;
  return ZEB_SUCCESS;
}

const char* const kInfrastructureComment =
    "// Scribe does not record calls to backend-specific APIs via device infrastructure, they "
    "must be manually inserted if desired.";

}  // namespace

Zeb_ErrorHandle_t deviceCreate(Recorder& recorder, ScribeDevice& device,
                               const ZebDevice_Config_t** config) {
  StatementBuilder builder;
  const TextBuffer* array = nullptr;
  if (auto result = writeConfigs(recorder, device, config, builder, array)) return result;
  builder.writeDeclaration("Zeb_DeviceHandle_t", device.name);
  builder.writeApiCall("deviceCreate", "loghandle", *array, AddressPiece{device.name});
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_DEVICE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t deviceSetConfig(Recorder& recorder, ScribeDevice& device,
                                  const ZebDevice_Config_t** config) {
  StatementBuilder builder;
  const TextBuffer* array = nullptr;
  if (auto result = writeConfigs(recorder, device, config, builder, array)) return result;
  builder.writeApiCall("deviceSetConfig", device.name, *array);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_DEVICE_ERROR_GENERAL);
}

// The record stays registered: later calls may still name the device.
Zeb_ErrorHandle_t deviceFree(Recorder& recorder, ScribeDevice& device) {
  StatementBuilder builder;
  builder.writeApiCall("deviceFree", device.name);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_DEVICE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t deviceGetInfo(Recorder& recorder, ScribeDevice& device,
                                const ZebDevice_PlatformInfo_t** platformInfo) {
  StatementBuilder builder;
  const std::string info = declareOutput(recorder, builder, platformInfo,
                                         "const ZebDevice_PlatformInfo_t*", "platformInfo");
  builder.writeApiCall("deviceGetInfo", device.name, info);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_DEVICE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t deviceGetPlatformInfo(Recorder& recorder,
                                        const ZebDevice_PlatformInfo_t** platformInfo) {
  StatementBuilder builder;
  const std::string info = declareOutput(recorder, builder, platformInfo,
                                         "const ZebDevice_PlatformInfo_t*", "platformInfo");
  builder.writeApiCall("deviceGetPlatformInfo", "loghandle", info);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_DEVICE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t deviceGetInfrastructure(Recorder& recorder,
                                          ZebDevice_Infrastructure_t* deviceInfra) {
  StatementBuilder builder;
  if (deviceInfra != nullptr) builder.writeLine(kInfrastructureComment);
  const std::string infra =
      declareOutput(recorder, builder, deviceInfra, "ZebDevice_Infrastructure_t", "deviceInfra");
  builder.writeApiCall("deviceGetInfrastructure", infra);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_DEVICE_ERROR_GENERAL);
}

}  // namespace zeb::record
