#include "record/graph_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

void declareConfig(Recorder& recorder, const ScribeGraph& graph, const char* word,
                   const char* option, const std::string& value,
                   std::vector<std::string>& elements, StatementBuilder& builder) {
  const std::string name = recorder.makeVariableName(graph.name + "_" + word);
  writeConfigEntry(builder, "ZebGraph_Config_t", name, option, value, elements);
}

// The content of a custom configuration is never written: dropped, or refused.
Zeb_ErrorHandle_t handleCustomContent(const Recorder& recorder) {
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  const uint32_t id = recorder.backendIdentifier();
  if (const char* message = customConfigRefusal(id)) {
    zeb::log::error("%s", message);
  } else {
    zeb::log::error("Unknown or unsupported backend ID provided: %ld", static_cast<long>(id));
  }
  return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
}

Zeb_ErrorHandle_t writeGraphConfig(Recorder& recorder, const ScribeGraph& graph,
                                   const ZebGraph_Config_t& config,
                                   std::vector<std::string>& elements, StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_GRAPH_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) return handleCustomContent(recorder);
      declareConfig(recorder, graph, "customConfig", "ZEB_GRAPH_CONFIG_OPTION_CUSTOM",
                    ".customConfig=NULL", elements, builder);
      return ZEB_SUCCESS;
    case ZEB_GRAPH_CONFIG_OPTION_PRIORITY:
      declareConfig(recorder, graph, "priority", "ZEB_GRAPH_CONFIG_OPTION_PRIORITY",
                    ".priority=" + enumToText("Zeb_Priority_t", config.priority), elements,
                    builder);
      return ZEB_SUCCESS;
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace

Zeb_ErrorHandle_t writeGraphConfigs(Recorder& recorder, const ScribeGraph& graph,
                                    const ZebGraph_Config_t** configs, StatementBuilder& builder,
                                    std::string& array) {
  std::vector<std::string> elements;
  for (; configs != nullptr && *configs != nullptr; ++configs) {
    if (auto code = writeGraphConfig(recorder, graph, **configs, elements, builder)) return code;
    builder.writeBlankLine();
  }
  array = recorder.makeVariableName(graph.name + "_config");
  writeConfigArray(builder, "const ZebGraph_Config_t*", array, elements);
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
