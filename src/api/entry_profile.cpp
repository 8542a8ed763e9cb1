#include "api/client_handle.h"
#include "api/entry_points.h"
#include "api/guards.h"
#include "record/profile.h"

namespace zeb::entry {

Zeb_ErrorHandle_t profileCreate(Recorder& recorder, Zeb_BackendHandle_t backend,
                                ZebProfile_Level_t level, Zeb_ProfileHandle_t* profile) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  if (auto refusal = guard::refuseNull(profile, "Provided profile handle pointer is NULL",
                                       ZEB_COMMON_ERROR_INVALID_ARGUMENT))
    return *refusal;
  *profile = nullptr;
  auto created = guard::createProfile(recorder);
  if (!created) return created.refusal;
  return guard::deliver(
      record::profileCreate(recorder, *created.record, handleValue(backend), level), created.handle,
      profile);
}

Zeb_ErrorHandle_t profileSetConfig(Recorder& recorder, Zeb_ProfileHandle_t profile,
                                   const ZebProfile_Config_t** config) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveProfile(recorder, handleValue(profile));
  if (!resolved) return resolved.refusal;
  return record::profileSetConfig(recorder, *resolved.record, config);
}

Zeb_ErrorHandle_t profileGetEvents(Recorder& recorder, Zeb_ProfileHandle_t profile,
                                   const ZebProfile_EventId_t** profileEventIds,
                                   uint32_t* numEvents) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  auto resolved = guard::resolveProfile(recorder, handleValue(profile));
  if (!resolved) return resolved.refusal;
  return record::profileGetEvents(recorder, *resolved.record, profileEventIds, numEvents);
}

Zeb_ErrorHandle_t profileGetSubEvents(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      const ZebProfile_EventId_t** subEventIds,
                                      uint32_t* numSubEvents) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::profileGetSubEvents(recorder, eventId, subEventIds, numSubEvents);
}

Zeb_ErrorHandle_t profileGetEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                      ZebProfile_EventData_t* eventData) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::profileGetEventData(recorder, eventId, eventData);
}

Zeb_ErrorHandle_t profileGetExtendedEventData(Recorder& recorder, ZebProfile_EventId_t eventId,
                                              ZebProfile_ExtendedEventData_t* eventData) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::profileGetExtendedEventData(recorder, eventId, eventData);
}

Zeb_ErrorHandle_t profileFree(Recorder& recorder, Zeb_ProfileHandle_t profile) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  // The recording looks the profile up itself, since it also releases it.
  if (auto refusal = guard::refuseZero(handleValue(profile), guard::kProfile)) return *refusal;
  return record::profileFree(recorder, handleValue(profile));
}

Zeb_ErrorHandle_t propertyHasCapability(Recorder& recorder, ZebProperty_Key_t key) {
  if (Zeb_ErrorHandle_t code = recorder.start()) return code;
  return record::propertyHasCapability(recorder, key);
}

}  // namespace zeb::entry
