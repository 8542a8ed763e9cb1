#include "record/backend_config.h"

#include "log/logger.h"
#include "record/config_common.h"

namespace zeb::record {
namespace {

Zeb_ErrorHandle_t writeConfig(Recorder& recorder, const char* word, const char* option,
                              const std::string& value, std::vector<std::string>& elements,
                              StatementBuilder& builder) {
  const std::string name = recorder.makeVariableName(std::string("backendConfig_") + word);
  builder.writeStructInitializer("ZebBackend_Config_t", name, {std::string(option), value});
  elements.push_back("&" + name);
  return ZEB_SUCCESS;
}

// Backends whose custom configurations are known not to exist.
struct CustomConfigRefusal {
  uint32_t backendId;
  const char* message;
};

constexpr CustomConfigRefusal kCustomConfigRefusals[] = {
    {2,
     "Scribe backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
     "Scribe does not support custom configs."},
    {3,
     "CPU backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
     "CPU does not support custom configs."},
};

Zeb_ErrorHandle_t handleCustomContent(const Recorder& recorder) {
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  const uint32_t id = recorder.backendIdentifier();
  bool known = false;
  for (const auto& refusal : kCustomConfigRefusals) {
    if (refusal.backendId != id) continue;
    zeb::log::error("%s", refusal.message);
    known = true;
  }
  if (!known) zeb::log::error("Unknown backend ID provided: %ld", static_cast<long>(id));
  return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
}

std::string errorConfigText(const Zeb_ErrorReportingConfig_t& config) {
  return ".errorConfig={" + enumToText("Zeb_ErrorReportingLevel_t", config.reportingLevel) + ", " +
         uintToText(config.storageLimit) + "}";
}

}  // namespace

Zeb_ErrorHandle_t writeBackendConfig(Recorder& recorder, const ZebBackend_Config_t& config,
                                     std::vector<std::string>& elements,
                                     StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_BACKEND_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) return handleCustomContent(recorder);
      return writeConfig(recorder, "customConfig", "ZEB_BACKEND_CONFIG_OPTION_CUSTOM",
                         ".customConfig=NULL", elements, builder);
    case ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING:
      return writeConfig(recorder, "errorConfig", "ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING",
                         errorConfigText(config.errorConfig), elements, builder);
    case ZEB_BACKEND_CONFIG_OPTION_PLATFORM:
      return writeConfig(recorder, "platformOption", "ZEB_BACKEND_CONFIG_OPTION_PLATFORM",
                         ".platformOption=" + stringToText(config.platformOption), elements,
                         builder);
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
