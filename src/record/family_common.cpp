#include "record/family_common.h"

#include "log/logger.h"

namespace zeb::record {

Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             const BlockCodes& codes) {
  switch (recorder.writeBlock(builder.takeText(true), builder.blobs())) {
    case Recorder::BlockWrite::Written:
      return codes.recorded;
    case Recorder::BlockWrite::DataNotWritten:
      if (codes.dataNotWrittenMessage) zeb::log::error("%s", codes.dataNotWrittenMessage);
      return codes.dataNotWritten;
    case Recorder::BlockWrite::ModelNotWritten:
      break;
  }
  return codes.modelNotWritten;
}

Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             Zeb_ErrorHandle_t recorded, Zeb_ErrorHandle_t notWritten) {
  return writeBlock(recorder, builder, {recorded, notWritten, notWritten});
}

bool dropCustomConfigWithoutBackendId(const Recorder& recorder) {
  if (recorder.backendIdentifier() != 0) return false;
  zeb::log::warning(
      "Custom config provided without specifying backend ID, provide a backend ID via "
      "ZebScribe_Initialize() to record custom configs.");
  return true;
}

namespace {

struct CustomConfigRefusal {
  uint32_t backendId;
  const char* message;
};

constexpr CustomConfigRefusal kCustomConfigRefusals[] = {
    {2,
     "Scribe backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
     "Scribe does not support custom configs."},
    {3,
     "CPU backend ID was provided and a custom config was passed to ZebBackend_Initialize(). "
     "CPU does not support custom configs."},
};

}  // namespace

const char* customConfigRefusal(uint32_t backendId) {
  for (const auto& refusal : kCustomConfigRefusals) {
    if (refusal.backendId == backendId) return refusal.message;
  }
  return nullptr;
}

void writeConfigEntry(StatementBuilder& builder, const char* type, const std::string& name,
                      const char* option, const std::string& value,
                      std::vector<std::string>& elements) {
  builder.writeStructInitializer(type, name, {std::string(option), value});
  elements.push_back("&" + name);
}

void writeConfigArray(StatementBuilder& builder, const std::string& type, const std::string& name,
                      std::vector<std::string> elements) {
  elements.push_back("NULL");
  builder.writeArrayInitializer(type, name, elements);
}

std::string declareOutput(Recorder& recorder, StatementBuilder& builder, const void* output,
                          const std::string& type, const std::string& prefix) {
  if (output == nullptr) return "NULL";
  const std::string name = recorder.makeVariableName(prefix);
  builder.writeDeclaration(type, name);
  return "&" + name;
}

std::optional<std::string> deviceVariable(Recorder& recorder, uint64_t device) {
  if (device == 0) return "NULL";
  if (const auto record = recorder.findDevice(device)) return record->name;
  zeb::log::error("No device associated with the provided handle");
  return std::nullopt;
}

std::string profileVariable(Recorder& recorder, uint64_t profile) {
  const auto record = recorder.findProfile(profile);
  return record ? record->name : "NULL";
}

std::string errorConfigText(const Zeb_ErrorReportingConfig_t& config) {
  return ".errorConfig={" + enumToText("Zeb_ErrorReportingLevel_t", config.reportingLevel) + ", " +
         uintToText(config.storageLimit) + "}";
}

}  // namespace zeb::record
