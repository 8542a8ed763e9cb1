#include "record/profile.h"

#include <string>

#include "ZebScribe.h"
#include "emit/statement_builder.h"
#include "log/logger.h"
#include "record/backend.h"
#include "record/family_common.h"
#include "record/profile_config.h"

namespace zeb::record {
namespace {

std::string eventIdText(ZebProfile_EventId_t eventId) {
  return "(ZebProfile_EventId_t)" + uint64ToText(eventId);
}

const char* const kEventDataComment =
    "// The event data will not be used in any way, any usage must be inserted manually if "
    "desired.";

// Both event-data queries: the written program receives the data but does nothing with it.
Zeb_ErrorHandle_t recordEventDataQuery(Recorder& recorder, const char* member,
                                       ZebProfile_EventId_t eventId, const void* eventData,
                                       const char* type, const char* prefix) {
  StatementBuilder builder;
  if (eventData != nullptr) builder.writeLine(kEventDataComment);
  const std::string data = declareOutput(recorder, builder, eventData, type, prefix);
  builder.writeApiCall(member, eventIdText(eventId), data);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_PROFILE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t recordFree(Recorder& recorder, const ScribeProfile& profile) {
  StatementBuilder builder;
  builder.writeApiCall("profileFree", profile.name);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_PROFILE_ERROR_GENERAL);
}

}  // namespace

Zeb_ErrorHandle_t profileCreate(Recorder& recorder, ScribeProfile& profile, uint64_t backend,
                                ZebProfile_Level_t level) {
  const auto backendName = backendVariable(recorder, backend);
  if (!backendName) return ZEB_BACKEND_ERROR_INVALID_HANDLE;
  StatementBuilder builder;
  builder.writeDeclaration("Zeb_ProfileHandle_t", profile.name);
  TextBuffer& levelText = builder.scratch();
  appendEnum(levelText, "ZebProfile_Level_t", level);
  builder.writeApiCall("profileCreate", *backendName, levelText, AddressPiece{profile.name});
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_PROFILE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t profileSetConfig(Recorder& recorder, ScribeProfile& profile,
                                   const ZebProfile_Config_t** config) {
  StatementBuilder builder;
  TextBuffer& elements = builder.scratch();
  for (; config != nullptr && *config != nullptr; ++config) {
    if (auto result = serializeProfileConfig(recorder, profile, **config, elements, builder)) {
      return result;
    }
    builder.writeBlankLine();
  }
  // Without any written configuration the call passes no array at all.
  std::string_view array = "NULL";
  if (!elements.empty()) {
    const TextBuffer& name = composeNumberedName(builder, profile.name, "config",
                                                 profile.wordCounters[ProfileWord::config]);
    writeConfigArray(builder, "const ZebProfile_Config_t*", name, elements);
    array = name;
  }
  builder.writeApiCall("profileSetConfig", profile.name, array);
  return writeBlock(recorder, builder, ZEB_SUCCESS, ZEB_PROFILE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t profileGetEvents(Recorder& recorder, ScribeProfile& profile,
                                   const ZebProfile_EventId_t** profileEventIds,
                                   uint32_t* numEvents) {
  StatementBuilder builder;
  const std::string ids = declareOutput(recorder, builder, profileEventIds,
                                        "const ZebProfile_EventId_t*", "profileEventIds");
  const std::string count = declareOutput(recorder, builder, numEvents, "uint32_t", "numEvents");
  builder.writeApiCall("profileGetEvents", profile.name, ids, count);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_PROFILE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t profileGetSubEvents(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      const ZebProfile_EventId_t** subEventIds,
                                      uint32_t* numSubEvents) {
  StatementBuilder builder;
  const std::string ids = declareOutput(recorder, builder, subEventIds,
                                        "const ZebProfile_EventId_t*", "subEventIds");
  const std::string count =
      declareOutput(recorder, builder, numSubEvents, "uint32_t", "numSubEvents");
  builder.writeApiCall("profileGetSubEvents", eventIdText(eventId), ids, count);
  return writeBlock(recorder, builder, ZEB_SCRIBE_QUERY_RECORDED, ZEB_PROFILE_ERROR_GENERAL);
}

Zeb_ErrorHandle_t profileGetEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      ZebProfile_EventData_t* eventData) {
  return recordEventDataQuery(recorder, "profileGetEventData", eventId, eventData,
                              "ZebProfile_EventData_t", "eventData");
}

Zeb_ErrorHandle_t profileGetExtendedEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                              ZebProfile_ExtendedEventData_t* eventData) {
  return recordEventDataQuery(recorder, "profileGetExtendedEventData", eventId, eventData,
                              "ZebProfile_ExtendedEventData_t", "extendedEventData");
}

Zeb_ErrorHandle_t profileFree(Recorder& recorder, uint64_t profile) {
  const auto record = recorder.findProfile(profile);
  if (!record) {
    zeb::log::error("No profile associated with the provided handle.");
    return ZEB_PROFILE_ERROR_INVALID_HANDLE;
  }
  const Zeb_ErrorHandle_t code = recordFree(recorder, *record);
  if (!recorder.eraseProfile(profile)) return ZEB_COMMON_ERROR_MEM_ALLOC;
  return code;
}

}  // namespace zeb::record
