#include "record/backend.h"

#include "ZebScribe.h"
#include "emit/statement_builder.h"
#include "log/logger.h"
#include "record/backend_config.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

constexpr const char* kConfigArrayType = "const ZebBackend_Config_t*";

// Each configuration stands after an empty line, and one more separates the
// last from the array that collects them.
Zeb_ErrorHandle_t writeBackendConfigs(Recorder& recorder, const ZebBackend_Config_t** configs,
                                      TextBuffer& elements, StatementBuilder& builder) {
  for (; configs != nullptr && *configs != nullptr; ++configs) {
    builder.writeBlankLine();
    const Zeb_ErrorHandle_t code = writeBackendConfig(recorder, **configs, elements, builder);
    if (code != ZEB_SUCCESS) return code;
  }
  builder.writeBlankLine();
  return ZEB_SUCCESS;
}

// The backend of a handle; null (and logged) when the handle names none.
ScribeBackend* findBackend(Recorder& recorder, uint64_t backend) {
  ScribeBackend* record = recorder.findBackend(backend);
  if (record == nullptr) zeb::log::error("No backend associated with the provided handle");
  return record;
}

// `{backend}_config_{n}`, numbered by the backend; without one (handle 0)
// `NULL_config_{n}`, numbered by the recorder.
const TextBuffer& nameConfigArray(Recorder& recorder, ScribeBackend* backend,
                                  StatementBuilder& builder) {
  if (backend) return composeNumberedName(builder, backend->name, "config", backend->configCounter);
  TextBuffer& array = composeName(builder, "NULL", "config");
  recorder.numberName(array);
  return array;
}

}  // namespace

std::optional<std::string> backendVariable(Recorder& recorder, uint64_t backend) {
  if (backend == 0) return "NULL";
  const ScribeBackend* record = findBackend(recorder, backend);
  if (record == nullptr) return std::nullopt;
  return record->name;
}

Zeb_ErrorHandle_t backendCreate(Recorder& recorder, const ZebBackend_Config_t** config,
                                uint64_t* backend) {
  StatementBuilder builder;
  TextBuffer& elements = builder.scratch();
  const Zeb_ErrorHandle_t code = writeBackendConfigs(recorder, config, elements, builder);
  if (code != ZEB_SUCCESS) return code;
  ScribeBackend created{recorder.makeVariableName("backend")};
  const TextBuffer& array = nameConfigArray(recorder, &created, builder);
  writeConfigArray(builder, kConfigArrayType, array, elements);
  builder.writeDeclaration("Zeb_BackendHandle_t", created.name);
  builder.writeApiCall("backendCreate", "loghandle", array, AddressPiece{created.name});
  if (auto code = writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_BACKEND_ERROR_GENERAL))
    return code;
  *backend = recorder.addBackend(std::move(created));
  return ZEB_SUCCESS;
}

Zeb_ErrorHandle_t backendSetConfig(Recorder& recorder, uint64_t backend,
                                   const ZebBackend_Config_t** config) {
  ScribeBackend* record = nullptr;
  if (backend != 0 && (record = findBackend(recorder, backend)) == nullptr)
    return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  const std::string_view name = record ? std::string_view(record->name) : "NULL";
  StatementBuilder builder;
  TextBuffer& elements = builder.scratch();
  const Zeb_ErrorHandle_t code = writeBackendConfigs(recorder, config, elements, builder);
  if (code != ZEB_SUCCESS) return code;
  const TextBuffer& array = nameConfigArray(recorder, record, builder);
  writeConfigArray(builder, kConfigArrayType, array, elements);
  builder.writeApiCall("backendSetConfig", name, array);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_BACKEND_ERROR_GENERAL);
}

Zeb_ErrorHandle_t backendRegisterOpPackage(Recorder& recorder, uint64_t backend,
                                           const char* packagePath, const char* interfaceProvider,
                                           const char* target) {
  const auto name = backendVariable(recorder, backend);
  if (!name) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  StatementBuilder builder;
  builder.writeApiCall("backendRegisterOpPackage", *name, QuotedPiece(packagePath),
                       QuotedPiece(interfaceProvider), QuotedPiece(target));
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_BACKEND_ERROR_GENERAL);
}

// Only a real backend knows its operations: the query is recorded, answered
// with the query code, and the client's outputs are left as they are.
Zeb_ErrorHandle_t backendGetSupportedOperations(Recorder& recorder, uint64_t backend,
                                                uint32_t* numOperations,
                                                const ZebBackend_OperationName_t** operations) {
  const auto name = backendVariable(recorder, backend);
  if (!name) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  StatementBuilder builder;
  const std::string countArgument =
      declareOutput(recorder, builder, numOperations, "uint32_t", "numOperations");
  const std::string operationsArgument = declareOutput(
      recorder, builder, operations, "const ZebBackend_OperationName_t*", "operations");
  builder.writeApiCall("backendGetSupportedOperations", *name, countArgument, operationsArgument);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_BACKEND_ERROR_GENERAL);
}

Zeb_ErrorHandle_t backendFree(Recorder& recorder, uint64_t backend) {
  const auto name = backendVariable(recorder, backend);
  if (!name) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  StatementBuilder builder;
  builder.writeApiCall("backendFree", *name);
  if (auto code = writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_BACKEND_ERROR_GENERAL))
    return code;
  // Handle 0 names no backend: the call is recorded, yet there is nothing to free.
  if (!recorder.eraseBackend(backend)) {
    zeb::log::error("Could not free backend handle");
    return ZEB_BACKEND_ERROR_GENERAL;
  }
  return ZEB_SUCCESS;
}

}  // namespace zeb::record
