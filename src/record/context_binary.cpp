#include "record/context_binary.h"

#include <string>

#include "ZebScribe.h"
#include "emit/statement_builder.h"
#include "log/logger.h"
#include "record/backend.h"
#include "record/context_config.h"
#include "record/family_common.h"

namespace zeb::record {
namespace {

constexpr const char* kBinaryNotWritten =
    "Failed to write context binary to disk, ensure binaryBufferSize matches the actual buffer "
    "size.";
constexpr BlockCodes kQueryCodes{ZEB_SCRIBE_QUERY_RECORDED, ZEB_CONTEXT_ERROR_GENERAL,
                                 ZEB_CONTEXT_ERROR_GENERAL};

// The reference to a query output: "NULL", or "&" and its variable, declared
// by the first query on the context that asks for it.
std::string outputVariable(const void* output, const std::string& name, bool& declared,
                           StatementBuilder& builder) {
  if (output == nullptr) return "NULL";
  if (!declared) builder.writeDeclaration("Zeb_ContextBinarySize_t", name);
  declared = true;
  return "&" + name;
}

// A binary variable of the context: the one a written block declared, or the
// name a first declaration takes.
struct BinaryVariable {
  std::string name;
  bool declared;
};
BinaryVariable binaryVariable(const ScribeContext& context, std::string BinaryVariables::*variable,
                              std::string_view word) {
  const BinaryVariables* known = context.binaryVariablesIfAny();
  if (known && !(known->*variable).empty()) return {known->*variable, true};
  return {context.binaryVariableName(word), false};
}

// "NULL", or the static array that reads the binary back, queued as a blob.
std::string binaryArgument(const BinarySource& binary, const std::string& name,
                           StatementBuilder& builder) {
  if (binary.buffer == nullptr) return "NULL";
  builder.writeBlobRead("uint8_t", name, 1, binary.size, "fp", binary.buffer);
  return name;
}

// The configurations, with no empty line between them, and their array.
Zeb_ErrorHandle_t writeConfigs(Recorder& recorder, const ZebContext_Config_t** configs,
                               const ContextConfigNames& names, StatementBuilder& builder,
                               TextBuffer& array) {
  TextBuffer& elements = builder.scratch();
  for (; configs != nullptr && *configs != nullptr; ++configs) {
    if (auto code = serializeContextConfig(recorder, **configs, elements, builder, names))
      return code;
  }
  array = nameContextConfigArray(recorder, builder, names);
  writeConfigArray(builder, "const ZebContext_Config_t*", array, elements);
  return ZEB_SUCCESS;
}

}  // namespace

Zeb_ErrorHandle_t contextGetBinarySize(Recorder& recorder, ScribeContext& context,
                                       const Zeb_ContextBinarySize_t* binaryBufferSize) {
  StatementBuilder builder;
  BinaryVariable size = binaryVariable(context, &BinaryVariables::size, "binaryBufferSize");
  const std::string argument = outputVariable(binaryBufferSize, size.name, size.declared, builder);
  builder.writeApiCall("contextGetBinarySize", context.name, argument);
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, kQueryCodes);
  if (code == ZEB_SCRIBE_QUERY_RECORDED && binaryBufferSize != nullptr)
    context.binaryVariables().size = size.name;
  return code;
}

Zeb_ErrorHandle_t contextGetBinary(Recorder& recorder, ScribeContext& context,
                                   Zeb_ContextBinarySize_t binaryBufferSize,
                                   const Zeb_ContextBinarySize_t* writtenBufferSize) {
  StatementBuilder builder;
  BinaryVariable writtenSize =
      binaryVariable(context, &BinaryVariables::writtenSize, "writtenBufferSize");
  const std::string written =
      outputVariable(writtenBufferSize, writtenSize.name, writtenSize.declared, builder);
  const BinaryVariables* known = context.binaryVariablesIfAny();
  const std::string size =
      known && !known->size.empty() ? known->size : uint64ToText(binaryBufferSize);
  const BinaryVariable buffer = binaryVariable(context, &BinaryVariables::buffer, "buffer");
  const BinaryVariable file = binaryVariable(context, &BinaryVariables::file, "fp");
  builder.writeMallocDeclaration("uint8_t*", buffer.name, size, !buffer.declared);
  builder.writeApiCall("contextGetBinary", context.name, buffer.name, size, written);
  builder.writeFileOpen(file.name, context.name + ".bin", "wb", !file.declared);
  builder.writeFwrite(buffer.name, 1, size, file.name);
  builder.writeFclose(file.name);
  builder.writeFree(buffer.name);
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, kQueryCodes);
  if (code == ZEB_SCRIBE_QUERY_RECORDED) {
    BinaryVariables& variables = context.binaryVariables();
    if (writtenSize.declared) variables.writtenSize = writtenSize.name;
    variables.buffer = buffer.name;
    variables.file = file.name;
  }
  return code;
}

Zeb_ErrorHandle_t contextCreateFromBinary(Recorder& recorder, ScribeContext& context,
                                          const BinarySource& binary, uint64_t profile,
                                          bool withSignal) {
  StatementBuilder builder;
  const std::string profileName(profileVariable(recorder, profile));
  builder.writeDeclaration("Zeb_ContextHandle_t", context.name);
  const std::string buffer = binaryArgument(binary, context.name + "_binary", builder);
  const auto backendName = backendVariable(recorder, binary.backend);
  if (!backendName) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  const auto deviceName = deviceVariable(recorder, binary.device);
  if (!deviceName) return ZEB_DEVICE_ERROR_INVALID_HANDLE;
  TextBuffer& array = builder.scratch();
  if (auto code = writeConfigs(recorder, binary.config, {context.name, &context}, builder, array))
    return code;
  const AddressPiece address{context.name};
  if (withSignal) {
    builder.writeApiCall("contextCreateFromBinaryWithSignal", *backendName, *deviceName, array,
                         buffer, binary.size, address, profileName, "NULL");
  } else {
    builder.writeApiCall("contextCreateFromBinary", *backendName, *deviceName, array, buffer,
                         binary.size, address, profileName);
  }
  const Zeb_ErrorHandle_t code = writeBlock(
      recorder, builder,
      {ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL, ZEB_CONTEXT_ERROR_BINARY_WRITE, kBinaryNotWritten});
  // Its first block: no graph can hold the name yet, but later graphs must not.
  if (code == ZEB_SUCCESS && binary.buffer != nullptr) context.binaryVariables().binary = buffer;
  return code;
}

Zeb_ErrorHandle_t contextValidateBinary(Recorder& recorder, const BinarySource& binary) {
  StatementBuilder builder;
  const std::string buffer =
      binary.buffer ? binaryArgument(binary, recorder.makeVariableName("binaryBuffer"), builder)
                    : "NULL";
  const auto backendName = backendVariable(recorder, binary.backend);
  if (!backendName) return ZEB_CONTEXT_ERROR_INVALID_HANDLE;
  const auto deviceName = deviceVariable(recorder, binary.device);
  if (!deviceName) return ZEB_CONTEXT_ERROR_INVALID_HANDLE;
  TextBuffer& array = builder.scratch();
  if (auto code = writeConfigs(recorder, binary.config, {"context", nullptr}, builder, array))
    return code;
  builder.writeApiCall("contextValidateBinary", *backendName, *deviceName, array, buffer,
                       binary.size);
  return writeBlock(recorder, builder,
                    {ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL, ZEB_CONTEXT_ERROR_GENERAL,
                     kBinaryNotWritten});
}

}  // namespace zeb::record
