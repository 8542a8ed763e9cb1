#include "record/profile_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

// The backend identifier under which the client means this library itself.
constexpr uint32_t kScribeBackendId = 2;

void declareConfig(ScribeProfile& profile, std::string_view kind, ProfileWord counter,
                   std::string_view option, std::string_view value, TextBuffer& elements,
                   StatementBuilder& builder) {
  TextBuffer& name =
      composeNumberedName(builder, profile.name, kind, profile.wordCounters[counter]);
  writeConfigEntry(builder, "ZebProfile_Config_t", name, option, value, elements);
}

// A custom configuration's content is opaque: only its absence can be written.
Zeb_ErrorHandle_t serializeCustomConfig(Recorder& recorder, ScribeProfile& profile,
                                        ZebProfile_CustomConfig_t customConfig,
                                        TextBuffer& elements, StatementBuilder& builder) {
  if (customConfig == nullptr) {
    declareConfig(profile, "customConfig", ProfileWord::customConfig,
                  "ZEB_PROFILE_CONFIG_OPTION_CUSTOM", ".customConfig=NULL", elements, builder);
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

Zeb_ErrorHandle_t serializeProfileConfig(Recorder& recorder, ScribeProfile& profile,
                                         const ZebProfile_Config_t& config, TextBuffer& elements,
                                         StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS: {
      TextBuffer& value = builder.scratch();
      appendAll(value, ".numMaxEvents=", uint64_t{config.numMaxEvents}, "ULL");
      declareConfig(profile, "maxEvents", ProfileWord::maxEvents,
                    "ZEB_PROFILE_CONFIG_OPTION_MAX_EVENTS", value, elements, builder);
      return ZEB_SUCCESS;
    }
    case ZEB_PROFILE_CONFIG_OPTION_CUSTOM:
      return serializeCustomConfig(recorder, profile, config.customConfig, elements, builder);
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_COMMON_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
