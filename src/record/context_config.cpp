#include "record/context_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

// Where one configuration is written to.
struct ConfigTarget {
  Recorder& recorder;
  std::vector<std::string>& elements;
  StatementBuilder& builder;
  const std::string& owner;

  std::string takeName(const char* word) { return recorder.makeVariableName(owner + "_" + word); }

  void writeStructure(const std::string& name, const char* option, const std::string& value) {
    writeConfigEntry(builder, "ZebContext_Config_t", name, option, value, elements);
  }

  void write(const char* word, const char* option, const std::string& value) {
    writeStructure(takeName(word), option, value);
  }
};

// The graph names go into an array of their own, named after the structure.
void writeEnableGraphs(ConfigTarget& target, const char* const* graphs) {
  const std::string name = target.takeName("enableGraphs");
  std::string value = ".enableGraphs=NULL";
  if (graphs != nullptr) {
    std::vector<std::string> names;
    for (; *graphs != nullptr; ++graphs) names.push_back(stringToText(*graphs));
    writeConfigArray(target.builder, "const char* const", name + "_array", names);
    value = ".enableGraphs=" + name + "_array";
  }
  target.writeStructure(name, "ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS", value);
}

// The content of a custom configuration is never written: dropped, or refused.
Zeb_ErrorHandle_t handleCustomContent(const Recorder& recorder) {
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  zeb::log::error("Custom context config parsing not supported for chosen backend ID");
  return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
}

std::string asyncDepthText(const ZebContext_AsyncExecutionQueueDepth_t& depth) {
  return ".asyncExeQueueDepth={ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, .depth=" +
         uintToText(depth.depth) + "}";
}

}  // namespace

Zeb_ErrorHandle_t serializeContextConfig(Recorder& recorder, const ZebContext_Config_t& config,
                                         std::vector<std::string>& elements,
                                         StatementBuilder& builder, const std::string& owner) {
  ConfigTarget target{recorder, elements, builder, owner};
  switch (config.option) {
    case ZEB_CONTEXT_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) return handleCustomContent(recorder);
      target.write("customConfig", "ZEB_CONTEXT_CONFIG_OPTION_CUSTOM", ".customConfig=NULL");
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_PRIORITY:
      target.write("priority", "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY",
                   ".priority=" + enumToText("Zeb_Priority_t", config.priority));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING:
      target.write("errorConfig", "ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING",
                   errorConfigText(config.errorConfig));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING:
      target.write("oemString", "ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING",
                   ".oemString=" + stringToText(config.oemString));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH:
      if (config.asyncExeQueueDepth.type != ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC) {
        zeb::log::error("Unknown or unsupported async execution queue depth type: %ld",
                        static_cast<long>(config.asyncExeQueueDepth.type));
        return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
      }
      target.write("asyncExeQueueDepth", "ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH",
                   asyncDepthText(config.asyncExeQueueDepth));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS:
      writeEnableGraphs(target, config.enableGraphs);
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT:
      target.write("memoryLimitHint", "ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT",
                   ".memoryLimitHint=" + uint64ToText(config.memoryLimitHint));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY:
      target.write("isPersistentBinary", "ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY",
                   ".isPersistentBinary=" + uintToText(config.isPersistentBinary));
      return ZEB_SUCCESS;
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
