#include "record/context.h"

#include <optional>
#include <string>

#include "emit/statement_builder.h"
#include "log/logger.h"
#include "record/backend.h"
#include "record/family_common.h"
#include "record/context_config.h"

namespace zeb::record {
namespace {

// Declares the configurations, each followed by an empty line (also one that
// was dropped), and the array that collects them; `array` receives its name.
Zeb_ErrorHandle_t writeConfigs(Recorder& recorder, ScribeContext& context,
                               const ZebContext_Config_t** configs, StatementBuilder& builder,
                               const TextBuffer*& array) {
  const ContextConfigNames names{context.name, &context};
  TextBuffer& elements = builder.scratch();
  for (; configs != nullptr && *configs != nullptr; ++configs) {
    const Zeb_ErrorHandle_t code =
        serializeContextConfig(recorder, **configs, elements, builder, names);
    if (code != ZEB_SUCCESS) return code;
    builder.writeBlankLine();
  }
  array = &nameContextConfigArray(recorder, builder, names);
  writeConfigArray(builder, "const ZebContext_Config_t*", *array, elements);
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t recordFree(Recorder& recorder, const ScribeContext& context, uint64_t profile) {
  StatementBuilder builder;
  builder.writeApiCall("contextFree", context.name, profileVariable(recorder, profile));
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL);
}

}  // namespace

Zeb_ErrorHandle_t contextCreate(Recorder& recorder, ScribeContext& context, uint64_t backend,
                                uint64_t device, const ZebContext_Config_t** config) {
  StatementBuilder builder;
  const TextBuffer* array = nullptr;
  const Zeb_ErrorHandle_t code = writeConfigs(recorder, context, config, builder, array);
  if (code != ZEB_SUCCESS) return code;
  builder.writeDeclaration("Zeb_ContextHandle_t", context.name);
  const auto backendName = backendVariable(recorder, backend);
  if (!backendName) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  const auto deviceName = deviceVariable(recorder, device);
  if (!deviceName) return ZEB_DEVICE_ERROR_INVALID_HANDLE;
  builder.writeApiCall("contextCreate", *backendName, *deviceName, *array,
                       AddressPiece{context.name});
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL);
}

Zeb_ErrorHandle_t contextSetConfig(Recorder& recorder, ScribeContext& context,
                                   const ZebContext_Config_t** config) {
  StatementBuilder builder;
  const TextBuffer* array = nullptr;
  const Zeb_ErrorHandle_t code = writeConfigs(recorder, context, config, builder, array);
  if (code != ZEB_SUCCESS) return code;
  builder.writeApiCall("contextSetConfig", context.name, *array);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL);
}

Zeb_ErrorHandle_t contextFree(Recorder& recorder, uint64_t context, uint64_t profile) {
  const auto record = recorder.findContext(context);
  if (!record) {
    zeb::log::error("No context associated with the provided handle.");
    return ZEB_CONTEXT_ERROR_INVALID_HANDLE;
  }
  const Zeb_ErrorHandle_t code = recordFree(recorder, *record, profile);
  if (!recorder.eraseContext(context)) return ZEB_COMMON_ERROR_MEM_ALLOC;
  return code;
}

}  // namespace zeb::record
