#include "record/context_config.h"

#include "log/logger.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

// A name that a graph's name may have claimed ahead.
ZEB_NEVER_INLINE TextBuffer& takeClaimableName(StatementBuilder& builder, ScribeContext& context,
                                               std::string_view word, uint32_t& counter,
                                               const NameShape& shape) {
  TextBuffer& name = composeNumberedName(builder, context.name, word, counter);
  context.passClaimed(name, counter, shape);
  return name;
}

TextBuffer& takeName(Recorder& recorder, StatementBuilder& builder,
                     const ContextConfigNames& names, ContextWord word,
                     const NameShape& shape = kPlainName) {
  const std::string_view text = kContextWords[static_cast<std::size_t>(word)];
  if (ScribeContext* context = names.context) {
    uint32_t& counter = context->wordCounters[word];
    if (context->ownNamesClaimed) return takeClaimableName(builder, *context, text, counter, shape);
    return composeNumberedName(builder, names.owner, text, counter);
  }
  TextBuffer& name = composeName(builder, names.owner, text);
  recorder.numberName(name);
  return name;
}

// Where one configuration is written to.
struct ConfigTarget {
  Recorder& recorder;
  TextBuffer& elements;
  StatementBuilder& builder;
  const ContextConfigNames& names;

  TextBuffer& takeName(ContextWord word, const NameShape& shape = kPlainName) {
    return record::takeName(recorder, builder, names, word, shape);
  }

  void writeStructure(std::string_view name, std::string_view option, std::string_view value) {
    writeConfigEntry(builder, "ZebContext_Config_t", name, option, value, elements);
  }

  // The fields are the parts, appended straight into the block in one go.
  template <class... Parts>
  void write(ContextWord word, const Parts&... parts) {
    writeConfigEntryWith(builder, "ZebContext_Config_t", takeName(word), elements,
                         [&](TextBuffer& text) { appendAll(text, parts...); });
  }
};

// The graph names go into an array of their own, named after the structure.
void writeEnableGraphs(ConfigTarget& target, const char* const* graphs) {
  constexpr NameShape kWithArray{NameShape::Kind::configArray};
  const TextBuffer& name =
      target.takeName(ContextWord::enableGraphs, graphs != nullptr ? kWithArray : kPlainName);
  TextBuffer& value = target.builder.scratch();
  value = ".enableGraphs=NULL";
  if (graphs != nullptr) {
    TextBuffer& names = target.builder.scratch();
    for (; *graphs != nullptr; ++graphs) {
      appendString(names, *graphs);
      names += ", ";
    }
    TextBuffer& array = target.builder.scratch();
    appendAll(array, name, "_array");
    writeConfigArray(target.builder, "const char* const", array, names);
    value = ".enableGraphs=";
    value += array;
  }
  target.writeStructure(name, "ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS", value);
}

// The content of a custom configuration is never written: dropped, or refused.
Zeb_ErrorHandle_t handleCustomContent(const Recorder& recorder) {
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  zeb::log::error("Custom context config parsing not supported for chosen backend ID");
  return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
}

Zeb_ErrorHandle_t writeAsyncDepth(ConfigTarget& target,
                                  const ZebContext_AsyncExecutionQueueDepth_t& depth) {
  if (depth.type != ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC) {
    zeb::log::error("Unknown or unsupported async execution queue depth type: %ld",
                    static_cast<long>(depth.type));
    return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
  }
  target.write(ContextWord::asyncExeQueueDepth,
               "ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH, "
               ".asyncExeQueueDepth={ZEB_CONTEXT_ASYNC_EXECUTION_QUEUE_DEPTH_TYPE_NUMERIC, .depth=",
               depth.depth, "}");
  return ZEB_SUCCESS;
}

}  // namespace

TextBuffer& nameContextConfigArray(Recorder& recorder, StatementBuilder& builder,
                                   const ContextConfigNames& names) {
  return takeName(recorder, builder, names, ContextWord::config);
}

Zeb_ErrorHandle_t serializeContextConfig(Recorder& recorder, const ZebContext_Config_t& config,
                                         TextBuffer& elements, StatementBuilder& builder,
                                         const ContextConfigNames& names) {
  ConfigTarget target{recorder, elements, builder, names};
  switch (config.option) {
    case ZEB_CONTEXT_CONFIG_OPTION_CUSTOM:
      if (config.customConfig != nullptr) return handleCustomContent(recorder);
      target.write(ContextWord::customConfig,
                   "ZEB_CONTEXT_CONFIG_OPTION_CUSTOM, .customConfig=NULL");
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_PRIORITY:
      target.write(ContextWord::priority,
                   "ZEB_CONTEXT_CONFIG_OPTION_PRIORITY, .priority=(Zeb_Priority_t)",
                   int32_t{config.priority});
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING:
      target.write(ContextWord::errorConfig, "ZEB_CONTEXT_CONFIG_OPTION_ERROR_REPORTING, ",
                   ErrorConfigPiece(config.errorConfig));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING:
      target.write(ContextWord::oemString, "ZEB_CONTEXT_CONFIG_OPTION_OEM_STRING, .oemString=",
                   QuotedPiece(config.oemString));
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_ASYNC_EXECUTION_QUEUE_DEPTH:
      return writeAsyncDepth(target, config.asyncExeQueueDepth);
    case ZEB_CONTEXT_CONFIG_ENABLE_GRAPHS:
      writeEnableGraphs(target, config.enableGraphs);
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT:
      target.write(ContextWord::memoryLimitHint,
                   "ZEB_CONTEXT_CONFIG_MEMORY_LIMIT_HINT, .memoryLimitHint=",
                   uint64_t{config.memoryLimitHint});
      return ZEB_SUCCESS;
    case ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY:
      target.write(ContextWord::isPersistentBinary,
                   "ZEB_CONTEXT_CONFIG_PERSISTENT_BINARY, .isPersistentBinary=",
                   uint32_t{config.isPersistentBinary});
      return ZEB_SUCCESS;
    default:
      zeb::log::error("Unknown config option provided: %ld", static_cast<long>(config.option));
      return ZEB_CONTEXT_ERROR_INVALID_ARGUMENT;
  }
}

}  // namespace zeb::record
