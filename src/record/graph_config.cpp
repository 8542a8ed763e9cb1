#include "record/graph_config.h"

#include "log/logger.h"
#include "record/family_common.h"
#include "record/graph.h"

namespace zeb::record {
namespace {

void declareConfig(const ScribeGraph& graph, std::string_view word, std::string_view option,
                   std::string_view value, TextBuffer& elements, StatementBuilder& builder) {
  writeConfigEntry(builder, "ZebGraph_Config_t", graphDerivedName(graph, word, builder), option,
                   value, elements);
}

Zeb_ErrorHandle_t writeGraphConfig(Recorder& recorder, const ScribeGraph& graph,
                                   const ZebGraph_Config_t& config, TextBuffer& elements,
                                   StatementBuilder& builder) {
  switch (config.option) {
    case ZEB_GRAPH_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) {
        return handleCustomConfig(recorder, "Unknown or unsupported backend ID provided",
                                  ZEB_GRAPH_ERROR_INVALID_ARGUMENT);
      }
      declareConfig(graph, "customConfig", "ZEB_GRAPH_CONFIG_OPTION_CUSTOM", ".customConfig=NULL",
                    elements, builder);
      return ZEB_SUCCESS;
    case ZEB_GRAPH_CONFIG_OPTION_PRIORITY: {
      TextBuffer& value = builder.scratch();
      value += ".priority=";
      appendEnum(value, "Zeb_Priority_t", config.priority);
      declareConfig(graph, "priority", "ZEB_GRAPH_CONFIG_OPTION_PRIORITY", value, elements,
                    builder);
      return ZEB_SUCCESS;
    }
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_GRAPH_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace

Zeb_ErrorHandle_t writeGraphConfigs(Recorder& recorder, const ScribeGraph& graph,
                                    const ZebGraph_Config_t** configs, StatementBuilder& builder,
                                    TextBuffer& array) {
  TextBuffer& elements = builder.scratch();
  for (; configs != nullptr && *configs != nullptr; ++configs) {
    if (auto code = writeGraphConfig(recorder, graph, **configs, elements, builder)) return code;
    builder.writeBlankLine();
  }
  array = graphDerivedName(graph, "config", builder);
  writeConfigArray(builder, "const ZebGraph_Config_t*", array, elements);
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
