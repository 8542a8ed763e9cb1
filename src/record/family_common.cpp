#include "record/family_common.h"

#include "log/logger.h"

namespace zeb::record {

Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             Zeb_ErrorHandle_t recorded, Zeb_ErrorHandle_t notWritten) {
  return recorder.writeModel(builder.takeText(true)) ? recorded : notWritten;
}

bool dropCustomConfigWithoutBackendId(const Recorder& recorder) {
  if (recorder.backendIdentifier() != 0) return false;
  zeb::log::warning(
      "Custom config provided without specifying backend ID, provide a backend ID via "
      "ZebScribe_Initialize() to record custom configs.");
  return true;
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

std::string errorConfigText(const Zeb_ErrorReportingConfig_t& config) {
  return ".errorConfig={" + enumToText("Zeb_ErrorReportingLevel_t", config.reportingLevel) + ", " +
         uintToText(config.storageLimit) + "}";
}

}  // namespace zeb::record
