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
  const std::string name = context.name + "_binaryBufferSize";
  bool declared = context.binaryDeclared.size;
  const std::string size = outputVariable(binaryBufferSize, name, declared, builder);
  builder.writeApiCall("contextGetBinarySize", context.name, size);
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, kQueryCodes);
  if (code == ZEB_SCRIBE_QUERY_RECORDED && binaryBufferSize != nullptr) {
    context.binaryDeclared.size = true;
    context.binarySizeVariable = name;
  }
  return code;
}

Zeb_ErrorHandle_t contextGetBinary(Recorder& recorder, ScribeContext& context,
                                   Zeb_ContextBinarySize_t binaryBufferSize,
                                   const Zeb_ContextBinarySize_t* writtenBufferSize) {
  StatementBuilder builder;
  ScribeContext::BinaryDeclarations declared = context.binaryDeclared;
  const std::string written = outputVariable(
      writtenBufferSize, context.name + "_writtenBufferSize", declared.writtenSize, builder);
  const std::string size = context.binarySizeVariable.empty() ? uint64ToText(binaryBufferSize)
                                                             : context.binarySizeVariable;
  const std::string buffer = context.name + "_buffer";
  const std::string file = context.name + "_fp";
  builder.writeMallocDeclaration("uint8_t*", buffer, size, !declared.buffer);
  builder.writeApiCall("contextGetBinary", context.name, buffer, size, written);
  builder.writeFileOpen(file, context.name + ".bin", "wb", !declared.buffer);
  builder.writeFwrite(buffer, 1, size, file);
  builder.writeFclose(file);
  builder.writeFree(buffer);
  declared.buffer = true;
  const Zeb_ErrorHandle_t code = writeBlock(recorder, builder, kQueryCodes);
  if (code == ZEB_SCRIBE_QUERY_RECORDED) context.binaryDeclared = declared;
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
  if (auto code = writeConfigs(recorder, binary.config, {context.name, &context.wordCounters},
                               builder, array))
    return code;
  const AddressPiece address{context.name};
  if (withSignal) {
    builder.writeApiCall("contextCreateFromBinaryWithSignal", *backendName, *deviceName, array,
                         buffer, binary.size, address, profileName, "NULL");
  } else {
    builder.writeApiCall("contextCreateFromBinary", *backendName, *deviceName, array, buffer,
                         binary.size, address, profileName);
  }
  return writeBlock(recorder, builder,
                    {ZEB_SUCCESS, ZEB_CONTEXT_ERROR_GENERAL, ZEB_CONTEXT_ERROR_BINARY_WRITE,
                     kBinaryNotWritten});
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
