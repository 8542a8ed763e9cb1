#include "record/family_common.h"

#include "log/logger.h"

namespace zeb::record {

Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             const BlockCodes& codes) {
  builder.endBlock();
  switch (recorder.writeBlock(builder.text(), builder.blobs())) {
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

Zeb_ErrorHandle_t handleCustomConfig(const Recorder& recorder, const char* unknownBackend,
                                     Zeb_ErrorHandle_t refused) {
  if (dropCustomConfigWithoutBackendId(recorder)) return ZEB_SUCCESS;
  const uint32_t id = recorder.backendIdentifier();
  for (const auto& refusal : kCustomConfigRefusals) {
    if (refusal.backendId == id) {
      zeb::log::error("%s", refusal.message);
      return refused;
    }
  }
  zeb::log::error("%s: %ld", unknownBackend, static_cast<long>(id));
  return refused;
}

void writeConfigEntry(StatementBuilder& builder, std::string_view type, std::string_view name,
                      std::string_view option, std::string_view value, TextBuffer& elements) {
  writeConfigEntryWith(builder, type, name, elements,
                       [&](TextBuffer& fields) { appendAll(fields, option, ", ", value); });
}

void writeConfigArray(StatementBuilder& builder, std::string_view type, std::string_view name,
                      TextBuffer& elements) {
  elements += "NULL";
  builder.writeJoinedArray(type, name, elements);
}

TextBuffer& composeName(StatementBuilder& builder, std::string_view owner, std::string_view word) {
  TextBuffer& name = builder.scratch();
  appendAll(name, owner, "_", word);
  return name;
}

TextBuffer& composeNumberedName(StatementBuilder& builder, std::string_view owner,
                                std::string_view word, uint32_t& counter) {
  TextBuffer& name = builder.scratch();
  appendAll(name, owner, "_", word, "_", counter++);
  return name;
}

std::string declareOutput(Recorder& recorder, StatementBuilder& builder, const void* output,
                          std::string_view type, std::string_view prefix) {
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

std::string_view profileVariable(Recorder& recorder, uint64_t profile) {
  if (profile == 0) return "NULL";
  const auto record = recorder.findProfile(profile);
  return record ? std::string_view(record->name) : "NULL";
}

}  // namespace zeb::record
