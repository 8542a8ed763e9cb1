#include "record/backend_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

// Names `backendConfig_{word}_{n}` are numbered by the recorder: they derive
// from no backend.
void writeConfig(Recorder& recorder, std::string_view word, std::string_view option,
                 std::string_view value, TextBuffer& elements, StatementBuilder& builder) {
  TextBuffer& name = composeName(builder, "backendConfig", word);
  recorder.numberName(name);
  writeConfigEntry(builder, "ZebBackend_Config_t", name, option, value, elements);
}

}  // namespace

Zeb_ErrorHandle_t writeBackendConfig(Recorder& recorder, const ZebBackend_Config_t& config,
                                     TextBuffer& elements, StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_BACKEND_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) {
        return handleCustomConfig(recorder, "Unknown backend ID provided",
                                  ZEB_BACKEND_ERROR_INVALID_ARGUMENT);
      }
      writeConfig(recorder, "customConfig", "ZEB_BACKEND_CONFIG_OPTION_CUSTOM",
                  ".customConfig=NULL", elements, builder);
      return ZEB_SUCCESS;
    case ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING: {
      TextBuffer& value = builder.scratch();
      appendAll(value, ErrorConfigPiece(config.errorConfig));
      writeConfig(recorder, "errorConfig", "ZEB_BACKEND_CONFIG_OPTION_ERROR_REPORTING", value,
                  elements, builder);
      return ZEB_SUCCESS;
    }
    case ZEB_BACKEND_CONFIG_OPTION_PLATFORM: {
      TextBuffer& value = builder.scratch();
      value += ".platformOption=";
      appendString(value, config.platformOption);
      writeConfig(recorder, "platformOption", "ZEB_BACKEND_CONFIG_OPTION_PLATFORM", value,
                  elements, builder);
      return ZEB_SUCCESS;
    }
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_BACKEND_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
