#include "record/profile_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

// The backend identifier under which the client means this library itself.
constexpr uint32_t kScribeBackendId = 2;

void declareConfig(Recorder& recorder, const ScribeProfile& profile, const char* kind,
                   const char* option, const std::string& value,
                   std::vector<std::string>& elements, StatementBuilder& builder) {
  const std::string name = recorder.makeVariableName(profile.name + "_" + kind);
  writeConfigEntry(builder, "ZebProfile_Config_t", name, option, value, elements);
}

// A custom configuration's content is opaque: only its absence can be written.
Zeb_ErrorHandle_t serializeCustomConfig(Recorder& recorder, const ScribeProfile& profile,
                                        ZebProfile_CustomConfig_t customConfig,
                                        std::vector<std::string>& elements,
                                        StatementBuilder& builder) {
  if (customConfig == nullptr) {
    declareConfig(recorder, profile, "customConfig", "ZEB_PROFILE_CONFIG_OPTION_CUSTOM",
                  ".customConfig=NULL", elements, builder);
    return ZEB_SUCCESS;
  }
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  if (recorder.backendIdentifier() == kScribeBackendId) {
    zeb::log::error(
        "Scribe backend ID was provided and a custom config was passed to "
        "ZebBackend_Initialize(). Scribe does not support custom configs.");
  } else {
    zeb::log::error("Custom profile config parsing not supported for backend ID %ld",
                    static_cast<long>(recorder.backendIdentifier()));
  }
  return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
}

}  // namespace

Zeb_ErrorHandle_t serializeProfileConfig(Recorder& recorder, const ScribeProfile& profile,
                                         const ZebProfile_Config_t& config,
                                         std::vector<std::string>& elements,
                                         StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS:
      declareConfig(recorder, profile, "maxEvents", "ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS",
                    ".numMaxEvents=" + uint64ToText(config.numMaxEvents) + "ULL", elements,
                    builder);
      return ZEB_SUCCESS;
    case ZEB_PROFILE_CONFIG_OPTION_CUSTOM:
      return serializeCustomConfig(recorder, profile, config.customConfig, elements, builder);
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
