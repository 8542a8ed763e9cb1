// Profile slots of the echo backend. Every profile reports the same two
// events; each event has one sub-event and the same data.
#include <iterator>

#include "echo_slots.h"
#include "echo_state.h"

namespace zeb::echo {
namespace {

const ZebProfile_EventId_t kEvents[] = {1, 2};
const ZebProfile_EventId_t kSubEvents[] = {3};
constexpr uint32_t kEventUnitMicroseconds = 1;
constexpr const char* kEventIdentifier = "echo";

Zeb_ErrorHandle_t profileCreate(Zeb_BackendHandle_t backend, ZebProfile_Level_t level,
                                Zeb_ProfileHandle_t* profile) {
  Call call("profileCreate");
  call.arg("backend").handle(HandleKind::Backend, backend);
  call.arg("level").number(level);
  call.create(HandleKind::Profile, profile);
  return call.finish();
}

Zeb_ErrorHandle_t profileSetConfig(Zeb_ProfileHandle_t profile,
                                   const ZebProfile_Config_t** config) {
  Call call("profileSetConfig");
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.arg("config").profileConfigs(config);
  return call.finish();
}

Zeb_ErrorHandle_t profileGetEvents(Zeb_ProfileHandle_t profile,
                                   const ZebProfile_EventId_t** profileEventIds,
                                   uint32_t* numEvents) {
  Call call("profileGetEvents");
  call.arg("profile").handle(HandleKind::Profile, profile);
  call.arg("events").output(profileEventIds);
  call.arg("numEvents").output(numEvents);
  call.fill(profileEventIds, kEvents);
  call.fill(numEvents, static_cast<uint32_t>(std::size(kEvents)));
  return call.finish();
}

Zeb_ErrorHandle_t profileGetSubEvents(ZebProfile_EventId_t eventId,
                                      const ZebProfile_EventId_t** subEventIds,
                                      uint32_t* numSubEvents) {
  Call call("profileGetSubEvents");
  call.arg("event").number(eventId);
  call.arg("subEvents").output(subEventIds);
  call.arg("numSubEvents").output(numSubEvents);
  call.fill(subEventIds, kSubEvents);
  call.fill(numSubEvents, static_cast<uint32_t>(std::size(kSubEvents)));
  return call.finish();
}

Zeb_ErrorHandle_t profileGetEventData(ZebProfile_EventId_t eventId,
                                      ZebProfile_EventData_t* eventData) {
  Call call("profileGetEventData");
  call.arg("event").number(eventId);
  call.arg("data").output(eventData);
  call.fill(eventData, ZebProfile_EventData_t{1, eventId * 10, kEventUnitMicroseconds, kEventIdentifier});
  return call.finish();
}

Zeb_ErrorHandle_t profileGetExtendedEventData(ZebProfile_EventId_t eventId,
                                              ZebProfile_ExtendedEventData_t* eventData) {
  Call call("profileGetExtendedEventData");
  call.arg("event").number(eventId);
  call.arg("data").output(eventData);
  ZebProfile_ExtendedEventData_t extended{};
  extended.version = ZEB_PROFILE_EXTENDED_EVENT_DATA_VERSION_1;
  extended.v1 = {1, static_cast<double>(eventId * 10), eventId, kEventUnitMicroseconds, kEventIdentifier};
  call.fill(eventData, extended);
  return call.finish();
}

Zeb_ErrorHandle_t profileFree(Zeb_ProfileHandle_t profile) {
  Call call("profileFree");
  call.arg("profile").handle(HandleKind::Profile, profile);
  return call.finish();
}

}  // namespace

void fillProfileSlots(FunctionTable& table) {
  table.profileCreate = profileCreate;
  table.profileSetConfig = profileSetConfig;
  table.profileGetEvents = profileGetEvents;
  table.profileGetSubEvents = profileGetSubEvents;
  table.profileGetEventData = profileGetEventData;
  table.profileGetExtendedEventData = profileGetExtendedEventData;
  table.profileFree = profileFree;
}

}  // namespace zeb::echo
